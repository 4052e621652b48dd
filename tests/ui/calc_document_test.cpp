// The calculator document and view in a document manager: a calculation saved and opened again,
// and a file of another kind.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/docview.h>

#include "calc/calc_doc.h"
#include "calc/calc_view.h"
#include "calc/view_calculator_panel.h"
#include "common/ui_ids.h"
#include "common/wx_text.h"
#include "host/program_folders.h"
#include "model/cio_project.h"
#include "model/cio_solution.h"
#include "solver/search_request.h"
#include "support/ftp_test_server.h"
#include "ui/gui_test_support.h"

namespace pinsum::test {
namespace {

// Every item's text and check box, depth first.
std::vector<std::string> TreeState(ui::WxTreeControl& tree, TreeItem parent = kNoItem) {
    std::vector<std::string> state;
    for (TreeItem item = tree.GetFirstChild(parent); item != kNoItem;
         item = tree.GetNextSibling(item)) {
        state.push_back(ui::FromModel(tree.GetItemText(item)).utf8_string() +
                        (tree.IsChecked(item) ? " [x]" : " [ ]"));
        for (const std::string& child : TreeState(tree, item))
            state.push_back("  " + child);
    }
    return state;
}

class CalcDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(SampleCatalogue(), m_folder.File("iodb.pp"));
        InitGlobals("\"" + m_folder.File("pinsum-host") + "\"");
        m_manager = new wxDocManager();
        new wxDocTemplate(m_manager, "Kalkulace", "*.ppl", "", "ppl", "Calc Doc", "Calc View",
                          CLASSINFO(CCalcDoc), CLASSINFO(CCalcView));
        m_frame = ShowDocumentFrame(m_manager);
    }
    void TearDown() override {
        CloseDocumentWindows(m_manager, m_frame);
        ResetProgramFolders();
    }
    CCalcDoc* Current() { return dynamic_cast<CCalcDoc*>(m_manager->GetCurrentDocument()); }
    ui::ViewCalculatorPanel& Form(CCalcDoc* doc) {
        return *dynamic_cast<CCalcView*>(doc->GetFirstView())->Form();
    }

    TempFolder m_folder;
    DialogScript m_script;
    wxDocManager* m_manager = nullptr;
    wxDocParentFrame* m_frame = nullptr;
};

TEST_F(CalcDocumentTest, ASavedCalculationOpensWithTheSameTreesAndSolutions) {
    CCalcDoc* doc = dynamic_cast<CCalcDoc*>(m_manager->CreateDocument("", wxDOC_NEW));
    ASSERT_NE(doc, nullptr);
    ASSERT_NE(doc->Project(), nullptr);
    ui::ViewCalculatorPanel& form = Form(doc);
    const SearchRequest request = ParseSearchRequest(
        R"({"counts": {"DI 24V DC": 8},
            "series": ["Řada MK", "Řada TX"]})");
    ApplySearchRequest(request, *doc->Project());
    form.FillFromProject();
    form.UpdateCheckList(false);
    doc->Modify(true);
    // One device of a chosen series left out: the saved file must keep that unchecked box.
    ui::WxTreeControl& selector = form.SelectorTreeControl();
    const TreeItem tx = selector.GetNextSibling(selector.GetFirstChild(kNoItem));
    selector.SetChecked(selector.GetFirstChild(tx), false);
    form.StartSearch(ui::SearchMode::SearchOnly);
    ASSERT_GT(form.SolutionCount(), 1);
    const int solutions = form.SolutionCount();
    const auto ioTree = TreeState(form.IoTreeControl());
    const auto terminals = TreeState(form.TerminalTreeControl());
    const auto series = TreeState(selector);
    const auto firstRows = form.List()->Rows().Rows();

    const std::string path = m_folder.File("vypocet.ppl");
    ASSERT_TRUE(doc->OnSaveDocument(path));
    ASSERT_TRUE(std::filesystem::exists(path));
    m_manager->CloseDocuments(true);
    Pump(20);

    doc = dynamic_cast<CCalcDoc*>(m_manager->CreateDocument(path, wxDOC_SILENT));
    ASSERT_NE(doc, nullptr);
    ASSERT_NE(doc->Project(), nullptr);
    Pump(50);
    ui::ViewCalculatorPanel& reopened = Form(doc);
    EXPECT_EQ(reopened.SolutionCount(), solutions);
    EXPECT_EQ(TreeState(reopened.IoTreeControl()), ioTree);
    EXPECT_EQ(TreeState(reopened.TerminalTreeControl()), terminals);
    EXPECT_EQ(TreeState(reopened.SelectorTreeControl()), series);
    const auto rows = reopened.List()->Rows().Rows();
    ASSERT_EQ(rows.size(), firstRows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].cells, firstRows[i].cells);
}

// The view runs "Nejlevnější řešení" behind its progress dialog and shows the proven cheapest
// solution first.
TEST_F(CalcDocumentTest, TheCheapestSolutionCommandShowsTheProvenCheapestFirst) {
    CCalcDoc* doc = dynamic_cast<CCalcDoc*>(m_manager->CreateDocument("", wxDOC_NEW));
    ASSERT_NE(doc, nullptr);
    ASSERT_NE(doc->Project(), nullptr);
    ui::ViewCalculatorPanel& form = Form(doc);
    std::ifstream in(PINSUM_SAMPLE_REQUEST, std::ios::binary);
    std::stringstream json;
    json << in.rdbuf();
    const SearchRequest request = ParseSearchRequest(json.str());
    ApplySearchRequest(request, *doc->Project());
    form.FillFromProject();
    form.UpdateCheckList(false);
    form.SetLevel(request.level.value_or(0));

    wxCommandEvent command(wxEVT_MENU, ui::MenuId(ui::ID_RESULT_RUN_CHEAPEST));
    form.GetEventHandler()->ProcessEvent(command);
    ASSERT_GT(form.SolutionCount(), 1);
    ASSERT_NE(doc->Project()->Solution(0), nullptr);
    EXPECT_TRUE(doc->Project()->Solution(0)->provenCheapest);
    EXPECT_TRUE(form.Caption()->GetLabel().EndsWith(wxString::FromUTF8(" - Nejlevnější možné "
                                                                       "řešení")));
    Pump(100);
    SaveScreenshot(doc->GetFirstView()->GetFrame()->GetScreenRect(), "calculator_cheapest.png");
}

TEST_F(CalcDocumentTest, ACatalogueFileOpensAsAnEmptyCalculation) {
    // A catalogue under the calculation's extension.
    const std::string path = m_folder.File("katalog.ppl");
    std::filesystem::copy_file(m_folder.File("iodb.pp"), path);
    CCalcDoc* doc = dynamic_cast<CCalcDoc*>(m_manager->CreateDocument(path, wxDOC_SILENT));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->Project(), nullptr);
    Pump(20);
    EXPECT_EQ(TopLevelItems(Form(doc).IoTree()), 0u);
    // The form has nothing to search.
    Form(doc).StartSearch(ui::SearchMode::SearchOnly);
    EXPECT_EQ(Form(doc).SolutionCount(), 0);
}

} // namespace
} // namespace pinsum::test
