#include "model/cio_module_node.h"

#include "model/archive.h"

namespace pinsum {

CioModuleNode::CioModuleNode() {
    kind = C_IO_MODULE_NODE;
}

void CioModuleNode::Store(ArchiveWriter& ar) const {
    CioMapArray::Store(ar);
    first.Store(ar);
    second.Store(ar);
    ar.WriteInt32(index);
    ar.WriteInt32(0);
}

void CioModuleNode::Load(ArchiveReader& ar) {
    CioMapArray::Load(ar);
    first.Load(ar);
    second.Load(ar);
    index = ar.ReadInt32();
    ar.ReadInt32();
}

void CioModuleNode::ResolveRefs(const IdentityTable& table) {
    CioMapArray::ResolveRefs(table);
    first.Resolve(table);
    second.Resolve(table);
}

void CioModuleNode::ForgetRef(const CioType* object) {
    CioMapArray::ForgetRef(object);
    first.Forget(object);
    second.Forget(object);
}

std::string CioModuleNode::GetText() const {
    return first.object != nullptr ? first.object->name : "????";
}

void CioModuleNode::CopyFrom(const CioType* other) {
    CioMapArray::CopyFrom(other);
    if (const auto* node = dynamic_cast<const CioModuleNode*>(other)) {
        first = node->first;
        second = node->second;
        index = node->index;
    }
}

} // namespace pinsum
