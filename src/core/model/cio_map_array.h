#pragma once

#include <vector>

#include "model/cio_type.h"

namespace pinsum {

// An ordered list of references to objects owned elsewhere. Between Load and ResolveRefs the
// entries are the stored identities (storedIds), afterwards the objects (entries).
class CioMapArray : public CioType {
public:
    CioMapArray();

    void RemoveAll() override;
    void Store(ArchiveWriter& ar) const override;
    void Load(ArchiveReader& ar) override;
    void RenewIds() override;
    void ResolveRefs(const IdentityTable& table) override;
    void ForgetRef(const CioType* object) override;
    std::string GetText() const override;
    void OnItemExpanded(TreeControl&) override {}
    void SyncTreeState(TreeControl&, bool) override {}
    int GetImage() const override;
    TreeItem InsertToTree(TreeItem parent, TreeControl& tree, TreeItem after) override;
    void CopyFrom(const CioType* other) override;
    int IsEqual(const CioType* other) const override;

    size_t Count() const { return resolved ? entries.size() : storedIds.size(); }
    bool Contains(const CioType* object) const;
    // Same kind and the same referenced objects in the same order.
    bool RefsEqual(const CioMapArray& other) const;

    std::vector<CioType*> entries;
    std::vector<uint32_t> storedIds;
    int32_t resolved = 1;
    int32_t contentKind = 0;

protected:
    void CopyRefsFrom(const CioMapArray& other);
};

} // namespace pinsum
