#pragma once

#include "model/cio_map_array.h"
#include "model/object_stream.h"

namespace pinsum {

// A catalogue node the object model carries and stores but the search does not use.
class CioModuleNode : public CioMapArray {
public:
    CioModuleNode();

    void Store(ArchiveWriter& ar) const override;
    void Load(ArchiveReader& ar) override;
    void ResolveRefs(const IdentityTable& table) override;
    void ForgetRef(const CioType* object) override;
    std::string GetText() const override;
    void CopyFrom(const CioType* other) override;

    ObjectRef<CioType> first;
    ObjectRef<CioType> second;
    int32_t index = -1;
};

} // namespace pinsum
