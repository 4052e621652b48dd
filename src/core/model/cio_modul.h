#pragma once

#include "model/cio_array.h"
#include "model/currency.h"

namespace pinsum {

class CioDb;
class CioVariant;

// An IO module; its children are its IO variants.
class CioModul : public CioArray {
public:
    CioModul();
    // The built-in empty module: also creates its single variant with the empty variant's
    // identity.
    CioModul(uint32_t identity, const char* name, const char* marking);

    void Store(ArchiveWriter& ar) const override;
    void Load(ArchiveReader& ar) override;
    std::string GetText() const override { return name; }
    void OnItemExpanded(TreeControl& tree) override { CioType::OnItemExpanded(tree); }
    void SyncTreeState(TreeControl& tree, bool read) override {
        CioType::SyncTreeState(tree, read);
    }
    int GetImage() const override { return 5; }
    TreeItem InsertToTree(TreeItem parent, TreeControl& tree, TreeItem after) override {
        return CioType::InsertToTree(parent, tree, after);
    }
    int InsertItem(TreeControl& tree) override { return CioType::InsertItem(tree); }
    int DeleteItem(TreeControl& tree, CioType* child) override {
        return CioType::DeleteItem(tree, child);
    }
    int IsInsertItem(TreeControl& tree) const override { return CioType::IsInsertItem(tree); }
    int IsDeleteItem(TreeControl& tree) const override { return CioType::IsDeleteItem(tree); }
    int EditItem(TreeControl& tree) override;
    int IsEditItem(TreeControl&) const override { return 1; }
    void CopyFrom(const CioType* other) override;
    int IsEqual(const CioType* other) const override;
    void ComputeTotals() override;

    CioVariant* Variant(size_t index) const;

    Currency listPrice;
    std::string marking;

protected:
    void CopyModulePart(const CioModul& other);
};

// The database the tree's root item carries, or none.
CioDb* TreeDatabase(TreeControl& tree);

} // namespace pinsum
