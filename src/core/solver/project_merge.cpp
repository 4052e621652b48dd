// One extension step: candidate equipment for a solution, ranked and merged into the working list.
#include <algorithm>

#include "host/manual_reset_event.h"
#include "model/cio_equip.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "solver/configuration_source.h"
#include "solver/search_level.h"

namespace pinsum {
namespace {

using Candidates = std::vector<std::unique_ptr<CioEquip>>;

uint16_t AsPointCount(int32_t count) {
    return static_cast<uint16_t>(std::clamp(count, 0, 0xFFFF));
}

} // namespace

std::unique_ptr<CioEquip> CioProject::MakeEquipment(CioSolution* solution, CioPlc* device) {
    if (solution == nullptr || device == nullptr || solution->remaining.empty() ||
        device->lines.entries.empty())
        return nullptr;
    const auto shared =
        std::find_if(device->lines.entries.begin(), device->lines.entries.end(),
                     [solution](CioType* line) { return solution->lineSet.Contains(line); });
    if (shared == device->lines.entries.end())
        return nullptr;
    OrderedMap<CioType*, uint16_t> remaining;
    int32_t remainingTotal = 0;
    for (const auto& item : solution->remaining) {
        remaining[item->Kind()] = AsPointCount(item->count);
        remainingTotal += AsPointCount(item->count);
    }
    auto equip = std::make_unique<CioEquip>();
    ConfigurationCache ownCache(stopEvent);
    ConfigurationSource& source = configurations != nullptr ? *configurations : ownCache;
    if (!source.Configure(*equip, device, remaining, remainingTotal, solution->Count() == 0) ||
        equip->selectors.empty())
        return nullptr;
    return equip;
}

int CioProject::MergeCandidates(Candidates& candidates, CioSolution* solution) {
    double largestPrice = 0;
    int32_t largestUsed = 0;
    for (const auto& equip : candidates)
        if (equip != nullptr) {
            largestPrice = std::max(largestPrice, equip->price);
            largestUsed = std::max(largestUsed, equip->GetIoCount(true));
        }

    Candidates ranked;
    for (size_t i = candidates.size(); i-- > 0;) {
        auto& equip = candidates[i];
        if (equip == nullptr) {
            candidates.erase(candidates.begin() + static_cast<long>(i));
            continue;
        }
        if (equip->CompletesRequest())
            continue;
        equip->RankAgainst(nullptr, largestUsed, requestedTotal, largestPrice);
        const auto before = std::find_if(ranked.begin(), ranked.end(), [&](const auto& other) {
            return equip->RankAgainst(other.get(), largestUsed, requestedTotal, largestPrice);
        });
        ranked.insert(before, std::move(equip));
        candidates.erase(candidates.begin() + static_cast<long>(i));
    }
    for (size_t i = candidates.size(); i-- > 0;)
        ranked.insert(ranked.begin(), std::move(candidates[i]));
    candidates.assign(std::make_move_iterator(ranked.rbegin()),
                      std::make_move_iterator(ranked.rend()));

    const auto finishedCount =
        std::count_if(children.begin(), children.end(), [](const auto& entry) {
            const auto* working = dynamic_cast<const CioSolution*>(entry.get());
            return working != nullptr && working->IsFinished();
        });
    const auto length = static_cast<long>(children.size());
    const long unfinished = length > finishedCount ? length - finishedCount - 1 : 0;
    long slots = unfinished < SearchLevel() ? SearchLevel() - unfinished : 0;

    if (candidates.empty()) {
        solution->canExtend = 0;
        return 1;
    }
    auto base = std::make_unique<CioSolution>();
    base->CopyFrom(solution);

    bool attached = false;
    for (size_t i = candidates.size(); i-- > 0;) {
        if (stopEvent != nullptr && stopEvent->IsSet())
            break;
        if (candidates[i] == nullptr) {
            candidates.erase(candidates.begin() + static_cast<long>(i));
            continue;
        }
        const bool completes = candidates[i]->CompletesRequest() != 0;
        if (!completes && slots < 0)
            continue;
        if (!attached || !completes)
            --slots;
        std::unique_ptr<CioSolution> copy;
        CioSolution* target = solution;
        if (attached) {
            copy = std::make_unique<CioSolution>();
            copy->CopyFrom(base.get());
            target = copy.get();
        }
        if (AttachEquipment(candidates[i], target)) {
            if (copy != nullptr)
                children.push_back(std::move(copy));
            attached = true;
        }
        candidates.erase(candidates.begin() + static_cast<long>(i));
    }
    return 1;
}

int CioProject::AttachEquipment(std::unique_ptr<CioEquip>& equipment, CioSolution* target) {
    if (equipment == nullptr || target == nullptr || equipment->selectors.empty())
        return 0;
    auto kept = std::move(equipment->selectors);
    equipment->selectors.clear();
    for (size_t k = kept.size(); k-- > 1;) {
        auto fork = target->ForkWith(equipment.get(), std::move(kept[k]));
        if (fork == nullptr)
            continue;
        fork->number = static_cast<int32_t>(children.size());
        children.push_back(std::move(fork));
    }
    const CioModuleSelector& chosen = *kept[0];
    equipment->selectors.push_back(std::move(kept[0]));
    const CioPlc* device = equipment->Device();
    target->Append(std::move(equipment));
    target->ApplySelector(chosen);
    target->AddLines(device);
    return 1;
}

void CioProject::RerankWorking() {
    std::vector<std::unique_ptr<CioType>> previous = std::move(children);
    children.clear();
    double largestPrice = 0;
    int32_t largestUsed = 0;
    for (const auto& entry : previous)
        if (auto* solution = dynamic_cast<CioSolution*>(entry.get())) {
            largestPrice = std::max(largestPrice, solution->GetPrice());
            largestUsed = std::max(largestUsed, solution->GetIoCount(true));
        }
    for (auto& entry : previous) {
        auto* solution = dynamic_cast<CioSolution*>(entry.get());
        if (solution == nullptr)
            continue;
        solution->rankScore = 0;
        const double price = solution->price;
        const int32_t used = solution->GetIoCount(true);
        if (price <= largestPrice && largestUsed >= used && requestedTotal >= used && price != 0 &&
            used != 0 && requestedTotal != 0 && largestPrice != 0 && largestUsed != 0) {
            const double cheap = 1 - price / largestPrice;
            const double share = static_cast<double>(used) / static_cast<double>(largestUsed);
            const double fill = static_cast<double>(used) / static_cast<double>(requestedTotal);
            solution->rankScore = cheap * cheap + share * share + fill * fill;
            const auto before =
                std::find_if(children.begin(), children.end(), [&](const auto& other) {
                    return static_cast<const CioSolution*>(other.get())->rankScore >=
                           solution->rankScore;
                });
            children.insert(before, std::move(entry));
        } else {
            children.push_back(std::move(entry));
        }
    }
}

} // namespace pinsum
