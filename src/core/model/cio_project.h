#pragma once

#include <memory>
#include <optional>
#include <string>

#include "model/cio_array.h"
#include "model/cio_db.h"
#include "model/cio_map_array.h"

namespace pinsum {

class ArchiveReader;
class Messenger;
class ProgressSink;

// The calculator's root object: a copy of the catalogue, the request and the solutions.
class CioProject : public CioArray {
public:
    CioProject();
    ~CioProject() override;

    void RemoveAll() override;
    void Store(ArchiveWriter& ar) const override;
    void Load(ArchiveReader& ar) override;
    void RenewIds() override;
    void ResolveRefs() override;
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

    std::unique_ptr<CioDb> database;
    CioArray requestList{C_IO};
    CioMapArray seriesSelection;
    int32_t budget = 0;

private:
    void InsertRequestItems(TreeItem parent, TreeControl& tree, int categoryFilter);
};

} // namespace pinsum
