// The property dialogs of modules, devices and variants as an author uses them: lists numbered
// from 0, inserting before and after, deleting, OK and "Storno", the networks, the price.
#include <wx/button.h>
#include <wx/frame.h>

#include "common/ui_texts.h"
#include "common/wx_text.h"
#include "host/file_io.h"
#include "model/archive.h"
#include "model/catalogue_file.h"
#include "model/cio_plc.h"
#include "model/object_stream.h"
#include "planner/list_dialog.h"
#include "planner/module_property.h"
#include "planner/type_property.h"
#include "planner/variant_property.h"
#include "support/small_catalogue.h"
#include "ui/planner_test_support.h"

namespace pinsum::test {
namespace {

using Rows = std::vector<wxString>;

class PropertyDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_frame = new wxFrame(nullptr, wxID_ANY, "Pinsum");
        m_frame->Show();
        // Every pick list picks the entry the test names.
        m_script.answer = [this](wxDialog* dialog) -> std::optional<int> {
            auto* pick = dynamic_cast<ui::PickListDialog*>(dialog);
            if (pick == nullptr)
                return std::nullopt;
            m_pickFirst.push_back(pick->List()->GetString(0));
            pick->Pick(m_pick);
            return wxID_OK;
        };
    }
    void TearDown() override {
        m_frame->Destroy();
        Pump(20);
    }
    template <class Dialog> void Show(Dialog& dialog) {
        dialog.Show();
        Pump(50);
    }
    // Presses OK; false when the dialog stayed open.
    bool PressOk(wxDialog& dialog) {
        Click(wxWindow::FindWindowById(wxID_OK, &dialog));
        Pump(20);
        return !dialog.IsShown();
    }

    SmallCatalogue c = BuildSmallCatalogue();
    wxFrame* m_frame = nullptr;
    DialogScript m_script;
    int m_pick = 0;
    std::vector<wxString> m_pickFirst;
};

TEST_F(PropertyDialogTest, PointsGoBeforeOrAfterTheSelectedOneAndRowsStayNumbered) {
    ui::CioModuleProperty dialog(m_frame, *c.m1, c.db.get());
    Show(dialog);
    EXPECT_EQ(dialog.Variants()->RowTexts(), (Rows{"0 M1/v1", "1 M1/v2"}));
    EXPECT_EQ(dialog.Points()->RowTexts(), (Rows{"0 A", "1 A", "2 A", "3 B"}));
    // After the last row: appended.
    dialog.Points()->SelectRow(3);
    m_pick = 2;
    dialog.InsertPoint(true);
    EXPECT_EQ(dialog.Points()->RowTexts(), (Rows{"0 A", "1 A", "2 A", "3 B", "4 T"}));
    EXPECT_EQ(dialog.Points()->Selected(), 4);
    // Before, with nothing selected: first.
    dialog.Points()->SelectRow(-1);
    m_pick = 1;
    dialog.InsertPoint(false);
    EXPECT_EQ(dialog.Points()->RowTexts(), (Rows{"0 B", "1 A", "2 A", "3 A", "4 B", "5 T"}));
    dialog.DeletePoint();
    EXPECT_EQ(dialog.Points()->RowTexts(), (Rows{"0 A", "1 A", "2 A", "3 B", "4 T"}));
    // A module's pick list offers the IO point kinds, the first one selected.
    EXPECT_EQ(m_pickFirst, (std::vector<wxString>{"A", "A"}));

    // The other variant's points, and "Storno" keeps the module as it was.
    dialog.Variants()->SelectRow(1);
    EXPECT_EQ(dialog.Points()->GetItemCount(), 8);
    dialog.DeleteVariant();
    EXPECT_EQ(dialog.Variants()->RowTexts(), (Rows{"0 M1/v1"}));
    Click(wxWindow::FindWindowById(wxID_CANCEL, &dialog));
    EXPECT_EQ(c.m1->Count(), 2u);
    EXPECT_EQ(c.m1->Variant(0)->entries,
              (std::vector<CioType*>{c.kindA, c.kindA, c.kindA, c.kindB}));
}

TEST_F(PropertyDialogTest, OkWritesEveryVariantBackInRowOrder) {
    CioVariant* only = c.m2->Variant(0);
    ui::CioModuleProperty dialog(m_frame, *c.m2, c.db.get());
    Show(dialog);
    // Deleting the last IO point leaves the variant with none.
    dialog.DeletePoint();
    dialog.DeletePoint();
    EXPECT_TRUE(dialog.Points()->RowTexts().empty());
    dialog.InsertVariant(false);
    EXPECT_EQ(dialog.Variants()->RowTexts(), (Rows{"0 IO", "1 M2/v1"}));
    dialog.NameField()->SetValue(wxString::FromUTF8("M2 nový"));
    dialog.PriceField()->SetValue("12,5");
    ASSERT_TRUE(PressOk(dialog));
    dialog.ApplyTo(*c.m2);
    EXPECT_EQ(c.m2->name, ui::ToModel(wxString::FromUTF8("M2 nový")));
    EXPECT_EQ(c.m2->listPrice.scaled, 125000);
    ASSERT_EQ(c.m2->Count(), 2u);
    EXPECT_EQ(c.m2->Variant(1), only);
    EXPECT_TRUE(only->entries.empty());
    EXPECT_TRUE(only->rules.entries.size() == 1);
    EXPECT_EQ(c.m2->Variant(0)->name, "IO");
}

TEST_F(PropertyDialogTest, APriceThatIsNoAmountKeepsTheDialogOpen) {
    ui::CioModuleProperty dialog(m_frame, *c.m1, c.db.get());
    Show(dialog);
    for (const char* typed : {"sto", "1.23456", "-5", "1000000000"}) {
        m_script.Clear();
        dialog.PriceField()->SetValue(typed);
        EXPECT_FALSE(PressOk(dialog)) << typed;
        EXPECT_EQ(m_script.Messages().size(), 1u) << typed;
    }
    EXPECT_EQ(c.m1->listPrice.scaled, 100 * 10000);
}

// Deleting a variant in the module dialog used to leave the rules of other modules' variants
// pointing at the destroyed variant; saving the catalogue then read freed memory.
TEST_F(PropertyDialogTest, ADeletedVariantIsForgottenByEveryRule) {
    ASSERT_EQ(c.m2->Variant(0)->rules.entries, (std::vector<CioType*>{c.m1->Variant(1)}));
    ui::CioModuleProperty dialog(m_frame, *c.m1, c.db.get());
    Show(dialog);
    dialog.Variants()->SelectRow(1);
    dialog.DeleteVariant();
    ASSERT_TRUE(PressOk(dialog));
    dialog.ApplyTo(*c.m1);
    EXPECT_EQ(c.m1->Count(), 1u);
    EXPECT_TRUE(c.m2->Variant(0)->rules.entries.empty());
    ArchiveWriter writer;
    StoreDatabaseFile(writer, c.db.get());
    EXPECT_FALSE(writer.Bytes().empty());
}

TEST_F(PropertyDialogTest, ADeviceStoresBothNetworksVornetFirstAndItsSeriesAndModules) {
    ui::CioPlcProperty dialog(m_frame, *c.d3, c.db.get());
    Show(dialog);
    EXPECT_EQ(dialog.SeriesChoice()->GetStringSelection(), "S3");
    EXPECT_EQ(dialog.Points()->RowTexts(), (Rows{"0 M2"}));
    // Checked in the other order, by a click on the row and on the box, stored in the list's.
    ui::NumberedList& networks = *dialog.Networks();
    // The rows' window is the list's child below its header.
    wxWindow* rows = nullptr;
    for (wxWindow* child : networks.GetChildren())
        if (child->GetPosition().y > 0)
            rows = child;
    ASSERT_NE(rows, nullptr);
    networks.SetFocus();
    auto click = [&](long row, int code, int x) {
        wxRect rect;
        ASSERT_TRUE(networks.GetItemRect(row, rect, code));
        const wxPoint at = wxPoint(x < 0 ? rect.GetLeft() + rect.GetWidth() / 2 : x,
                                   rect.GetTop() + rect.GetHeight() / 2) -
                           rows->GetPosition();
        wxMouseEvent down(wxEVT_LEFT_DOWN);
        down.SetPosition(at);
        down.m_leftDown = true;
        down.SetEventObject(rows);
        rows->GetEventHandler()->ProcessEvent(down);
        wxMouseEvent up(wxEVT_LEFT_UP);
        up.SetPosition(at);
        up.SetEventObject(rows);
        rows->GetEventHandler()->ProcessEvent(up);
        Pump(20);
    };
    click(1, wxLIST_RECT_LABEL, -1);
    EXPECT_TRUE(networks.IsItemChecked(1));
    EXPECT_FALSE(networks.IsItemChecked(0));
    click(0, wxLIST_RECT_BOUNDS, 10);
    EXPECT_TRUE(networks.IsItemChecked(0));
    EXPECT_TRUE(networks.IsItemChecked(1));
    dialog.SeriesChoice()->SetSelection(0);
    dialog.TypeChoice()->SetSelection(1);
    // A device's pick list starts with the empty module.
    dialog.Points()->SelectRow(0);
    m_pick = 1;
    dialog.InsertPoint(true);
    EXPECT_EQ(m_pickFirst, (std::vector<wxString>{"--"}));
    EXPECT_EQ(dialog.Points()->RowTexts(), (Rows{"0 M2", "1 M1"}));
    ASSERT_TRUE(PressOk(dialog));
    dialog.ApplyTo(*c.d3);
    EXPECT_EQ(c.d3->lines.entries, (std::vector<CioType*>{&Vornet(), &Kalbus()}));
    EXPECT_EQ(c.d3->series.object, c.s1);
    EXPECT_EQ(c.d3->deviceType, 1);
    EXPECT_EQ(c.d3->Position(0)->entries, (std::vector<CioType*>{c.m2, c.m1}));
}

TEST_F(PropertyDialogTest, AVariantsRulesNameOtherModulesVariants) {
    CioVariant copy;
    copy.CopyFrom(c.m2->Variant(0));
    ui::CioVariantProperty dialog(m_frame, copy, c.db.get(), c.m2);
    Show(dialog);
    EXPECT_EQ(dialog.TargetTexts(), (Rows{"M1[M1/v1]", "M1[M1/v2]", "--[--]"}));
    EXPECT_EQ(dialog.Rules()->RowTexts(), (Rows{"0 M1[M1/v2]"}));
    m_pick = 2;
    dialog.InsertRule(true);
    m_pick = 0;
    dialog.Rules()->SelectRow(-1);
    dialog.InsertRule(false);
    EXPECT_EQ(dialog.Rules()->RowTexts(), (Rows{"0 M1[M1/v1]", "1 M1[M1/v2]", "2 --[--]"}));
    dialog.Rules()->SelectRow(1);
    dialog.DeleteRule();
    ASSERT_TRUE(PressOk(dialog));
    dialog.ApplyTo(copy);
    EXPECT_EQ(copy.rules.entries, (std::vector<CioType*>{c.m1->Variant(0), &EmptyVariant()}));
}

TEST_F(PropertyDialogTest, ScreenshotsOfTheDialogs) {
    std::unique_ptr<CioDb> sample;
    const std::vector<uint8_t> bytes = ReadFileBytes(SampleCatalogue());
    ArchiveReader reader(bytes, SampleCatalogue());
    LoadDatabaseFile(reader, sample);
    ASSERT_NE(sample, nullptr);
    auto* module = static_cast<CioModul*>(sample->modules.At(1));
    ui::CioModuleProperty moduleDialog(m_frame, *module, sample.get());
    Show(moduleDialog);
    Pump(100);
    SaveScreenshot(moduleDialog.GetScreenRect(), "module_dialog.png");
    moduleDialog.Hide();
    auto* device = static_cast<CioPlc*>(sample->devices.At(0));
    ui::CioPlcProperty deviceDialog(m_frame, *device, sample.get());
    Show(deviceDialog);
    Pump(100);
    SaveScreenshot(deviceDialog.GetScreenRect(), "device_dialog.png");
    deviceDialog.Hide();
    ui::CioTypeProperty kindDialog(m_frame, *sample->ioKinds.At(0));
    Show(kindDialog);
    Pump(100);
    SaveScreenshot(kindDialog.GetScreenRect(), "kind_dialog.png");
    kindDialog.Hide();
    ui::CioVariantProperty variantDialog(m_frame, *module->Variant(0), sample.get(), module);
    Show(variantDialog);
    Pump(100);
    SaveScreenshot(variantDialog.GetScreenRect(), "variant_dialog.png");
}

} // namespace
} // namespace pinsum::test
