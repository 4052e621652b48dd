#include "model/cio_map_array.h"

#include <algorithm>

#include "model/archive.h"
#include "model/cio_array.h"
#include "model/object_stream.h"

namespace pinsum {

CioMapArray::CioMapArray() {
    kind = C_MAPARRAY_IO;
}

void CioMapArray::RemoveAll() {
    entries.clear();
    storedIds.clear();
}

void CioMapArray::Store(ArchiveWriter& ar) const {
    CioType::Store(ar);
    if (resolved) {
        ar.WriteInt32(static_cast<int32_t>(entries.size()));
        for (const CioType* entry : entries)
            WriteRef(ar, entry);
    } else {
        ar.WriteInt32(static_cast<int32_t>(storedIds.size()));
        for (const uint32_t stored : storedIds)
            ar.WriteUInt32(stored);
    }
    ar.WriteInt32(0);
}

void CioMapArray::Load(ArchiveReader& ar) {
    resolved = 0;
    entries.clear();
    storedIds.clear();
    CioType::Load(ar);
    const uint32_t count = ar.ReadCount(4);
    storedIds.reserve(count);
    for (uint32_t i = 0; i < count; ++i)
        if (const uint32_t stored = ReadRef(ar); stored != 0)
            storedIds.push_back(stored);
    ar.ReadInt32();
}

void CioMapArray::RenewIds() {
    CioType::RenewIds();
}

void CioMapArray::ResolveRefs(const IdentityTable& table) {
    if (resolved)
        return;
    entries.clear();
    entries.reserve(storedIds.size());
    for (const uint32_t stored : storedIds)
        if (CioType* object = table.Find(stored))
            entries.push_back(object);
    storedIds.clear();
    resolved = 1;
}

void CioMapArray::ForgetRef(const CioType* object) {
    if (object == nullptr)
        return;
    if (resolved)
        std::erase(entries, object);
    else
        std::erase(storedIds, object->id);
}

std::string CioMapArray::GetText() const {
    return ContainerLabel(contentKind);
}

int CioMapArray::GetImage() const {
    return FolderImage(flags);
}

TreeItem CioMapArray::InsertToTree(TreeItem parent, TreeControl&, TreeItem) {
    return parent;
}

bool CioMapArray::Contains(const CioType* object) const {
    return std::find(entries.begin(), entries.end(), object) != entries.end();
}

void CioMapArray::CopyRefsFrom(const CioMapArray& other) {
    RemoveAll();
    entries = other.entries;
    storedIds = other.storedIds;
    resolved = other.resolved;
}

void CioMapArray::CopyFrom(const CioType* other) {
    if (other == nullptr)
        return;
    CopyRootFrom(*other);
    if (const auto* list = dynamic_cast<const CioMapArray*>(other))
        CopyRefsFrom(*list);
}

bool CioMapArray::RefsEqual(const CioMapArray& other) const {
    return other.kind == kind && other.resolved == resolved && other.entries == entries &&
           other.storedIds == storedIds;
}

int CioMapArray::IsEqual(const CioType* other) const {
    const auto* list = dynamic_cast<const CioMapArray*>(other);
    return list != nullptr && RefsEqual(*list) ? 1 : 0;
}

} // namespace pinsum
