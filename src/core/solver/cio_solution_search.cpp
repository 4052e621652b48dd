// The search's operations on solutions: creation, forking, limits, totals and compaction.
#include <algorithm>

#include "model/cio_equip.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_solution.h"

namespace pinsum {
namespace {

// A solution holds at most this many devices on the controller network, and each controller on
// the peripheral bus makes room for this many peripherals on it.
constexpr int kMaxVornetDevices = 30;
constexpr int kKalbusPeripheralsPerController = 64;

} // namespace

std::unique_ptr<CioSolution> CioSolution::ForController(CioPlc* controller,
                                                        const std::vector<CioNode*>& request) {
    auto solution = std::make_unique<CioSolution>();
    solution->controller.object = controller;
    for (const CioNode* item : request) {
        auto copy = std::make_unique<CioNode>();
        copy->CopyFrom(item);
        solution->remaining.push_back(std::move(copy));
    }
    solution->AddLines(controller);
    return solution;
}

void CioSolution::AddLines(const CioPlc* device) {
    if (device == nullptr)
        return;
    for (CioType* line : device->lines.entries)
        lineSet[line] = 0;
}

std::unique_ptr<CioSolution>
CioSolution::ForkWith(const CioEquip* equipment, std::unique_ptr<CioModuleSelector> configuration) {
    if (equipment == nullptr || configuration == nullptr)
        return nullptr;
    auto equip = std::make_unique<CioEquip>();
    equip->CopyFrom(equipment);
    equip->selectors.clear();
    equip->id = NewIdentity();
    auto fork = std::make_unique<CioSolution>();
    fork->CopyFrom(this);
    fork->id = NewIdentity();
    const CioModuleSelector& chosen = *configuration;
    equip->selectors.push_back(std::move(configuration));
    const CioPlc* device = equip->Device();
    fork->Append(std::move(equip));
    fork->ApplySelector(chosen);
    fork->AddLines(device);
    return fork;
}

void CioSolution::ApplySelector(const CioModuleSelector& configuration) {
    for (const auto& item : remaining)
        if (const uint16_t* left = configuration.remaining.Find(item->Kind()))
            item->count = *left;
}

int CioSolution::IsComplete() const {
    for (const auto& item : remaining)
        if (item->count > 0)
            return 0;
    return 1;
}

int CioSolution::IsFinished() const {
    if (CanAccept(nullptr) && canExtend == 1)
        return IsComplete();
    return 1;
}

int CioSolution::CanAccept(const CioPlc* device) const {
    if (children.size() < static_cast<size_t>(kMaxVornetDevices))
        return 1;
    int kalbusRoom = 0;
    int onVornet = 0;
    for (size_t i = 0; i < children.size(); ++i) {
        const CioEquip* equip = Equipment(i);
        const CioPlc* placed = equip != nullptr ? equip->Device() : nullptr;
        if (placed == nullptr)
            continue;
        if (placed->HasKalbus())
            kalbusRoom += placed->deviceType == 0 ? kKalbusPeripheralsPerController : -1;
        if (placed->HasVornet())
            ++onVornet;
    }
    if (device != nullptr) {
        if (device->deviceType != 0 && device->HasKalbus())
            return kalbusRoom > 0 ? 1 : 0;
        return onVornet < kMaxVornetDevices ? 1 : 0;
    }
    return onVornet >= kMaxVornetDevices && kalbusRoom <= 0 ? 0 : 1;
}

namespace {

bool LoadFits(const PointMap& load, const PointMap& free) {
    if (load.Empty())
        return false;
    for (const auto& [kind, points] : load) {
        const int32_t* room = free.Find(kind);
        if (room == nullptr || *room < points)
            return false;
    }
    return true;
}

bool SharesLine(const CioPlc* device, const std::vector<const CioType*>& lines) {
    return std::any_of(device->lines.entries.begin(), device->lines.entries.end(),
                       [&](const CioType* line) {
                           return std::find(lines.begin(), lines.end(), line) != lines.end();
                       });
}

// Whether every device but the one at `without` shares a line with the lines reachable from the
// controller's equipment through the others: removing that one must not cut a device off.
bool StaysWired(const CioSolution& solution, size_t without) {
    std::vector<const CioPlc*> pending;
    for (size_t j = 1; j < solution.Count(); ++j)
        if (j != without && solution.Equipment(j) != nullptr &&
            solution.Equipment(j)->Device() != nullptr)
            pending.push_back(solution.Equipment(j)->Device());
    const CioEquip* root = solution.Equipment(0);
    if (root == nullptr || root->Device() == nullptr)
        return true;
    std::vector<const CioType*> reached(root->Device()->lines.entries.begin(),
                                        root->Device()->lines.entries.end());
    for (bool grew = true; grew && !pending.empty();) {
        const auto wired =
            std::stable_partition(pending.begin(), pending.end(),
                                  [&](const CioPlc* d) { return !SharesLine(d, reached); });
        grew = wired != pending.end();
        for (auto it = wired; it != pending.end(); ++it)
            reached.insert(reached.end(), (*it)->lines.entries.begin(), (*it)->lines.entries.end());
        pending.erase(wired, pending.end());
    }
    return pending.empty();
}

} // namespace

void CioSolution::Compact() {
    if (children.size() > 1) {
        moduleCounts.Clear();
        for (size_t i = 1; i < children.size();) {
            PointMap free;
            PointMap load;
            for (size_t j = 1; j < children.size(); ++j)
                if (j != i && Equipment(j) != nullptr && Equipment(j)->Chosen() != nullptr)
                    Equipment(j)->Chosen()->AddCapacity(free, true);
            if (Equipment(i) != nullptr && Equipment(i)->Chosen() != nullptr)
                Equipment(i)->Chosen()->AddCapacity(load, false);
            if (!LoadFits(load, free) || !StaysWired(*this, i)) {
                ++i;
                continue;
            }
            for (size_t j = 0; j < children.size(); ++j)
                if (j != i && Equipment(j) != nullptr && Equipment(j)->Chosen() != nullptr)
                    Equipment(j)->Chosen()->Absorb(load);
            children.erase(children.begin() + static_cast<long>(i));
        }
    }
    for (size_t i = 0; i < children.size(); ++i) {
        CioEquip* equip = Equipment(i);
        CioModuleSelector* chosen = equip != nullptr ? equip->Chosen() : nullptr;
        if (chosen == nullptr)
            continue;
        double modulesPrice = 0.0;
        if (chosen->MarkIdlePositions(modulesPrice))
            equip->price = modulesPrice +
                           (equip->Device() != nullptr ? equip->Device()->listPrice.Numeric() : 0);
        chosen->CountModules(moduleCounts);
    }
}

} // namespace pinsum
