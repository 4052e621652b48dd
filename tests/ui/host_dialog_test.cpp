// The host dialog driven as a user drives it: searching, browsing, counts, check boxes, keys,
// the report and the clipboard, and a catalogue that is not there.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <utility>

#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/uiaction.h>

#include "common/ui_ids.h"
#include "common/ui_texts.h"
#include "common/wx_text.h"
#include "controls/image_menu.h"
#include "host/memory_settings.h"
#include "host/pinsum_dialog.h"
#include "host/program_folders.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "solver/search_request.h"
#include "support/ftp_test_server.h"
#include "ui/gui_test_support.h"

namespace pinsum::test {
namespace {

using ui::CPinsumDialog;

constexpr const char* kOneSolution = R"({"level": 0, "counts": {"DI 24V DC": 40,
    "DO tranzistor": 24, "AI 4-20mA": 8, "Port RS-485": 1, "Displej 4x20": 1},
    "terminals_enabled": ["Displej 4x20"], "series": ["Řada TX", "Řada MK"]})";
constexpr const char* kThreeSolutions =
    R"({"level": 0, "counts": {"DI 24V DC": 8}, "series": ["Řada MK"]})";

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class HostDialogTest : public ::testing::Test {
protected:
    // The program folder holds the sample catalogue unless a test says otherwise.
    void Open(bool withCatalogue = true, const std::string& catalogueBytes = {}) {
        if (withCatalogue && catalogueBytes.empty())
            std::filesystem::copy_file(SampleCatalogue(), m_folder.File("iodb.pp"));
        else if (withCatalogue)
            std::ofstream(m_folder.File("iodb.pp"), std::ios::binary) << catalogueBytes;
        InitGlobals("\"" + m_folder.File("pinsum-host") + "\"");
        m_dialog = new CPinsumDialog(nullptr, std::make_unique<MemorySettings>());
        m_dialog->Show();
        Pump(100);
    }
    void TearDown() override {
        if (m_dialog != nullptr) {
            PumpUntil([this] { return !m_dialog->SearchRunning(); });
            m_dialog->Destroy();
            Pump(20);
        }
        ResetProgramFolders();
    }

    ui::HostCalculatorPanel& Form() { return m_dialog->Form(); }
    template <class T> T* Control(int id) {
        return dynamic_cast<T*>(wxWindow::FindWindowById(id, m_dialog));
    }
    // Sets counts, terminals and series as the user would, and the slider.
    void Request(const char* json) {
        const SearchRequest request = ParseSearchRequest(json);
        ApplySearchRequest(request, m_dialog->Project());
        Form().FillFromProject();
        Form().UpdateCheckList(false);
        Form().SetLevel(request.level.value_or(0));
    }
    void Search() {
        Click(Control<wxButton>(ui::ID_BUTTON_CALC));
        ASSERT_TRUE(PumpUntil([this] { return !m_dialog->SearchRunning(); }));
    }
    std::vector<bool> Enabled() {
        std::vector<bool> states;
        for (const int id : {ui::ID_BUTTON_START, ui::ID_BUTTON_PREVIOUS, ui::ID_BUTTON_NEXT,
                             ui::ID_BUTTON_END, ui::ID_SOLUTION_NUMBER})
            states.push_back(wxWindow::FindWindowById(id, m_dialog)->IsEnabled());
        return states;
    }
    wxString Caption() { return Form().Caption()->GetLabel(); }

    TempFolder m_folder;
    DialogScript m_script;
    CPinsumDialog* m_dialog = nullptr;
};

TEST_F(HostDialogTest, EscapeDuringSearchKeepsTheDialogAndAfterItClosesIt) {
    Open();
    Request(kOneSolution);
    Click(Control<wxButton>(ui::ID_BUTTON_CALC));
    // The worker has not reported yet: no event has been handled since the click.
    ASSERT_TRUE(m_dialog->SearchRunning());
    EXPECT_TRUE(Control<wxButton>(ui::ID_BUTTON_STOP)->IsEnabled());
    EXPECT_FALSE(Control<wxButton>(ui::ID_BUTTON_CALC)->IsEnabled());
    PressKey(Control<wxWindow>(ui::ID_TREE_IO), WXK_ESCAPE);
    EXPECT_TRUE(m_dialog->IsShown());
    ASSERT_TRUE(PumpUntil([this] { return !m_dialog->SearchRunning(); }));
    EXPECT_TRUE(m_dialog->IsShown());
    PressKey(Control<wxWindow>(ui::ID_TREE_IO), WXK_ESCAPE);
    EXPECT_FALSE(m_dialog->IsShown());
    EXPECT_EQ(m_dialog->GetReturnCode(), wxID_CANCEL);
}

TEST_F(HostDialogTest, NoneOneAndThreeSolutionsEnableTheBrowsingAsTheyShould) {
    Open();
    // No counts: the search refuses, nothing to browse.
    Search();
    EXPECT_EQ(Form().SolutionCount(), 0);
    EXPECT_EQ(Caption(), "");
    EXPECT_EQ(Enabled(), std::vector<bool>({false, false, false, false, false}));
    ASSERT_FALSE(m_script.Messages().empty());
    EXPECT_EQ(m_script.Messages().back(), ui::Text(TextId::NoCountsRequested));

    Request(kOneSolution);
    Search();
    EXPECT_EQ(Form().SolutionCount(), 1);
    EXPECT_EQ(Caption(), wxString::FromUTF8("Řešení 1 z 1"));
    EXPECT_EQ(Enabled(), std::vector<bool>({false, false, false, false, false}));

    Request(kThreeSolutions);
    Search();
    ASSERT_EQ(Form().SolutionCount(), 3);
    EXPECT_EQ(Enabled(), std::vector<bool>({false, false, true, true, true}));
    Click(Control<wxButton>(ui::ID_BUTTON_NEXT));
    EXPECT_EQ(Caption(), wxString::FromUTF8("Řešení 2 z 3"));
    EXPECT_EQ(Enabled(), std::vector<bool>({true, true, true, true, true}));
    Click(Control<wxButton>(ui::ID_BUTTON_END));
    EXPECT_EQ(Form().CurrentIndex(), 2);
    EXPECT_EQ(Enabled(), std::vector<bool>({true, true, false, false, true}));
    Click(Control<wxButton>(ui::ID_BUTTON_START));
    EXPECT_EQ(Form().CurrentIndex(), 0);
}

TEST_F(HostDialogTest, TypingANumberAndEnterShowsThatSolution) {
    Open();
    Request(kThreeSolutions);
    Search();
    wxTextCtrl* number = Control<wxTextCtrl>(ui::ID_SOLUTION_NUMBER);
    number->SetValue("3");
    number->SetFocus();
    Pump(50);
    PressKey(number, WXK_RETURN);
    EXPECT_EQ(Form().CurrentIndex(), 2);
    EXPECT_EQ(Caption(), wxString::FromUTF8("Řešení 3 z 3"));
    EXPECT_TRUE(m_dialog->IsShown());
    // Outside 1..3 the range message comes and the shown solution stays.
    number->SetValue("4");
    PressKey(number, WXK_RETURN);
    EXPECT_EQ(Form().CurrentIndex(), 2);
    ASSERT_FALSE(m_script.Messages().empty());
    EXPECT_EQ(m_script.Messages().back(), wxString::FromUTF8("Zadejte celé číslo od 1 do 3."));
    // The field shows the solution that is still shown, not the refused number.
    EXPECT_EQ(number->GetValue(), "3");
}

TEST_F(HostDialogTest, DoubleClickExpandsACollapsedParentAndEditsACount) {
    Open();
    ui::WxTreeControl& tree = Form().IoTreeControl();
    // The request items stand flat; a parent is put in front of them to have one.
    const TreeItem parent = tree.InsertItem(kNoItem, kInsertFirst, "Skupina", 1, 1, nullptr);
    tree.InsertItem(parent, kInsertLast, "Položka", 4, 4, nullptr);
    wxTreeCtrl* control = Form().IoTree();
    ASSERT_FALSE(control->IsExpanded(ui::WxTreeControl::Id(parent)));
    Pump(100);
    wxRect rect;
    ASSERT_TRUE(control->GetBoundingRect(ui::WxTreeControl::Id(parent), rect, true));
    wxUIActionSimulator mouse;
    mouse.MouseMove(control->ClientToScreen(rect.GetPosition() + wxPoint(5, rect.height / 2)));
    Pump(50);
    mouse.MouseDblClick();
    ASSERT_TRUE(
        PumpUntil([&] { return control->IsExpanded(ui::WxTreeControl::Id(parent)); }, 3000));
    EXPECT_TRUE(m_script.shown.empty());

    // The same on a request item opens its count editor.
    const wxTreeItemId item = control->GetNextSibling(ui::WxTreeControl::Id(parent));
    ASSERT_TRUE(control->GetBoundingRect(item, rect, true));
    mouse.MouseMove(control->ClientToScreen(rect.GetPosition() + wxPoint(5, rect.height / 2)));
    Pump(50);
    mouse.MouseDblClick();
    ASSERT_TRUE(PumpUntil([&] { return !m_script.shown.empty(); }, 3000));
    EXPECT_EQ(m_script.shown[0].kind, "count");
    EXPECT_EQ(m_script.shown[0].message, "DI 24V DC");
}

TEST_F(HostDialogTest, CheckingAnExclusiveSeriesUnchecksTheOtherExclusiveOne) {
    Open();
    wxTreeCtrl* control = Form().SelectorTree();
    ui::WxTreeControl& tree = Form().SelectorTreeControl();
    std::map<std::string, TreeItem> series;
    for (TreeItem item = tree.GetFirstChild(kNoItem); item != kNoItem;
         item = tree.GetNextSibling(item))
        series[ui::ToModel(ui::FromModel(tree.GetItemText(item)))] = item;
    auto toggle = [&](const char* utf8) {
        const TreeItem item = series.at(ui::ToModel(wxString::FromUTF8(utf8)));
        wxTreeEvent click(wxEVT_TREE_STATE_IMAGE_CLICK, control, ui::WxTreeControl::Id(item));
        control->GetEventHandler()->ProcessEvent(click);
        Pump(30);
    };
    auto checked = [&](const char* utf8) {
        return tree.IsChecked(series.at(ui::ToModel(wxString::FromUTF8(utf8))));
    };
    ASSERT_TRUE(checked("Řada TX"));
    toggle("Řada RV");
    EXPECT_TRUE(checked("Řada RV"));
    const TreeItem rv = series.at(ui::ToModel(wxString::FromUTF8("Řada RV")));
    for (TreeItem device = tree.GetFirstChild(rv); device != kNoItem;
         device = tree.GetNextSibling(device))
        EXPECT_TRUE(tree.IsChecked(device)) << tree.GetItemText(device);
    toggle("Řada MK");
    EXPECT_TRUE(checked("Řada MK"));
    EXPECT_FALSE(checked("Řada RV"));
    for (TreeItem device = tree.GetFirstChild(rv); device != kNoItem;
         device = tree.GetNextSibling(device))
        EXPECT_FALSE(tree.IsChecked(device)) << tree.GetItemText(device);
    // A series that is not exclusive keeps its mark.
    EXPECT_TRUE(checked("Řada TX"));
}

// The result list shows what `pinsum solve` prints for the same request, solution by solution.
TEST_F(HostDialogTest, ACompleteSearchShowsWhatTheCommandLineFinds) {
    Open();
    const std::string requestPath = m_folder.File("request.json");
    std::filesystem::copy_file(PINSUM_SAMPLE_REQUEST, requestPath);
    Request(ReadText(requestPath).c_str());
    Search();

    const std::string command = std::string(PINSUM_CLI) + " solve --catalogue '" +
                                SampleCatalogue() + "' --request '" + requestPath + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    while (size_t read = fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, read);
    ASSERT_EQ(pclose(pipe), 0);

    // Each solution's block: its line, then one line per device (one tab in front).
    std::vector<std::vector<std::string>> blocks;
    std::istringstream lines(output);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(wxString::FromUTF8(line), m_script.Messages().back());
    while (std::getline(lines, line)) {
        if (line.rfind("\t\t", 0) == 0)
            continue;
        if (line.rfind('\t', 0) == 0)
            blocks.back().push_back(line.substr(1));
        else
            blocks.push_back({line});
    }
    ASSERT_EQ(static_cast<int>(blocks.size()), Form().SolutionCount());
    ASSERT_GT(blocks.size(), 1u);
    for (size_t n = 0; n < blocks.size(); ++n) {
        SCOPED_TRACE(blocks[n][0]);
        Form().UpdateResultDirect(static_cast<int>(n) + 1);
        const auto& rows = Form().List()->Rows().Rows();
        ASSERT_GE(rows.size(), blocks[n].size());
        const auto& total = rows[0].cells;
        char expected[256];
        std::snprintf(expected, sizeof expected, "%s: %zu, Cena: %s, %s IO %s,  %s IO %s", "Řešení",
                      n + 1, total[1].c_str(), "Použité", total[2].c_str(), "Nepoužité",
                      total[3].c_str());
        EXPECT_EQ(blocks[n][0], expected);
        for (size_t device = 1; device < blocks[n].size(); ++device)
            EXPECT_EQ(blocks[n][device], ui::FromModel(rows[device].cells[0]).utf8_string());
    }
    Form().UpdateResultDirect(1);
    Pump(100);
    SaveScreenshot(m_dialog->GetScreenRect(), "calculator.png");
}

// "Nejlevnější řešení" stands after "Navrhnout řešení" in the context menu, is enabled exactly
// when that is, and lists the proven cheapest solution first; the next plain search does not.
TEST_F(HostDialogTest, TheCheapestSolutionCommandListsTheProvenCheapestFirst) {
    Open();
    Request(ReadText(PINSUM_SAMPLE_REQUEST).c_str());
    const std::unique_ptr<wxMenu> menu = ui::CImageMenu::CreateContextMenu();
    const wxMenuItemList& items = menu->GetMenuItems();
    const auto search = std::find_if(items.begin(), items.end(), [](const wxMenuItem* item) {
        return item->GetId() == ui::MenuId(ui::ID_RESULT_RUN_COMPILE);
    });
    ASSERT_NE(search, items.end());
    const wxMenuItem* cheapest = *std::next(search);
    EXPECT_EQ(cheapest->GetId(), ui::MenuId(ui::ID_RESULT_RUN_CHEAPEST));
    EXPECT_EQ(cheapest->GetItemLabelText(), wxString::FromUTF8("Nejlevnější řešení"));
    const auto enabled = [&] {
        menu->UpdateUI(&Form());
        return std::pair(menu->IsEnabled(ui::MenuId(ui::ID_RESULT_RUN_COMPILE)),
                         menu->IsEnabled(ui::MenuId(ui::ID_RESULT_RUN_CHEAPEST)));
    };
    EXPECT_EQ(enabled(), std::pair(true, true));

    wxCommandEvent command(wxEVT_MENU, ui::MenuId(ui::ID_RESULT_RUN_CHEAPEST));
    Form().GetEventHandler()->ProcessEvent(command);
    ASSERT_TRUE(m_dialog->SearchRunning());
    EXPECT_EQ(enabled(), std::pair(false, false));
    ASSERT_TRUE(PumpUntil([this] { return !m_dialog->SearchRunning(); }));
    EXPECT_EQ(enabled(), std::pair(true, true));

    ASSERT_GT(Form().SolutionCount(), 1);
    CioSolution* first = m_dialog->Project().Solution(0);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->provenCheapest);
    for (int n = 1; n < Form().SolutionCount(); ++n) {
        CioSolution* other = m_dialog->Project().Solution(static_cast<size_t>(n));
        EXPECT_FALSE(other->provenCheapest) << n;
        EXPECT_LE(first->GetPrice(), other->GetPrice()) << n;
    }
    EXPECT_EQ(Caption(), wxString::Format(wxString::FromUTF8("Řešení 1 z %d - Nejlevnější "
                                                             "možné řešení"),
                                          Form().SolutionCount()));
    Click(Control<wxButton>(ui::ID_BUTTON_NEXT));
    EXPECT_EQ(Caption(),
              wxString::Format(wxString::FromUTF8("Řešení 2 z %d"), Form().SolutionCount()));

    Search();
    ASSERT_NE(m_dialog->Project().Solution(0), nullptr);
    EXPECT_FALSE(m_dialog->Project().Solution(0)->provenCheapest);
}

TEST_F(HostDialogTest, TheClipboardGetsTheReportText) {
    Open();
    Request(kOneSolution);
    Search();
    ASSERT_EQ(Form().List()->SelectedRow(), 0);
    Form().OnShowSolutionDetail();
    ASSERT_EQ(m_script.shown.size(), 2u);
    ASSERT_EQ(m_script.shown[1].kind, "report");
    const wxString report = m_script.shown[1].message;
    EXPECT_TRUE(report.StartsWith(wxString::FromUTF8("Řešení: 1, Cena: ")));
    Form().OnExportToClip();
    wxTextDataObject pasted;
    {
        wxClipboardLocker clipboard;
        ASSERT_FALSE(!clipboard);
        ASSERT_TRUE(wxTheClipboard->GetData(pasted));
    }
    EXPECT_EQ(pasted.GetText(), report);
}

TEST_F(HostDialogTest, AMissingCatalogueIsReportedAndLeavesTheTreesEmpty) {
    Open(false);
    ASSERT_EQ(m_script.Messages().size(), 1u);
    EXPECT_TRUE(m_script.Messages()[0].Contains("iodb.pp"));
    EXPECT_EQ(TopLevelItems(Form().IoTree()), 0u);
    EXPECT_EQ(TopLevelItems(Form().SelectorTree()), 0u);
    // Starting a search on nothing only says that nothing was asked for.
    Search();
    EXPECT_EQ(Form().SolutionCount(), 0);
}

TEST_F(HostDialogTest, AnUnreadableCatalogueIsReportedAndLeavesTheTreesEmpty) {
    Open(true, "PINSUM-DATABASE-VERSION-1.0\n broken");
    ASSERT_EQ(m_script.Messages().size(), 1u);
    EXPECT_TRUE(m_script.Messages()[0].Contains(wxString::FromUTF8("nelze načíst")));
    EXPECT_EQ(TopLevelItems(Form().IoTree()), 0u);
}

// Clearing the request or restarting the project during a search used to free the objects the
// search worker was reading.
TEST_F(HostDialogTest, ClearingAndRestartingWaitForTheRunningSearch) {
    Open();
    Request(kThreeSolutions);
    Click(Control<wxButton>(ui::ID_BUTTON_CALC));
    ASSERT_TRUE(m_dialog->SearchRunning());
    Form().OnClearInputList();
    m_dialog->RestartProject();
    ASSERT_TRUE(PumpUntil([this] { return !m_dialog->SearchRunning(); }));
    Pump(50);
    // The restart came after the search: a fresh project, every count 0.
    EXPECT_EQ(Form().SolutionCount(), 0);
    EXPECT_EQ(m_dialog->Project().Count(), 0u);
    wxTreeItemIdValue cookie;
    const wxTreeItemId first =
        Form().IoTree()->GetFirstChild(Form().IoTree()->GetRootItem(), cookie);
    EXPECT_TRUE(Form().IoTree()->GetItemText(first).StartsWith("0 x "));
}

} // namespace
} // namespace pinsum::test

namespace pinsum::test {
namespace {

// Destroying the dialog while its search waited for an answer to its message used to hang:
// the dialog joined the worker that was waiting for the dialog's thread.
TEST_F(HostDialogTest, DestroyingTheDialogDuringASearchEndsItWithoutAsking) {
    Open();
    Request(kThreeSolutions);
    Click(Control<wxButton>(ui::ID_BUTTON_CALC));
    ASSERT_TRUE(m_dialog->SearchRunning());
    // Long enough for the search to reach its closing message.
    wxMilliSleep(300);
    delete m_dialog;
    m_dialog = nullptr;
    EXPECT_TRUE(m_script.Messages().empty());
}

} // namespace
} // namespace pinsum::test
