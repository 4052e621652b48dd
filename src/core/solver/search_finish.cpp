// The end of a search: cancellation, sorting, de-duplication, numbering and the result message.
#include <algorithm>

#include "host/manual_reset_event.h"
#include "host/program_texts.h"
#include "model/cio_equip.h"
#include "model/cio_modul.h"
#include "model/cio_module_selector.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "solver/exact_step.h"

namespace pinsum {
namespace {

std::string WithPercent(TextId id, long long percent) {
    return FormatText(id, {percent}) + "%";
}

// What sorting compares of a solution, worked out once. Comparing prices a solution, and the
// solutions a comparison priced get their price stored at the end; nothing else changes them.
struct SortKey {
    CioSolution* solution;
    double price;
    bool complete;
    bool priced = false;
};

// Where the incoming solution goes among the sorted ones: complete solutions before the first
// dearer or incomplete one, incomplete ones last.
size_t InsertionPoint(std::vector<SortKey>& sorted, SortKey& incoming) {
    if (!incoming.complete)
        return sorted.size();
    incoming.priced = true;
    for (size_t i = 0; i < sorted.size(); ++i) {
        SortKey& there = sorted[i];
        there.priced = true;
        if (there.price > incoming.price || (there.price <= incoming.price && !there.complete))
            return i;
    }
    return sorted.size();
}

// The module counts of a solution folded into 64 bits. A solution that uses every module of
// another as often has all of its bits, so a missing bit rules the pair out before IsSameAs.
uint64_t ModuleBits(const CioType* entry) {
    const auto* solution = dynamic_cast<const CioSolution*>(entry);
    uint64_t bits = 0;
    if (solution == nullptr)
        return bits;
    for (const auto& [module, count] : solution->moduleCounts) {
        uint64_t h = (reinterpret_cast<uintptr_t>(module) + count) * 0x9E3779B97F4A7C15ull;
        bits |= uint64_t{1} << (h >> 58);
    }
    return bits;
}

// The devices of a solution, each with its chosen modules in position order, sorted: two
// solutions with equal layouts are the same configuration whatever order they were built in.
std::vector<std::vector<const CioType*>> Layout(const CioSolution& solution) {
    std::vector<std::vector<const CioType*>> layout;
    for (size_t i = 0; i < solution.Count(); ++i) {
        const CioEquip* equip = solution.Equipment(i);
        if (equip == nullptr)
            continue;
        std::vector<const CioType*> row{equip->Device()};
        if (const CioModuleSelector* chosen = equip->Chosen())
            row.insert(row.end(), chosen->modules.begin(), chosen->modules.end());
        layout.push_back(std::move(row));
    }
    std::sort(layout.begin(), layout.end());
    return layout;
}

} // namespace

void CioProject::PlaceExact(ExactResult& exact) {
    if (exact.outcome == ExactOutcome::Infeasible)
        ShowMessage(ProgramText(TextId::NoCompleteSolution), false);
    else if (exact.outcome == ExactOutcome::TimedOut)
        ShowMessage(ProgramText(TextId::ExactTimeLimit), true);
    else if (exact.outcome == ExactOutcome::Failed)
        ShowMessage(ProgramText(TextId::ExactFailed), false);
    if (exact.solution == nullptr)
        return;
    const auto layout = Layout(*exact.solution);
    std::erase_if(children, [&](const std::unique_ptr<CioType>& entry) {
        const auto* solution = dynamic_cast<const CioSolution*>(entry.get());
        return solution != nullptr && Layout(*solution) == layout;
    });
    children.insert(children.begin(), std::move(exact.solution));
}

void CioProject::FinishSearch(ExactResult& exact) {
    // A search stopped after it had collected everything keeps its result: only an interrupted
    // expansion falls back to the solutions finished so far.
    if (StopRequested() && m_interrupted) {
        // Handing back a large working list takes long; it is set aside for the next search to
        // free, so that a cancel ends the search at once.
        m_abandoned = std::move(children);
        children.clear();
        for (auto& solution : finished)
            children.push_back(std::move(solution));
        finished.clear();
        if (children.empty() && exact.solution == nullptr) {
            effectiveRequest.clear();
            candidateDevices.clear();
            stopEvent = nullptr;
            thread = nullptr;
            return;
        }
    }
    if (children.size() >= 2)
        SortSolutions();
    if (children.size() >= 3)
        RemoveDuplicates();
    PlaceExact(exact);
    for (size_t i = 0; i < children.size(); ++i)
        if (CioSolution* solution = Solution(i))
            solution->number = static_cast<int32_t>(i + 1);
    ShowMessage(FormatText(TextId::SolutionCount, {children.size()}), true);
}

void CioProject::SortSolutions() {
    std::vector<std::unique_ptr<CioType>> pending = std::move(children);
    children.clear();
    std::vector<SortKey> sorted;
    const auto total = static_cast<long long>(pending.size());
    for (size_t taken = 0; taken < pending.size(); ++taken) {
        auto entry = std::move(pending[taken]);
        auto* solution = dynamic_cast<CioSolution*>(entry.get());
        if (solution == nullptr)
            continue;
        SortKey key{solution, solution->TotalPrice(), solution->IsComplete() != 0};
        size_t at = 0;
        if (!children.empty()) {
            const auto left = total - static_cast<long long>(taken) - 1;
            ReportProgress(WithPercent(TextId::SortingProgress, (total - left) * 100 / total));
            at = InsertionPoint(sorted, key);
        }
        children.insert(children.begin() + static_cast<long>(at), std::move(entry));
        sorted.insert(sorted.begin() + static_cast<long>(at), key);
    }
    for (const SortKey& key : sorted)
        if (key.priced)
            key.solution->GetPrice();
}

void CioProject::RemoveDuplicates() {
    std::vector<uint64_t> bits;
    for (const auto& entry : children)
        bits.push_back(ModuleBits(entry.get()));
    const long long last = static_cast<long long>(children.size()) - 1;
    const long long m = std::max(last, 1LL);
    for (long long i = last; i >= 0; --i) {
        const auto* solution = Solution(static_cast<size_t>(i));
        if (solution == nullptr)
            continue;
        ReportProgress(WithPercent(TextId::DeduplicationProgress, (m - i) * 100 / m));
        // A solution with equipment can only repeat one whose module bits it has.
        const uint64_t mine = solution->Count() > 0 ? bits[static_cast<size_t>(i)] : ~uint64_t{0};
        for (long long j = 0; j < i; ++j) {
            if ((bits[static_cast<size_t>(j)] & ~mine) != 0)
                continue;
            if (solution->IsSameAs(children[static_cast<size_t>(j)].get())) {
                children.erase(children.begin() + i);
                bits.erase(bits.begin() + i);
                break;
            }
        }
    }
}

} // namespace pinsum
