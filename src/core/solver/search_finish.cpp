// The end of a search: cancellation, sorting, de-duplication, numbering and the result message.
#include <algorithm>

#include "host/manual_reset_event.h"
#include "host/program_texts.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"

namespace pinsum {
namespace {

std::string WithPercent(TextId id, long long percent) {
    return FormatText(id, {percent}) + "%";
}

bool SortsBefore(CioSolution& earlier, CioSolution& incoming) {
    const bool complete = incoming.IsComplete() != 0;
    if (!complete)
        return false;
    const double there = earlier.GetPrice();
    const double here = incoming.GetPrice();
    return there > here || (there <= here && !earlier.IsComplete());
}

} // namespace

void CioProject::FinishSearch() {
    // A search stopped after it had collected everything keeps its result: only an interrupted
    // expansion falls back to the solutions finished so far.
    if (StopRequested() && m_interrupted) {
        children.clear();
        for (auto& solution : finished)
            children.push_back(std::move(solution));
        finished.clear();
        if (children.empty()) {
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
    for (size_t i = 0; i < children.size(); ++i)
        if (CioSolution* solution = Solution(i))
            solution->number = static_cast<int32_t>(i + 1);
    ShowMessage(FormatText(TextId::SolutionCount, {children.size()}), true);
}

void CioProject::SortSolutions() {
    std::vector<std::unique_ptr<CioType>> pending = std::move(children);
    children.clear();
    const auto total = static_cast<long long>(pending.size());
    for (size_t taken = 0; taken < pending.size(); ++taken) {
        auto entry = std::move(pending[taken]);
        auto* solution = dynamic_cast<CioSolution*>(entry.get());
        if (solution == nullptr)
            continue;
        if (children.empty()) {
            children.push_back(std::move(entry));
            continue;
        }
        const auto left = total - static_cast<long long>(taken) - 1;
        ReportProgress(WithPercent(TextId::SortingProgress, (total - left) * 100 / total));
        const auto before = std::find_if(children.begin(), children.end(), [&](const auto& x) {
            return SortsBefore(*static_cast<CioSolution*>(x.get()), *solution);
        });
        children.insert(before, std::move(entry));
    }
}

void CioProject::RemoveDuplicates() {
    const long long last = static_cast<long long>(children.size()) - 1;
    const long long m = std::max(last, 1LL);
    for (long long i = last; i >= 0; --i) {
        const auto* solution = Solution(static_cast<size_t>(i));
        if (solution == nullptr)
            continue;
        ReportProgress(WithPercent(TextId::DeduplicationProgress, (m - i) * 100 / m));
        for (long long j = 0; j < i; ++j) {
            if (solution->IsSameAs(children[static_cast<size_t>(j)].get())) {
                children.erase(children.begin() + i);
                break;
            }
        }
    }
}

} // namespace pinsum
