#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/cio_array.h"
#include "model/cio_db.h"
#include "model/cio_map_array.h"

namespace pinsum {

class ArchiveReader;
class CioEquip;
class CioNode;
class CioPlc;
class CioSolution;
class CioCompileThread;
class ConfigurationSource;
class ManualResetEvent;
class Messenger;
class ProgressSink;
class ResultTable;
struct CompileRequest;
struct ExactResult;

// How the exact mode, the search's companion that proves the cheapest configuration, ended.
enum class ExactOutcome {
    NotRun,
    // Its solution is the cheapest complete configuration there is.
    Proven,
    // No complete configuration exists for the request and selection.
    Infeasible,
    // The time limit passed before the cheapest one was proven.
    TimedOut,
    Stopped,
    // The solver ended without an answer.
    Failed,
};

// The calculator's root object: a copy of the catalogue, the request and the solutions.
class CioProject : public CioArray {
public:
    CioProject();
    ~CioProject() override;

    void RemoveAll() override;
    void Store(ArchiveWriter& ar) const override;
    void Load(ArchiveReader& ar) override;
    void RenewIds() override;
    void ResolveRefs(const IdentityTable& table) override;
    void ForgetRef(const CioType* object) override;
    void OnItemExpanded(TreeControl& tree) override;
    void SyncTreeState(TreeControl& tree, bool read) override;
    int GetImage() const override { return 0; }
    TreeItem InsertToTree(TreeItem parent, TreeControl& tree, TreeItem after) override;
    int InsertItem(TreeControl&) override { return 0; }
    int DeleteItem(TreeControl&, CioType*) override { return 0; }
    int IsInsertItem(TreeControl&) const override { return 0; }
    int IsDeleteItem(TreeControl&) const override { return 0; }
    void CopyFrom(const CioType* other) override;
    void CountPoints() override;
    void ComputeTotals() override { CioArray::ComputeTotals(); }
    void Describe(std::string& text, const std::string& prefix) const override;

    TreeItem InsertSolutionsToTree(TreeItem parent, TreeControl& tree);
    void InsertTerminalsToTree(TreeItem parent, TreeControl& tree);
    void InsertIoToTree(TreeItem parent, TreeControl& tree);

    // Loads the catalogue file (default "iodb.pp" through the data-file search) and rebuilds the
    // request from it; 0 leaves the project as it was. error receives why, when given. Progress
    // goes to the given sink, else to the host's status sink.
    int LoadDatabase(const std::string* fileName, Messenger* messenger = nullptr,
                     ProgressSink* progress = nullptr, std::string* error = nullptr);

    // The search, defined by the solver library (solver/project_*.cpp, search_finish.cpp,
    // solution_report.cpp): checks the request, expands solutions and finishes them (always 0).
    int Compile(CompileRequest* request);
    // With none runs the whole search; with a solution extends it by one device and returns
    // the number of unfinished solutions kept.
    int Expand(CioSolution* solution);
    std::unique_ptr<CioEquip> MakeEquipment(CioSolution* solution, CioPlc* device);
    int MergeCandidates(std::vector<std::unique_ptr<CioEquip>>& candidates, CioSolution* solution);
    int AttachEquipment(std::unique_ptr<CioEquip>& equipment, CioSolution* target);
    void RerankWorking();

    // Fills the result table with solution n (0-based); returns the number of solutions.
    int ShowSolution(ResultTable* list, int n);

    CioSolution* Solution(size_t index) const;
    // The last search ended early because its working solutions outgrew maxWorkingBytes.
    bool RanOutOfMemory() const { return m_outOfMemory; }

    std::unique_ptr<CioDb> database;
    CioArray requestList{C_IO};
    CioMapArray seriesSelection;
    int32_t budget = 0;

    // Search state, neither stored nor copied.
    ManualResetEvent* stopEvent = nullptr;
    CioCompileThread* thread = nullptr;
    Messenger* messenger = nullptr;
    // Configures the candidate devices while a search runs.
    ConfigurationSource* configurations = nullptr;
    int32_t requestedTotal = 0;
    std::vector<CioNode*> effectiveRequest;
    std::vector<CioPlc*> candidateDevices;
    std::vector<CioPlc*> rootControllers;
    std::string progressText;
    // Solutions finished during the search, in the order they finished.
    std::vector<std::unique_ptr<CioType>> finished;
    // The working list's memory past which the search ends as if cancelled: equally good
    // configurations fork without end in some catalogues.
    static constexpr size_t kMaxWorkingBytes = size_t{512} << 20;
    size_t maxWorkingBytes = kMaxWorkingBytes;
    // How the exact mode of the last search ended.
    ExactOutcome exactOutcome = ExactOutcome::NotRun;

private:
    void InsertRequestItems(TreeItem parent, TreeControl& tree, int categoryFilter);
    bool StopRequested() const;
    void ReportProgress(const std::string& text);
    void ReportSearchProgress();
    void ShowMessage(const std::string& text, bool information);
    // Compile's work; an exception from it ends the search as failed.
    void Search(CompileRequest* request);
    // Drops what a failed search holds.
    void AbandonSearch();
    // Collects the effective request, the root controllers and the candidate devices; false
    // with the message shown when the request cannot be searched.
    bool PrepareSearch(int32_t& largestTerminalCount, std::vector<CioNode*>& terminals);
    void CollectDevices(int32_t largestTerminalCount, const std::vector<CioNode*>& terminals);
    void ExpandController(CioPlc* controller);
    // Polls the stop every so many steps of a long loop and marks the search interrupted.
    bool Interrupted(size_t step);
    // Whether the working list has outgrown maxWorkingBytes, which stops the search.
    bool OutOfRoom();
    void PruneWorking();
    // Lists the exact mode's solution first, without a search solution of the same
    // configuration, or says that no complete one exists.
    void FinishSearch(ExactResult& exact);
    void PlaceExact(ExactResult& exact);
    void SortSolutions();
    void RemoveDuplicates();
    std::vector<std::unique_ptr<CioType>>& Working() { return children; }
    bool m_interrupted = false;
    // The working list's memory as RerankWorking last estimated it, and whether it grew past
    // what the search may take.
    size_t m_workingBytes = 0;
    bool m_outOfMemory = false;
    // The working list of a search that was stopped, freed when the next search starts.
    std::vector<std::unique_ptr<CioType>> m_abandoned;
};

} // namespace pinsum
