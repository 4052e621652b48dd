// The help tool-tip as the user meets it: a device's help with its picture beside the tree,
// paging with the keys and the wheel, and hiding once the mouse has settled on it and left.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <wx/frame.h>

#include "common/ui_ids.h"
#include "common/wx_text.h"
#include "helptext/help_tooltip_window.h"
#include "host/memory_settings.h"
#include "host/pinsum_dialog.h"
#include "host/program_folders.h"
#include "support/ftp_test_server.h"
#include "ui/gui_test_support.h"

namespace pinsum::test {
namespace {

TEST(HelpToolTip, ShowsADevicesHelpWithItsPictureAndEscapeHidesOnlyTheHelp) {
    TempFolder folder;
    std::filesystem::copy_file(SampleCatalogue(), folder.File("iodb.pp"));
    InitGlobals("\"" + folder.File("pinsum-host") + "\"");
    DialogScript script;
    auto* dialog = new ui::CPinsumDialog(nullptr, std::make_unique<MemorySettings>());
    dialog->Show();
    Pump(100);
    ui::CalculatorPanel& form = dialog->Form();
    wxTreeCtrl* tree = form.SelectorTree();
    // The device whose help holds a picture.
    wxTreeItemId device;
    wxTreeItemIdValue seriesCookie;
    for (wxTreeItemId series = tree->GetFirstChild(tree->GetRootItem(), seriesCookie);
         series.IsOk() && !device.IsOk();
         series = tree->GetNextChild(tree->GetRootItem(), seriesCookie)) {
        wxTreeItemIdValue cookie;
        for (wxTreeItemId item = tree->GetFirstChild(series, cookie); item.IsOk();
             item = tree->GetNextChild(series, cookie))
            if (tree->GetItemText(item) == "MK-500")
                device = item;
    }
    ASSERT_TRUE(device.IsOk());
    tree->EnsureVisible(device);
    tree->SelectItem(device);
    tree->SetFocus();
    Pump(50);
    ASSERT_EQ(wxWindow::FindFocus(), tree);
    form.OnResultHelp();
    Pump(200);
    ui::CHelpToolTip& tip = form.ToolTip();
    ASSERT_TRUE(tip.IsVisible());
    EXPECT_NE(tip.Controller().Text().find("<pict"), std::string::npos);
    EXPECT_TRUE(tip.Controller().HasContent());
    // Beside the item, on the screen.
    wxRect item;
    tree->GetBoundingRect(device, item, true);
    EXPECT_GE(tip.GetScreenPosition().x, tree->ClientToScreen(item.GetTopRight()).x);
    SaveScreenshot(dialog->GetScreenRect().Union(tip.GetScreenRect()).Inflate(4),
                   "help_tooltip.png");

    PressKey(tree, WXK_ESCAPE);
    EXPECT_FALSE(tip.IsVisible());
    EXPECT_TRUE(dialog->IsShown());
    dialog->Destroy();
    Pump(20);
    ResetProgramFolders();
}

class OwnedToolTip : public ::testing::Test {
protected:
    void SetUp() override {
        m_owner = new wxFrame(nullptr, wxID_ANY, "owner");
        m_owner->Show();
        ASSERT_TRUE(m_tip->Create(m_owner));
    }
    void TearDown() override {
        m_tip->HideTip();
        m_tip->Destroy();
        m_owner->Destroy();
        Pump(20);
    }
    void Move(int x, int y) {
        wxMouseEvent motion(wxEVT_MOTION);
        motion.SetPosition(wxPoint(x, y));
        m_tip->GetEventHandler()->ProcessEvent(motion);
    }

    wxFrame* m_owner = nullptr;
    ui::CHelpToolTip* m_tip = new ui::CHelpToolTip();
};

TEST_F(OwnedToolTip, PagesWithKeysAndWheelWithinItsPages) {
    std::string markup = "<mi>";
    for (int line = 1; line <= 120; ++line)
        markup += "Řádek " + std::to_string(line) + "<br>";
    m_tip->SetText(ui::ToModel(wxString::FromUTF8(markup)));
    m_tip->ShowAt(wxPoint(10, 10));
    Pump(50);
    ASSERT_TRUE(m_tip->IsVisible());
    const int last = m_tip->Controller().LastPage();
    ASSERT_GE(last, 1);
    EXPECT_TRUE(m_tip->OnKey(WXK_PAGEDOWN));
    EXPECT_EQ(m_tip->Controller().CurrentPage(), 1);
    EXPECT_TRUE(m_tip->OnWheel(120));
    EXPECT_EQ(m_tip->Controller().CurrentPage(), 0);
    EXPECT_TRUE(m_tip->OnWheel(-120 * (last + 3)));
    EXPECT_EQ(m_tip->Controller().CurrentPage(), last);
    EXPECT_TRUE(m_tip->OnKey(WXK_DOWN));
    EXPECT_EQ(m_tip->Controller().CurrentPage(), last);
    // Other keys are swallowed while it shows; Escape is left to the owner.
    EXPECT_TRUE(m_tip->OnKey('A'));
    EXPECT_FALSE(m_tip->OnKey(WXK_ESCAPE));
}

TEST_F(OwnedToolTip, HidesOnlyAfterTheMouseSettledOnItAndLeft) {
    m_tip->SetText("<mi>Krátká nápověda");
    m_tip->ShowAt(wxPoint(100, 100));
    Pump(50);
    ASSERT_TRUE(m_tip->IsVisible());
    Move(-50, -50);
    EXPECT_TRUE(m_tip->IsVisible());
    Move(3, 3);
    Move(4, 4);
    EXPECT_TRUE(m_tip->IsVisible());
    Move(-50, -50);
    EXPECT_FALSE(m_tip->IsVisible());
}

} // namespace
} // namespace pinsum::test
