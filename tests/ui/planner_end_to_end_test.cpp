// A catalogue written from nothing in the planner, as an author would, then used by the
// calculator: its search there finds what `pinsum solve` finds in the saved file.
#include <cstdio>
#include <fstream>

#include <wx/button.h>
#include <wx/msgdlg.h>

#include "common/ui_ids.h"
#include "common/wx_text.h"
#include "host/memory_settings.h"
#include "host/pinsum_dialog.h"
#include "model/cio_plc.h"
#include "model/cio_project.h"
#include "planner/list_dialog.h"
#include "planner/module_property.h"
#include "planner/type_property.h"
#include "planner/variant_property.h"
#include "solver/search_request.h"
#include "solver/solution_report.h"
#include "ui/planner_test_support.h"

namespace pinsum::test {
namespace {

// The kinds' places in the pick list of a module.
constexpr int DI = 0;
constexpr int DO = 1;

wxString U(const char* utf8) {
    return wxString::FromUTF8(utf8);
}

class PlannerEndToEndTest : public PlannerTest {
protected:
    void SetUp() override {
        PlannerTest::SetUp();
        m_script.answer = [this](wxDialog* dialog) -> std::optional<int> {
            if (dynamic_cast<wxMessageDialog*>(dialog) != nullptr)
                return std::nullopt;
            if (auto* pick = dynamic_cast<ui::PickListDialog*>(dialog)) {
                pick->Pick(m_pick);
                return wxID_OK;
            }
            if (auto* variant = dynamic_cast<ui::CioVariantProperty*>(dialog))
                return EditAndPressOk(dialog,
                                      [&] { variant->NameField()->SetValue(U(m_variantName)); });
            if (m_edit)
                return EditAndPressOk(dialog, [&] { m_edit(dialog); });
            return std::nullopt;
        };
    }
    // Insert on the list, then Enter on the new element with its dialog filled in by edit.
    void Add(int list, const std::function<void(wxDialog*)>& edit) {
        Select(Db().Lists()[list]);
        Key(WXK_INSERT);
        m_edit = edit;
        Key(WXK_RETURN);
        m_edit = nullptr;
    }
    // A new variant after the selected one, named, with the picked entries.
    void AddVariant(ui::CioModuleProperty& dialog, const char* name, std::vector<int> picks) {
        dialog.InsertVariant(true);
        m_variantName = name;
        dialog.EditVariant(dialog.Variants()->Selected());
        for (const int pick : picks) {
            m_pick = pick;
            dialog.InsertPoint(true);
        }
    }

    int m_pick = 0;
    const char* m_variantName = "";
    std::function<void(wxDialog*)> m_edit;
};

TEST_F(PlannerEndToEndTest, ACatalogueMadeInThePlannerSolvesInTheCalculatorAsOnTheCommandLine) {
    m_doc = dynamic_cast<CPlannerDoc*>(m_manager->CreateDocument("", wxDOC_NEW));
    ASSERT_NE(m_doc, nullptr);
    Pump(50);
    for (const char* name : {"DI", "DO"})
        Add(0, [name](wxDialog* dialog) {
            static_cast<ui::CioTypeProperty*>(dialog)->NameField()->SetValue(U(name));
        });
    Add(1, [this](wxDialog* dialog) {
        auto& module = *static_cast<ui::CioModuleProperty*>(dialog);
        module.NameField()->SetValue("M8");
        module.PriceField()->SetValue("100");
        AddVariant(module, "8 DI", std::vector<int>(8, DI));
        AddVariant(module, "8 DO", std::vector<int>(8, DO));
    });
    Add(1, [this](wxDialog* dialog) {
        auto& module = *static_cast<ui::CioModuleProperty*>(dialog);
        module.NameField()->SetValue("M4");
        module.PriceField()->SetValue("60,50");
        AddVariant(module, "2 DI 2 DO", {DI, DI, DO, DO});
    });
    Add(2, [](wxDialog* dialog) {
        auto& series = *static_cast<ui::CioLineProperty*>(dialog);
        series.NameField()->SetValue(U("Řada X"));
        series.OfferDefault()->SetValue(true);
    });
    Add(3, [this](wxDialog* dialog) {
        auto& device = *static_cast<ui::CioPlcProperty*>(dialog);
        device.NameField()->SetValue("PLC X");
        device.PriceField()->SetValue("500");
        device.TypeChoice()->SetSelection(0);
        device.SeriesChoice()->SetSelection(0);
        device.Networks()->CheckItem(0, true);
        // "--", then M8 and M4.
        for (const char* position : {"P1", "P2", "P3"})
            AddVariant(device, position, {1, 2});
    });
    ASSERT_EQ(Db().modules.Count(), 2u);
    ASSERT_EQ(Db().devices.Count(), 1u);
    ASSERT_EQ(static_cast<CioModul*>(Db().devices.At(0))->Count(), 3u);
    const std::string catalogue = m_folder.File("iodb.pp");
    ASSERT_TRUE(m_doc->OnSaveDocument(catalogue));
    m_manager->CloseDocuments(true);
    Pump(20);

    const std::string requestPath = m_folder.File("request.json");
    const char* request = R"({"level": 0, "counts": {"DI": 10, "DO": 6}})";
    std::ofstream(requestPath) << request;
    const std::string command = std::string(PINSUM_CLI) + " solve --catalogue '" + catalogue +
                                "' --request '" + requestPath + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string printed;
    char buffer[4096];
    while (size_t read = fread(buffer, 1, sizeof buffer, pipe))
        printed.append(buffer, read);
    ASSERT_EQ(pclose(pipe), 0) << printed;

    // The calculator finds the saved file as its catalogue in the program folder.
    m_script.Clear();
    auto* calculator = new ui::CPinsumDialog(nullptr, std::make_unique<MemorySettings>());
    calculator->Show();
    Pump(100);
    const SearchRequest parsed = ParseSearchRequest(request);
    ApplySearchRequest(parsed, calculator->Project());
    calculator->Form().FillFromProject();
    calculator->Form().UpdateCheckList(false);
    calculator->Form().SetLevel(0);
    Click(wxWindow::FindWindowById(ui::ID_BUTTON_CALC, calculator));
    ASSERT_TRUE(PumpUntil([calculator] { return !calculator->SearchRunning(); }));
    const std::string message =
        m_script.Messages().empty() ? std::string() : m_script.Messages().back().utf8_string();
    EXPECT_EQ(message + "\n" + SolutionsReport(calculator->Project()), printed);
    EXPECT_GT(calculator->Form().SolutionCount(), 0);
    calculator->Destroy();
    Pump(20);
}

} // namespace
} // namespace pinsum::test
