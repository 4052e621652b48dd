// The planner's tree as its user meets it: menus, keys, double clicks, the wheel, drag and drop,
// help, saving with the tree state, the export to the update server.
#include <cstdlib>
#include <filesystem>

#include <wx/filehistory.h>
#include <wx/menu.h>

#include "common/ui_ids.h"
#include "common/ui_texts.h"
#include "helptext/help_tooltip_window.h"
#include "host/file_io.h"
#include "model/catalogue_file.h"
#include "model/cio_plc.h"
#include "model/cio_variant.h"
#include "planner/planner_drag.h"
#include "planner/type_property.h"
#include "ui/planner_test_support.h"

namespace pinsum::test {
namespace {

constexpr int kKinds = 0;
constexpr int kModules = 1;
constexpr int kSeries = 2;

class PlannerViewTest : public PlannerTest {
protected:
    void OpenSmall() {
        ASSERT_NE(Open(SmallCatalogueFile()), nullptr);
        for (CioArray* list : Db().Lists())
            Tree().Expand(Id(list));
        Tree().Expand(Id(&Db()));
        Pump(20);
    }
    std::vector<std::string> Names(int list) const {
        std::vector<std::string> names;
        for (const auto& child : Db().Lists()[list]->children)
            names.push_back(child->name);
        return names;
    }
};

TEST_F(PlannerViewTest, TheMenuActsOnTheItemSelectedBeforeTheRightClick) {
    OpenSmall();
    std::vector<std::pair<int, bool>> shown;
    View().SetMenuRunner([&](wxMenu& menu, const wxPoint&) {
        menu.UpdateUI(&Tree());
        shown.clear();
        for (const wxMenuItem* item : menu.GetMenuItems())
            if (!item->IsSeparator())
                shown.emplace_back(ui::CommandOfMenuId(item->GetId()), item->IsEnabled());
    });
    CioType* kindA = Element(kKinds, "A");
    Select(kindA);
    Mouse(wxEVT_RIGHT_DOWN, LabelCentre(Element(kModules, "M1")));
    EXPECT_EQ(Selected(), kindA);
    const std::vector<std::pair<int, bool>> onKind = {{ui::ID_EDIT_ITEM, true},
                                                      {ui::ID_INSERT_ITEM, true},
                                                      {ui::ID_DELETE_ITEM, true},
                                                      {ui::ID_EXPORT_DB_FILE, true},
                                                      {ui::ID_SHOW_HELP, true}};
    EXPECT_EQ(shown, onKind);

    Select(&Db().modules);
    Mouse(wxEVT_RIGHT_DOWN, LabelCentre(kindA));
    EXPECT_EQ(Selected(), &Db().modules);
    const std::vector<std::pair<int, bool>> onList = {{ui::ID_EDIT_ITEM, false},
                                                      {ui::ID_INSERT_ITEM, true},
                                                      {ui::ID_DELETE_ITEM, false},
                                                      {ui::ID_EXPORT_DB_FILE, true},
                                                      {ui::ID_SHOW_HELP, false}};
    EXPECT_EQ(shown, onList);
}

TEST_F(PlannerViewTest, InsertAppendsToTheListAndDeleteMovesTheSelection) {
    OpenSmall();
    Select(&Db().modules);
    Key(WXK_INSERT);
    ASSERT_EQ(Db().modules.Count(), 3u);
    EXPECT_EQ(Selected(), Db().modules.At(2));
    EXPECT_TRUE(m_doc->IsModified());
    // On an element, the new one still goes to the end of the element's list.
    Select(Element(kModules, "M1"));
    Key(WXK_INSERT);
    ASSERT_EQ(Db().modules.Count(), 4u);
    EXPECT_EQ(Names(kModules)[0], "M1");
    EXPECT_EQ(Selected(), Db().modules.At(3));

    // Deleting moves to the element now at the same place, the last one, then the list.
    Select(Element(kSeries, "S1"));
    Key(WXK_DELETE);
    EXPECT_EQ(Selected(), Element(kSeries, "S2"));
    Select(Element(kSeries, "S3"));
    Key(WXK_DELETE);
    EXPECT_EQ(Selected(), Element(kSeries, "S2"));
    Key(WXK_DELETE);
    EXPECT_EQ(Selected(), &Db().seriesList);
    EXPECT_EQ(Db().seriesList.Count(), 0u);
    // Nothing refers to a deleted series any more.
    for (const auto& device : Db().devices.children)
        EXPECT_EQ(static_cast<CioPlc*>(device.get())->series.object, nullptr);
    // The list itself is not deleted.
    Key(WXK_DELETE);
    EXPECT_EQ(Selected(), &Db().seriesList);
}

TEST_F(PlannerViewTest, ANewDocumentEmptiesTheDatabaseItHasAndShowsItsEmptyLists) {
    OpenSmall();
    CioDb* database = &Db();
    ASSERT_TRUE(m_doc->OnNewDocument());
    Pump(20);
    EXPECT_EQ(m_doc->Database(), database);
    ASSERT_EQ(TopLevelItems(&Tree()), 1u);
    EXPECT_EQ(Tree().GetChildrenCount(Id(database), true), 4u);
    for (CioArray* list : Db().Lists())
        EXPECT_EQ(list->Count(), 0u);
}

TEST_F(PlannerViewTest, DoubleClickOpensAClosedBranchAndEditsAnOpenOne) {
    ASSERT_NE(Open(SmallCatalogueFile()), nullptr);
    ASSERT_FALSE(Tree().IsExpanded(Id(&Db())));
    int dialogs = 0;
    m_script.answer = [&](wxDialog* dialog) -> std::optional<int> {
        if (dynamic_cast<ui::CioTypeProperty*>(dialog) != nullptr)
            ++dialogs;
        return wxID_CANCEL;
    };
    Mouse(wxEVT_LEFT_DOWN, LabelCentre(&Db()));
    Mouse(wxEVT_LEFT_UP, LabelCentre(&Db()));
    Mouse(wxEVT_LEFT_DCLICK, LabelCentre(&Db()));
    EXPECT_TRUE(Tree().IsExpanded(Id(&Db())));
    EXPECT_EQ(dialogs, 0);
    Mouse(wxEVT_LEFT_DCLICK, LabelCentre(&Db()));
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(Tree().IsExpanded(Id(&Db())));
    // "Storno" changes nothing.
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(PlannerViewTest, ADraggedModuleLandsBeforeOrAfterAnotherModuleAndNowhereElse) {
    OpenSmall();
    CioType* m1 = Element(kModules, "M1");
    CioType* m2 = Element(kModules, "M2");
    ui::PlannerDrag& drag = *View().Drag();
    Select(m1);
    EXPECT_TRUE(drag.CanStart(m1->treeItem, LabelCentre(m1)));
    EXPECT_FALSE(drag.CanStart(Db().modules.treeItem, LabelCentre(&Db().modules)));
    drag.Begin(m1->treeItem);
    EXPECT_EQ(drag.Over(LabelCentre(Element(kKinds, "B"))), wxDragNone);
    EXPECT_EQ(drag.Highlighted(), kNoItem);
    EXPECT_FALSE(drag.Drop(drag.Token()));
    EXPECT_EQ(Names(kModules), (std::vector<std::string>{"M1", "M2"}));
    // Below it: after it.
    EXPECT_EQ(drag.Over(LabelCentre(m2)), wxDragCopy);
    EXPECT_EQ(drag.Highlighted(), m2->treeItem);
    EXPECT_TRUE(drag.Drop(drag.Token()));
    drag.End();
    EXPECT_EQ(Names(kModules), (std::vector<std::string>{"M2", "M1"}));
    EXPECT_EQ(Selected(), m1);
    EXPECT_TRUE(m_doc->IsModified());
    // Above it: before it.
    drag.Begin(m1->treeItem);
    drag.Over(LabelCentre(m2));
    EXPECT_TRUE(drag.Drop(drag.Token()));
    drag.End();
    EXPECT_EQ(Names(kModules), (std::vector<std::string>{"M1", "M2"}));
    EXPECT_EQ(Tree().GetItemText(Tree().GetNextSibling(Id(m1))), "M2");

    // A drop from another planner window used to move this window's selected item; a tree now
    // takes only its own drags.
    CPlannerDoc* first = m_doc;
    ASSERT_NE(Open(SmallCatalogueFile("druhy.pp")), nullptr);
    for (CioArray* list : Db().Lists())
        Tree().Expand(Id(list));
    CioType* other = Element(kModules, "M2");
    Select(other);
    View().Drag()->Begin(other->treeItem);
    const wxString token = View().Drag()->Token();
    m_doc = first;
    EXPECT_EQ(drag.Over(LabelCentre(m2)), wxDragNone);
    EXPECT_FALSE(drag.Drop(token));
    EXPECT_EQ(Names(kModules), (std::vector<std::string>{"M1", "M2"}));
}

TEST_F(PlannerViewTest, TheWheelMovesOneShownItemPerWholeNotch) {
    OpenSmall();
    Select(Element(kKinds, "T"));
    const wxPoint anywhere = LabelCentre(&Db());
    Mouse(wxEVT_MOUSEWHEEL, anywhere, 60);
    EXPECT_EQ(Selected(), Element(kKinds, "T"));
    Mouse(wxEVT_MOUSEWHEEL, anywhere, 240);
    EXPECT_EQ(Selected(), Element(kKinds, "A"));
    Mouse(wxEVT_MOUSEWHEEL, anywhere, -360);
    EXPECT_EQ(Selected(), &Db().modules);
    // A closed branch's elements are passed over.
    Tree().Collapse(Id(&Db().modules));
    Mouse(wxEVT_MOUSEWHEEL, anywhere, -120);
    EXPECT_EQ(Selected(), &Db().seriesList);
    // The last item stops the turn.
    Select(Element(3, "D3"));
    Mouse(wxEVT_MOUSEWHEEL, anywhere, -480);
    EXPECT_EQ(Selected(), Element(3, "D3"));
}

TEST_F(PlannerViewTest, HelpShowsTheItemsHelpOrSaysThereIsNone) {
    OpenSmall();
    Select(Element(kKinds, "A"));
    View().OnShowHelp();
    Pump(50);
    EXPECT_TRUE(View().ToolTip()->IsVisible());
    Key(WXK_ESCAPE);
    EXPECT_FALSE(View().ToolTip()->IsVisible());
    Select(Element(kKinds, "B"));
    View().OnShowHelp();
    EXPECT_EQ(m_script.Messages(), std::vector<wxString>{ui::Text(ui::UiText::NoHelp)});
    EXPECT_FALSE(View().ToolTip()->IsVisible());
}

TEST_F(PlannerViewTest, ASavedFileOpensWithItsTreeStateAndStaysOutOfTheRecentFiles) {
    const std::string path = SmallCatalogueFile();
    ASSERT_NE(Open(path), nullptr);
    Tree().Expand(Id(&Db()));
    Tree().Expand(Id(&Db().modules));
    Select(Element(kModules, "M2"));
    Pump(50);
    EXPECT_EQ(m_manager->GetHistoryFilesCount(), 0u);
    ASSERT_TRUE(m_doc->OnSaveDocument(path));
    m_manager->CloseDocuments(true);
    Pump(20);

    ASSERT_NE(Open(path), nullptr);
    EXPECT_TRUE(Tree().IsExpanded(Id(&Db().modules)));
    EXPECT_FALSE(Tree().IsExpanded(Id(&Db().ioKinds)));
    EXPECT_EQ(Selected(), Element(kModules, "M2"));
    EXPECT_EQ(m_manager->GetHistoryFilesCount(), 0u);
}

TEST_F(PlannerViewTest, TheTerminalRadioButtonGivesTheKindTheTerminalImage) {
    OpenSmall();
    CioType* kind = Element(kKinds, "A");
    Select(kind);
    m_script.answer = [&](wxDialog* dialog) -> std::optional<int> {
        auto* property = dynamic_cast<ui::CioTypeProperty*>(dialog);
        if (property == nullptr)
            return std::nullopt;
        return EditAndPressOk(dialog, [property] { property->Terminal()->SetValue(true); });
    };
    Key(WXK_RETURN);
    EXPECT_EQ(kind->Category(), 1);
    EXPECT_EQ(Tree().GetItemImage(Id(kind)), 8);
    EXPECT_TRUE(m_doc->IsModified());
}

// Objects read from a file keep the identities stored there, and the counter that numbers new
// objects could hand one of those out again: the saved file then named two objects with one
// identity, and the next load asked about it and tied references to the wrong object.
TEST_F(PlannerViewTest, ANewObjectNeverSharesAnIdentityInTheSavedFile) {
    const std::string path = SmallCatalogueFile();
    OpenSmall();
    CioType* kindA = Element(kKinds, "A");
    const uint32_t next = CioType().id + 1;
    kindA->id = next;
    Select(&Db().ioKinds);
    Key(WXK_INSERT);
    ASSERT_EQ(Db().ioKinds.At(3)->id, next);
    ASSERT_TRUE(m_doc->OnSaveDocument(path));
    m_manager->CloseDocuments(true);
    Pump(20);
    ASSERT_NE(Open(path), nullptr);
    EXPECT_TRUE(m_script.Messages().empty());
    const auto& entries =
        static_cast<CioVariant*>(static_cast<CioModul*>(Element(kModules, "M1"))->At(0))->entries;
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0], Element(kKinds, "A"));
    EXPECT_EQ(entries[3], Element(kKinds, "B"));
}

TEST_F(PlannerViewTest, ExportSavesTheCatalogueAndSendsItToTheServer) {
    FtpTestServer server;
    setenv("PINSUM_FTP_URL", server.Url().c_str(), 1);
    setenv("PINSUM_FTP_USER", FtpTestServer::kUser, 1);
    setenv("PINSUM_FTP_PASSWORD", FtpTestServer::kPassword, 1);
    OpenSmall();
    Select(&Db().ioKinds);
    Key(WXK_INSERT);
    View().OnExportDbFile();
    unsetenv("PINSUM_FTP_URL");
    unsetenv("PINSUM_FTP_USER");
    unsetenv("PINSUM_FTP_PASSWORD");
    EXPECT_FALSE(m_doc->IsModified());
    ASSERT_TRUE(server.HasFile("katalog.pp"));
    EXPECT_EQ(server.FileBytes("katalog.pp"), ReadFileBytes(m_folder.File("katalog.pp")));
    EXPECT_EQ(m_script.Messages(), std::vector<wxString>{ui::Text(TextId::DatabaseSaved)});
}

TEST_F(PlannerViewTest, ScreenshotOfTheTree) {
    ASSERT_NE(Open(SampleCatalogue()), nullptr);
    m_doc->SetFilename(m_folder.File("iodb.pp"));
    Tree().Expand(Id(&Db()));
    Tree().Expand(Id(&Db().ioKinds));
    Tree().Expand(Id(&Db().modules));
    Select(Db().modules.At(1));
    Pump(200);
    SaveScreenshot(View().GetFrame()->GetScreenRect(), "planner_tree.png");
}

} // namespace
} // namespace pinsum::test
