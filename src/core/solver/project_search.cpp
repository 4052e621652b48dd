// The search: from the request to the working list of solutions.
#include <algorithm>

#include "host/manual_reset_event.h"
#include "host/messenger.h"
#include "host/program_texts.h"
#include "model/cio_equip.h"
#include "model/cio_line.h"
#include "model/cio_module_selector.h"
#include "model/cio_node.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "solver/cio_compile_thread.h"
#include "solver/compile_request.h"
#include "solver/configuration_source.h"
#include "solver/exact_step.h"
#include "solver/search_level.h"

namespace pinsum {
namespace {

bool IsController(const CioPlc* device) {
    return device != nullptr && device->deviceType == 0;
}

} // namespace

CioSolution* CioProject::Solution(size_t index) const {
    return index < children.size() ? dynamic_cast<CioSolution*>(children[index].get()) : nullptr;
}

bool CioProject::StopRequested() const {
    return m_outOfMemory || (stopEvent != nullptr && stopEvent->IsSet());
}

void CioProject::ReportProgress(const std::string& text) {
    progressText = text;
    if (thread != nullptr)
        thread->ReportState(progressText);
}

void CioProject::ReportSearchProgress() {
    if (thread == nullptr)
        return;
    ReportProgress(FormatText(TextId::SearchProgress, {static_cast<long long>(finished.size()),
                                                       static_cast<long long>(children.size())}));
}

void CioProject::ShowMessage(const std::string& text, bool information) {
    if (messenger != nullptr)
        messenger->Show(text, information ? MessageIcon::Information : MessageIcon::Stop,
                        MessageButtons::Ok);
}

int CioProject::Compile(CompileRequest* request) {
    if (request == nullptr)
        return 0;
    try {
        Search(request);
    } catch (const std::exception&) {
        // Most likely memory ran out: whatever the search holds is half made, and is dropped.
        AbandonSearch();
        ShowMessage(ProgramText(TextId::SearchFailed), false);
    }
    return 0;
}

void CioProject::AbandonSearch() {
    children.clear();
    finished.clear();
    m_abandoned.clear();
    effectiveRequest.clear();
    candidateDevices.clear();
    rootControllers.clear();
    configurations = nullptr;
}

void CioProject::Search(CompileRequest* request) {
    children.clear();
    m_abandoned.clear();
    effectiveRequest.clear();
    candidateDevices.clear();
    rootControllers.clear();
    finished.clear();
    m_interrupted = false;
    m_workingBytes = 0;
    m_outOfMemory = false;
    exactOutcome = ExactOutcome::NotRun;
    stopEvent = request->stopEvent;
    thread = request->thread;
    messenger = request->messenger;
    SetSearchLevel(request->thoroughness);

    int32_t largestTerminalCount = 0;
    std::vector<CioNode*> terminals;
    if (!PrepareSearch(largestTerminalCount, terminals))
        return;
    children.clear();
    ExactResult exact;
    if (request->exact != nullptr) {
        ReportProgress(ProgramText(TextId::ExactProgress));
        try {
            exact = request->exact->Solve(*this, stopEvent);
        } catch (const std::exception&) {
            // The search's own solutions are still worth having.
            exact = ExactResult{};
            exact.outcome = ExactOutcome::Failed;
        }
        exactOutcome = exact.outcome;
    }
    if (request->exact == nullptr || !request->exactOnly) {
        ConfigurationCache cache(stopEvent);
        configurations = request->configurations != nullptr ? request->configurations : &cache;
        Expand(nullptr);
        configurations = nullptr;
    }
    FinishSearch(exact);
}

bool CioProject::PrepareSearch(int32_t& largestTerminalCount, std::vector<CioNode*>& terminals) {
    requestedTotal = 0;
    for (const auto& child : requestList.children) {
        auto* item = dynamic_cast<CioNode*>(child.get());
        if (item == nullptr || item->Kind() == nullptr)
            continue;
        if (item->Kind()->Category() != 0 && (item->flags & FLAG_CHECKED)) {
            terminals.push_back(item);
            if (item->count >= 1)
                largestTerminalCount = std::max(largestTerminalCount, item->count);
        }
        if (item->count >= 1) {
            effectiveRequest.push_back(item);
            requestedTotal += item->count;
        }
    }
    if (effectiveRequest.empty()) {
        ShowMessage(ProgramText(TextId::NoCountsRequested), false);
        return false;
    }
    CollectDevices(largestTerminalCount, terminals);
    if (candidateDevices.empty()) {
        ShowMessage(ProgramText(TextId::NoControllerSelected), false);
        return false;
    }
    if (std::none_of(candidateDevices.begin(), candidateDevices.end(), IsController) &&
        std::none_of(rootControllers.begin(), rootControllers.end(), IsController)) {
        ShowMessage(ProgramText(TextId::NoPlcSelected), false);
        return false;
    }
    return true;
}

void CioProject::CollectDevices(int32_t largestTerminalCount,
                                const std::vector<CioNode*>& terminals) {
    if (database == nullptr)
        return;
    for (CioType* series : seriesSelection.entries) {
        if (series == nullptr || !(series->flags & FLAG_CHECKED))
            continue;
        for (const auto& child : database->devices.children) {
            auto* device = dynamic_cast<CioPlc*>(child.get());
            if (device == nullptr || !(device->flags & FLAG_CHECKED) ||
                device->series.object != series)
                continue;
            bool skipped = false;
            if (IsController(device) && device->OffersAnyOf(terminals)) {
                rootControllers.push_back(device);
                skipped = largestTerminalCount <= 1 && device->HasKalbus();
            } else if (IsController(device)) {
                skipped = device->HasKalbus();
            }
            if (!skipped)
                candidateDevices.push_back(device);
        }
    }
    if (candidateDevices.empty())
        candidateDevices = rootControllers;
}

int CioProject::Expand(CioSolution* solution) {
    if (solution != nullptr) {
        if (StopRequested() || solution->IsFinished())
            return 0;
        std::vector<std::unique_ptr<CioEquip>> candidates;
        if (solution->Count() == 0 && solution->Controller() != nullptr) {
            candidates.push_back(MakeEquipment(solution, solution->Controller()));
        } else {
            size_t offered = 0;
            for (CioPlc* device : candidateDevices) {
                if (StopRequested())
                    return 0;
                if (solution->CanAccept(device)) {
                    candidates.push_back(MakeEquipment(solution, device));
                    ++offered;
                }
            }
            if (offered == 0)
                return 0;
        }
        if (StopRequested())
            return 0;
        MergeCandidates(candidates, solution);
        RerankWorking();
        int unfinished = 0;
        for (size_t i = children.size(); i-- > 0;) {
            if (StopRequested())
                break;
            auto* working = dynamic_cast<CioSolution*>(children[i].get());
            if (working == nullptr)
                continue;
            if (budget <= 0) {
                children.erase(children.begin() + static_cast<long>(i));
                unfinished = 0;
            } else if (working->IsFinished()) {
                working->Compact();
                finished.push_back(std::move(children[i]));
                children.erase(children.begin() + static_cast<long>(i));
                --budget;
            } else {
                ++unfinished;
            }
        }
        return unfinished;
    }

    if (StopRequested()) {
        m_interrupted = true;
        return 0;
    }
    finished.clear();
    ReportSearchProgress();
    for (CioPlc* controller : rootControllers) {
        if (!IsController(controller))
            continue;
        ExpandController(controller);
        if (m_interrupted)
            return 0;
    }
    ReportSearchProgress();
    for (auto& solution : finished)
        children.push_back(std::move(solution));
    finished.clear();
    if (!effectiveRequest.empty())
        std::erase_if(children, [](const auto& entry) { return entry == nullptr; });
    return 0;
}

void CioProject::ExpandController(CioPlc* controller) {
    budget = (SearchLevel() + 1) * 5;
    auto start = CioSolution::ForController(controller, effectiveRequest);
    children.push_back(std::move(start));
    Solution(children.size() - 1)->number = static_cast<int32_t>(children.size());
    size_t j = 0;
    while (j < children.size()) {
        if (StopRequested()) {
            m_interrupted = true;
            return;
        }
        CioSolution* working = Solution(j);
        if (working != nullptr && working->CanAccept(nullptr))
            j = Expand(working) != 0 ? 0 : j + 1;
        else
            ++j;
        ReportSearchProgress();
    }
    // A stop seen in the last step leaves the controller's solutions as unfinished as one seen
    // here: they go, and the solutions finished so far stay.
    if (StopRequested()) {
        m_interrupted = true;
        return;
    }
    for (auto& entry : children)
        finished.push_back(std::move(entry));
    children.clear();
}

} // namespace pinsum
