#pragma once

#include "model/cio_type.h"
#include "model/object_stream.h"

namespace pinsum {

// A request item: so many points of one IO point kind.
class CioNode : public CioType {
public:
    CioNode();

    void Store(ArchiveWriter& ar) const override;
    void Load(ArchiveReader& ar) override;
    void ResolveRefs(const IdentityTable& table) override { kindRef.Resolve(table); }
    void ForgetRef(const CioType* object) override { kindRef.Forget(object); }
    std::string GetText() const override;
    int GetImage() const override;
    int InsertItem(TreeControl&) override { return 0; }
    int DeleteItem(TreeControl&, CioType*) override { return 0; }
    int EditItem(TreeControl& tree) override;
    int IsInsertItem(TreeControl&) const override { return 0; }
    int IsDeleteItem(TreeControl&) const override { return 0; }
    int IsEditItem(TreeControl& tree) const override;
    void CopyFrom(const CioType* other) override;
    int IsEqual(const CioType* other) const override;

    CioType* Kind() const { return kindRef.object; }

    ObjectRef<CioType> kindRef;
    int32_t count = 0;
};

} // namespace pinsum
