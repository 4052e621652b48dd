#include <gtest/gtest.h>

#include "model/cio_node.h"
#include "model/cio_project.h"
#include "model/item_editors.h"
#include "support/memory_tree.h"
#include "support/small_catalogue.h"

namespace pinsum {
namespace {

using test::MemoryTree;

// Edits that rename whatever they are given, or refuse.
class ScriptedEditors : public ItemEditors {
public:
    bool EditIoPoint(CioType& kind) override { return Apply(kind); }
    bool EditSeries(CioLine& series) override { return Apply(series); }
    bool EditModule(CioModul& module, CioDb* db) override {
        seenDatabase = db;
        return Apply(module);
    }
    bool EditDevice(CioPlc& device, CioDb* db) override {
        seenDatabase = db;
        return Apply(device);
    }
    bool EditCount(CioNode& node) override {
        node.count = 42;
        return accept;
    }
    bool accept = true;
    const CioDb* seenDatabase = nullptr;

private:
    bool Apply(CioType& object) {
        if (accept)
            object.name = "edited";
        return accept;
    }
};

class PlannerTree : public ::testing::Test {
protected:
    void SetUp() override {
        c = test::BuildSmallCatalogue();
        tree.editors = &editors;
        c.db->InsertToTree(kNoItem, tree, kInsertLast);
    }
    TreeItem ListItem(size_t index) { return tree.Children(c.db->treeItem)[index]; }

    test::SmallCatalogue c;
    MemoryTree tree;
    ScriptedEditors editors;
};

TEST_F(PlannerTree, ShowsTheFourListsInPlannerOrder) {
    ASSERT_EQ(tree.GetRootItem(), c.db->treeItem);
    const auto lists = tree.Children(c.db->treeItem);
    ASSERT_EQ(lists.size(), 4u);
    EXPECT_EQ(tree.GetItemData(lists[0]), &c.db->ioKinds);
    EXPECT_EQ(tree.GetItemData(lists[1]), &c.db->modules);
    EXPECT_EQ(tree.GetItemData(lists[2]), &c.db->seriesList);
    EXPECT_EQ(tree.GetItemData(lists[3]), &c.db->devices);
    EXPECT_EQ(tree.GetItemText(lists[0]), "IO Body");
    EXPECT_EQ(tree.GetItemText(lists[3]), "Automaty a periferie");
    // Devices and modules are leaves: positions and variants are not shown.
    EXPECT_TRUE(tree.Children(c.d1->treeItem).empty());
    EXPECT_EQ(tree.Image(c.d1->treeItem), 6);
    EXPECT_EQ(tree.Image(lists[0]), 1);
}

TEST_F(PlannerTree, InsertAddsSelectedEntryOfTheListKind) {
    ASSERT_EQ(c.kindA->IsInsertItem(tree), 1);
    ASSERT_EQ(c.kindA->InsertItem(tree), 1);
    ASSERT_EQ(c.db->ioKinds.Count(), 4u);
    CioType* added = c.db->ioKinds.At(3);
    EXPECT_EQ(added->kind, C_IO);
    EXPECT_EQ(tree.Selected(), added->treeItem);
    EXPECT_TRUE(added->flags & FLAG_SELECTED);
    EXPECT_TRUE(c.db->ioKinds.flags & FLAG_EXPANDED);
    EXPECT_TRUE(tree.IsExpanded(c.db->ioKinds.treeItem));

    ASSERT_EQ(c.db->devices.InsertItem(tree), 1);
    EXPECT_NE(dynamic_cast<CioPlc*>(c.db->devices.At(3)), nullptr);

    tree.refuseInserts = true;
    EXPECT_EQ(c.db->modules.InsertItem(tree), 0);
    EXPECT_EQ(c.db->modules.Count(), 2u);
}

TEST_F(PlannerTree, DeleteForgetsEveryReferenceAndMovesTheSelection) {
    ASSERT_EQ(c.m1->IsDeleteItem(tree), 1);
    ASSERT_EQ(c.m1->DeleteItem(tree, nullptr), 1);
    ASSERT_EQ(c.db->modules.Count(), 1u);
    // The device position and the rule that named m1 or its variant no longer do.
    EXPECT_EQ(c.d1->Position(0)->entries, (std::vector<CioType*>{c.m2}));
    EXPECT_TRUE(c.d2->Position(0)->entries.empty());
    EXPECT_TRUE(c.m2->flags & FLAG_SELECTED);
    EXPECT_EQ(tree.Selected(), c.m2->treeItem);

    ASSERT_EQ(c.kindB->DeleteItem(tree, nullptr), 1);
    EXPECT_EQ(c.m2->Variant(0)->entries.size(), 0u);
    // The last entry deleted selects the entry before it.
    ASSERT_EQ(c.s3->DeleteItem(tree, nullptr), 1);
    EXPECT_EQ(tree.Selected(), c.s2->treeItem);
    EXPECT_EQ(c.d3->series.object, nullptr);
    ASSERT_EQ(c.m2->DeleteItem(tree, nullptr), 1);
    EXPECT_EQ(tree.Selected(), c.db->modules.treeItem);
    EXPECT_EQ(c.db->modules.IsDeleteItem(tree), 0);
}

TEST_F(PlannerTree, ReorderingTheTreeReordersTheList) {
    tree.MoveItem(c.d3->treeItem, 0);
    c.db->ReadChildrenFromTree(tree);
    ASSERT_EQ(c.db->devices.Count(), 3u);
    EXPECT_EQ(c.db->devices.At(0), c.d3);
    EXPECT_EQ(c.db->devices.At(1), c.d1);
    EXPECT_EQ(c.db->devices.At(2), c.d2);
}

TEST_F(PlannerTree, TreeStateGoesIntoFlagsAndBack) {
    tree.Expand(ListItem(1), true);
    tree.Select(c.m2->treeItem);
    tree.SetChecked(c.kindA->treeItem, true);
    c.db->SyncTreeState(tree, true);
    EXPECT_EQ(c.db->modules.flags & FLAG_EXPANDED, FLAG_EXPANDED);
    EXPECT_EQ(c.m2->flags & FLAG_SELECTED, FLAG_SELECTED);
    EXPECT_EQ(c.kindA->flags & FLAG_CHECKED, FLAG_CHECKED);
    EXPECT_EQ(c.m1->flags & FLAG_SELECTED, 0u);

    MemoryTree shown;
    c.db->treeItem = kNoItem;
    c.db->InsertToTree(kNoItem, shown, kInsertLast);
    c.db->SyncTreeState(shown, false);
    EXPECT_TRUE(shown.IsExpanded(c.db->modules.treeItem));
    EXPECT_EQ(shown.Selected(), c.m2->treeItem);
    EXPECT_TRUE(shown.IsChecked(c.kindA->treeItem));
    EXPECT_EQ(shown.Image(c.db->modules.treeItem), 2);
}

TEST_F(PlannerTree, EditRenamesTheItemOnlyOnOk) {
    ASSERT_EQ(c.d1->EditItem(tree), 1);
    EXPECT_EQ(tree.GetItemText(c.d1->treeItem), "edited");
    EXPECT_EQ(editors.seenDatabase, c.db.get());
    editors.accept = false;
    EXPECT_EQ(c.m1->EditItem(tree), 0);
    EXPECT_EQ(tree.GetItemText(c.m1->treeItem), "M1");
    EXPECT_EQ(c.db->modules.IsEditItem(tree), 0);
}

class SelectionTree : public ::testing::Test {
protected:
    void SetUp() override {
        c = test::BuildSmallCatalogue();
        c.s2->flags |= FLAG_DEFAULT;
        c.db->FillSelectionTree(kNoItem, tree);
    }
    test::SmallCatalogue c;
    MemoryTree tree;
};

TEST_F(SelectionTree, SeriesWithDevicesCheckedByDefault) {
    const auto series = tree.Children(kNoItem);
    ASSERT_EQ(series.size(), 3u);
    EXPECT_TRUE(tree.IsChecked(c.s1->treeItem));
    EXPECT_TRUE(tree.IsChecked(c.d1->treeItem));
    EXPECT_TRUE(tree.IsChecked(c.s2->treeItem));
    EXPECT_FALSE(tree.IsChecked(c.s3->treeItem));
    EXPECT_FALSE(tree.IsChecked(c.d3->treeItem));
    EXPECT_EQ(tree.GetParent(c.d3->treeItem), c.s3->treeItem);
}

TEST_F(SelectionTree, CheckingAnExclusiveSeriesUnchecksTheOthers) {
    tree.SetChecked(c.s3->treeItem, true);
    EXPECT_EQ(c.db->ApplySelectionCheck(tree, c.s3->treeItem), c.s3);
    EXPECT_TRUE(tree.IsChecked(c.d3->treeItem));
    EXPECT_FALSE(tree.IsChecked(c.s2->treeItem));
    EXPECT_FALSE(tree.IsChecked(c.d2->treeItem));
    // A non-exclusive series keeps its state.
    EXPECT_TRUE(tree.IsChecked(c.s1->treeItem));
    EXPECT_TRUE(tree.IsChecked(c.d1->treeItem));
}

TEST_F(SelectionTree, CheckingADeviceChecksItsSeries) {
    tree.SetChecked(c.d3->treeItem, true);
    EXPECT_EQ(c.db->ApplySelectionCheck(tree, c.d3->treeItem), c.s3);
    EXPECT_TRUE(tree.IsChecked(c.s3->treeItem));
    EXPECT_EQ(tree.Selected(), c.d3->treeItem);
    EXPECT_FALSE(tree.IsChecked(c.s2->treeItem));
    // Unchecking a device touches nothing else.
    tree.SetChecked(c.d1->treeItem, false);
    EXPECT_EQ(c.db->ApplySelectionCheck(tree, c.d1->treeItem), c.d1);
    EXPECT_TRUE(tree.IsChecked(c.s1->treeItem));
}

TEST(RequestTree, IoAndTerminalItemsGoToTheirTrees) {
    auto c = test::BuildSmallCatalogue();
    CioProject project;
    for (CioType* kind : {c.kindA, c.terminal, c.kindB}) {
        auto node = std::make_unique<CioNode>();
        node->kindRef.object = kind;
        node->count = 3;
        project.requestList.Append(std::move(node));
    }
    MemoryTree io;
    MemoryTree terminals;
    project.InsertIoToTree(kNoItem, io);
    project.InsertTerminalsToTree(kNoItem, terminals);
    ASSERT_EQ(io.Size(), 2u);
    EXPECT_EQ(io.GetItemText(io.Children(kNoItem)[1]), "3 x B");
    ASSERT_EQ(terminals.Size(), 1u);
    EXPECT_EQ(terminals.GetItemText(terminals.GetRootItem()), "3 x T");
    ScriptedEditors editors;
    terminals.editors = &editors;
    auto* node = dynamic_cast<CioNode*>(project.requestList.At(1));
    ASSERT_EQ(node->EditItem(terminals), 1);
    EXPECT_EQ(terminals.GetItemText(node->treeItem), "42 x T");
}

} // namespace
} // namespace pinsum
