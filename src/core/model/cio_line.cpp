#include "model/cio_line.h"

#include "model/item_editors.h"

namespace pinsum {

CioLine::CioLine() {
    kind = C_LINE_TYPE_IO;
    name = "\xD8"
           "ADA";
}

int CioLine::EditItem(TreeControl& tree) {
    ItemEditors* editors = tree.Editors();
    if (treeItem == kNoItem || editors == nullptr || !editors->EditSeries(*this))
        return 0;
    tree.SetItemText(treeItem, name);
    return 1;
}

} // namespace pinsum
