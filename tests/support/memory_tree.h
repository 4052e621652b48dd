#pragma once

#include <string>

#include "model/memory_tree_control.h"

namespace pinsum::test {

// The engine's in-memory tree with what tests set: insertions refused, and editors.
class MemoryTree : public MemoryTreeControl {
public:
    TreeItem InsertItem(TreeItem parent, TreeItem after, const std::string& text, int image,
                        int selectedImage, CioType* data) override {
        return refuseInserts
                   ? kNoItem
                   : MemoryTreeControl::InsertItem(parent, after, text, image, selectedImage, data);
    }
    ItemEditors* Editors() override { return editors; }

    // Refuses every insertion while set.
    bool refuseInserts = false;
    ItemEditors* editors = nullptr;
};

} // namespace pinsum::test
