#include "model/cio_node.h"

#include "model/archive.h"
#include "model/item_editors.h"

namespace pinsum {

CioNode::CioNode() {
    kind = C_IO_NODE;
}

void CioNode::Store(ArchiveWriter& ar) const {
    CioType::Store(ar);
    kindRef.Store(ar);
    ar.WriteInt32(count);
    ar.WriteInt32(0);
}

void CioNode::Load(ArchiveReader& ar) {
    CioType::Load(ar);
    kindRef.Load(ar);
    count = ar.ReadInt32();
    ar.ReadInt32();
}

std::string CioNode::GetText() const {
    if (Kind() == nullptr)
        return "????";
    return std::to_string(count) + " x " + Kind()->name;
}

int CioNode::GetImage() const {
    return Kind() != nullptr ? Kind()->GetImage() : CioType::GetImage();
}

int CioNode::EditItem(TreeControl& tree) {
    ItemEditors* editors = tree.Editors();
    if (Kind() == nullptr || editors == nullptr || !editors->EditCount(*this))
        return 0;
    if (treeItem != kNoItem)
        tree.SetItemText(treeItem, GetText());
    return 1;
}

int CioNode::IsEditItem(TreeControl&) const {
    return Kind() != nullptr ? 1 : 0;
}

void CioNode::CopyFrom(const CioType* other) {
    if (other == nullptr)
        return;
    CopyRootFrom(*other);
    if (const auto* node = dynamic_cast<const CioNode*>(other)) {
        kindRef = node->kindRef;
        count = node->count;
    }
}

int CioNode::IsEqual(const CioType* other) const {
    const auto* node = dynamic_cast<const CioNode*>(other);
    return node != nullptr && node->kind == kind && node->kindRef.object == kindRef.object &&
                   node->kindRef.storedId == kindRef.storedId
               ? 1
               : 0;
}

} // namespace pinsum
