// One extension step: candidate equipment for a solution, ranked and merged into the working list.
#include <algorithm>
#include <map>

#include "model/cio_equip.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "solver/configuration_source.h"
#include "solver/device_configurations.h"
#include "solver/search_level.h"

namespace pinsum {
namespace {

using Candidates = std::vector<std::unique_ptr<CioEquip>>;

uint16_t AsPointCount(int32_t count) {
    return static_cast<uint16_t>(std::clamp(count, 0, 0xFFFF));
}

// Long loops over the working list poll the stop event this often.
constexpr size_t kPollEvery = 1024;

// Roughly the memory a working solution takes, from counts alone so that every machine gets the
// same figure.
constexpr size_t kSolutionBytes = 300;
constexpr size_t kItemBytes = 200;
constexpr size_t kEquipmentBytes = 450;
constexpr size_t kPositionBytes = 110;

// A device cannot keep more equally good configurations than their forks would need to fill the
// working list's room, so that the search runs out of room before it needs the rest.
static_assert(DeviceConfigurations::kMaxKept *
                  (kSolutionBytes + kItemBytes + kEquipmentBytes + kPositionBytes) >
              CioProject::kMaxWorkingBytes);

size_t EstimatedBytes(const CioSolution& solution) {
    size_t bytes = kSolutionBytes + kItemBytes * solution.remaining.size();
    for (size_t i = 0; i < solution.Count(); ++i)
        if (const CioEquip* equip = solution.Equipment(i)) {
            bytes += kEquipmentBytes;
            for (const auto& selector : equip->selectors)
                if (selector != nullptr)
                    bytes += kPositionBytes * selector->modules.size();
        }
    return bytes;
}

// The working list's new order: each solution with a rank score goes before the first one whose
// score is at least its own, the others to the end. The scored solutions stay in ascending order
// of score, so a search tree finds that first one; the list itself is linked, so that neither
// step takes longer as the list grows.
class RankedList {
public:
    explicit RankedList(size_t count) : m_before(count, kNone), m_after(count, kNone) {}

    void Append(size_t i) { Link(i, kNone); }
    void Insert(size_t i, double score) {
        const auto first = m_scored.lower_bound({score, 0});
        Link(i, first != m_scored.end() ? first->second : kNone);
        // Among equal scores the one inserted last comes first.
        m_scored.emplace(std::pair{score, m_before.size() - i}, i);
    }
    std::vector<size_t> Order() const {
        std::vector<size_t> order;
        for (size_t i = m_head; i != kNone; i = m_after[i])
            order.push_back(i);
        return order;
    }

private:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    // Puts i before next, or last when next is kNone.
    void Link(size_t i, size_t next) {
        const size_t previous = next != kNone ? m_before[next] : m_tail;
        m_before[i] = previous;
        m_after[i] = next;
        (previous != kNone ? m_after[previous] : m_head) = i;
        (next != kNone ? m_before[next] : m_tail) = i;
    }

    std::vector<size_t> m_before;
    std::vector<size_t> m_after;
    size_t m_head = kNone;
    size_t m_tail = kNone;
    std::map<std::pair<double, size_t>, size_t> m_scored;
};

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
    // Past its room the working list counts as memory that could not be had, which ends the
    // search as cancelled.
    if (OutOfRoom()) {
        candidates.clear();
        return 1;
    }
    auto base = std::make_unique<CioSolution>();
    base->CopyFrom(solution);

    bool attached = false;
    for (size_t i = candidates.size(); i-- > 0;) {
        if (StopRequested())
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
        if (Interrupted(k) || OutOfRoom())
            break;
        auto fork = target->ForkWith(equipment.get(), std::move(kept[k]));
        if (fork == nullptr)
            continue;
        m_workingBytes += EstimatedBytes(*fork);
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

bool CioProject::OutOfRoom() {
    m_outOfMemory = m_outOfMemory || m_workingBytes > maxWorkingBytes;
    return m_outOfMemory;
}

bool CioProject::Interrupted(size_t step) {
    if (!m_interrupted && step % kPollEvery == 0 && StopRequested())
        m_interrupted = true;
    return m_interrupted;
}

void CioProject::RerankWorking() {
    std::vector<std::unique_ptr<CioType>> previous = std::move(children);
    children.clear();
    std::vector<CioSolution*> solutions;
    double largestPrice = 0;
    int32_t largestUsed = 0;
    m_workingBytes = 0;
    for (const auto& entry : previous) {
        auto* solution = dynamic_cast<CioSolution*>(entry.get());
        solutions.push_back(solution);
        if (solution != nullptr && !Interrupted(solutions.size())) {
            largestPrice = std::max(largestPrice, solution->GetPrice());
            largestUsed = std::max(largestUsed, solution->GetIoCount(true));
            m_workingBytes += EstimatedBytes(*solution);
        }
    }
    RankedList ranked(previous.size());
    for (size_t i = 0; i < previous.size(); ++i) {
        CioSolution* solution = solutions[i];
        if (solution == nullptr)
            continue;
        // Cut short, the order no longer matters: the search ends as interrupted.
        if (Interrupted(i)) {
            ranked.Append(i);
            continue;
        }
        solution->rankScore = 0;
        const double price = solution->price;
        const int32_t used = solution->GetIoCount(true);
        if (price <= largestPrice && largestUsed >= used && requestedTotal >= used && price != 0 &&
            used != 0 && requestedTotal != 0 && largestPrice != 0 && largestUsed != 0) {
            const double cheap = 1 - price / largestPrice;
            const double share = static_cast<double>(used) / static_cast<double>(largestUsed);
            const double fill = static_cast<double>(used) / static_cast<double>(requestedTotal);
            solution->rankScore = cheap * cheap + share * share + fill * fill;
            ranked.Insert(i, solution->rankScore);
        } else {
            ranked.Append(i);
        }
    }
    for (const size_t i : ranked.Order())
        children.push_back(std::move(previous[i]));
}

} // namespace pinsum
