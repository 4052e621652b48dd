#pragma once

#include <memory>
#include <vector>

#include "model/cio_type.h"

namespace pinsum {

// An ordered list of objects it owns.
class CioArray : public CioType {
public:
    CioArray();
    explicit CioArray(int32_t contentKind);
    ~CioArray() override;

    void RemoveAll() override;
    void Store(ArchiveWriter& ar) const override;
    void Load(ArchiveReader& ar) override;
    void RenewIds() override;
    void ResolveRefs(const IdentityTable& table) override;
    void ForgetRef(const CioType* object) override;
    std::string GetText() const override;
    void OnItemExpanded(TreeControl& tree) override;
    void SyncTreeState(TreeControl& tree, bool read) override;
    int GetImage() const override;
    TreeItem InsertToTree(TreeItem parent, TreeControl& tree, TreeItem after) override;
    int InsertItem(TreeControl& tree) override;
    int DeleteItem(TreeControl& tree, CioType* child) override;
    int IsInsertItem(TreeControl& tree) const override;
    int IsDeleteItem(TreeControl& tree) const override;
    int IsEditItem(TreeControl& tree) const override;
    void ReadChildrenFromTree(TreeControl& tree) override;
    void CopyFrom(const CioType* other) override;
    int IsEqual(const CioType* other) const override;
    void CountPoints() override;
    void ComputeTotals() override;

    size_t Count() const { return children.size(); }
    CioType* At(size_t index) const { return children[index].get(); }
    void Append(std::unique_ptr<CioType> child) { children.push_back(std::move(child)); }

    std::vector<std::unique_ptr<CioType>> children;
    int32_t contentKind = 0;

protected:
    // Copies the list part from a container of the same class.
    void CopyListFrom(const CioArray& other);
    bool ListEquals(const CioArray& other) const;
};

// The label of a list by the kind of its entries.
std::string ContainerLabel(int32_t contentKind);
// Folder image: open when expanded.
int FolderImage(uint32_t flags);

} // namespace pinsum
