// The help editor as an author uses it: what it shows of a stored help, the format commands and
// when they are offered, pictures from files, and that what it stores is shown as it was written.
#include <filesystem>

#include <wx/button.h>
#include <wx/frame.h>
#include <wx/image.h>

#include "common/ui_ids.h"
#include "common/wx_text.h"
#include "controls/colour_picker.h"
#include "helptext/help_editor.h"
#include "helptext/help_markup.h"
#include "helptext/picture_conversion.h"
#include "helptext/rich_text_bridge.h"
#include "helptext/rich_text_document.h"
#include "helptext/stored_help.h"
#include "host/file_io.h"
#include "host/text_codec.h"
#include "picture/bitmap_file.h"
#include "picture/jpeg_codec.h"
#include "support/ftp_test_server.h"
#include "support/picture_samples.h"
#include "ui/gui_test_support.h"
#include "ui/planner_test_support.h"

namespace pinsum::test {
namespace {

class HelpEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_frame = new wxFrame(nullptr, wxID_ANY, "Pinsum");
        m_frame->Show();
    }
    void TearDown() override {
        m_frame->Destroy();
        Pump(20);
    }
    // Opens the editor on a stored help (UTF-8 here), the text focused.
    std::unique_ptr<ui::CHelpEditor> Editor(const std::string& help) {
        auto editor = std::make_unique<ui::CHelpEditor>(m_frame, Utf8ToCp1250(help));
        editor->Show();
        Pump(50);
        editor->RichEdit()->SetFocus();
        Pump(20);
        return editor;
    }
    void Command(ui::CHelpEditor& editor, int command) {
        wxCommandEvent event(wxEVT_MENU, ui::MenuId(command));
        editor.ProcessWindowEvent(event);
        Pump(10);
    }
    // Enabled and checked, as a menu or tool bar would show the command.
    std::pair<bool, bool> State(ui::CHelpEditor& editor, int command) {
        wxUpdateUIEvent event(ui::MenuId(command));
        editor.ProcessWindowEvent(event);
        return {event.GetSetEnabled() && event.GetEnabled(),
                event.GetSetChecked() && event.GetChecked()};
    }
    void PressOk(ui::CHelpEditor& editor) {
        Click(wxWindow::FindWindowById(wxID_OK, &editor));
        Pump(20);
    }

    wxFrame* m_frame = nullptr;
    DialogScript m_script;
    TempFolder m_folder;
};

TEST_F(HelpEditorTest, APlainHelpShowsUnformattedAndIsStoredAsRichTextUnlessEmptied) {
    auto editor = Editor("První řádek\r\nDruhý řádek");
    EXPECT_EQ(editor->RichEdit()->GetValue(), wxString::FromUTF8("První řádek\nDruhý řádek"));
    editor->RichEdit()->SetSelection(0, 5);
    EXPECT_FALSE(editor->RichEdit()->IsSelectionBold());
    PressOk(*editor);
    EXPECT_FALSE(editor->IsShown());
    EXPECT_EQ(DetectHelpForm(editor->Help()), HelpForm::RichText);
    EXPECT_EQ(Cp1250ToUtf8(ToMarkup(editor->Help())), "<mi>První řádek<br>Druhý řádek");

    auto emptied = Editor(Cp1250ToUtf8(editor->Help()));
    emptied->RichEdit()->Clear();
    PressOk(*emptied);
    EXPECT_EQ(emptied->Help(), "");
}

TEST_F(HelpEditorTest, BoldTogglesAndTheFormatCommandsNeedTheTextsFocus) {
    auto editor = Editor("tučně ne");
    editor->RichEdit()->SetSelection(0, 5);
    EXPECT_EQ(State(*editor, ui::ID_FORMAT_BOLD), std::make_pair(true, false));
    Command(*editor, ui::ID_FORMAT_BOLD);
    EXPECT_TRUE(editor->RichEdit()->IsSelectionBold());
    EXPECT_EQ(State(*editor, ui::ID_FORMAT_BOLD), std::make_pair(true, true));
    Command(*editor, ui::ID_FORMAT_BOLD);
    EXPECT_FALSE(editor->RichEdit()->IsSelectionBold());

    wxWindow::FindWindowById(wxID_OK, editor.get())->SetFocus();
    Pump(20);
    for (const int command : {ui::ID_FORMAT_BOLD, ui::ID_FORMAT_ITALIC, ui::ID_FORMAT_UNDERLINE,
                              ui::ID_FORMAT_COLOUR, ui::ID_FORMAT_PICTURE})
        EXPECT_FALSE(State(*editor, command).first) << command;
}

// Everything the author can give the text comes out of the stored help as the mark-up the
// tool-tip shows: the same as the mark-up of a document built directly with those runs and
// pictures.
TEST_F(HelpEditorTest, WhatIsStoredShowsAsTheAuthorWroteIt) {
    const Image block = BlockPicture(32, 16);
    const std::string bmp = m_folder.File("obrazek.bmp");
    ASSERT_TRUE(ui::ToWxImage(block).SaveFile(bmp, wxBITMAP_TYPE_BMP));
    const std::string jpg = m_folder.File("FOTO.JPG");
    WriteFile(jpg, *EncodeJpeg(BlockPicture(48, 32)));
    // A JPEG file under a bitmap's name is read as a bitmap, and so is nothing.
    const std::string wrong = m_folder.File("foto.bmp");
    WriteFile(wrong, *EncodeJpeg(block));

    auto editor = Editor("");
    wxRichTextCtrl& text = *editor->RichEdit();
    text.WriteText(wxString::FromUTF8("Vstupy 24 V DC červená"));
    text.SetSelection(7, 11);
    Command(*editor, ui::ID_FORMAT_BOLD);
    text.SetSelection(11, 14);
    Command(*editor, ui::ID_FORMAT_ITALIC);
    Command(*editor, ui::ID_FORMAT_UNDERLINE);
    text.SetSelection(15, 22);
    m_script.answer = [](wxDialog* dialog) -> std::optional<int> {
        auto* picker = dynamic_cast<ui::CColourPickDialog*>(dialog);
        if (picker == nullptr || !picker->Choose(wxColour(255, 0, 0)))
            return wxID_CANCEL;
        return wxID_OK;
    };
    Command(*editor, ui::ID_FORMAT_COLOUR);
    text.SetInsertionPointEnd();
    text.SetDefaultStyle(wxRichTextAttr());
    text.Newline();
    EXPECT_TRUE(editor->InsertPictureFile(bmp));
    EXPECT_TRUE(editor->InsertPictureFile(jpg));
    EXPECT_FALSE(editor->InsertPictureFile(wrong));
    EXPECT_FALSE(editor->InsertPictureFile(m_folder.File("chybi.jpg")));
    Pump(50);
    SaveScreenshot(editor->GetScreenRect(), "help_editor.png");
    PressOk(*editor);

    RichTextDocument expected;
    auto run = [](const char* utf8, bool bold, bool italic, bool underline,
                  std::optional<uint32_t> colour) {
        RichTextRun r;
        r.text = Utf8ToCp1250(utf8);
        r.bold = bold;
        r.italic = italic;
        r.underline = underline;
        r.colour = colour;
        return r;
    };
    expected.NewParagraph();
    expected.Append(run("Vstupy ", false, false, false, {}));
    expected.Append(run("24 V", true, false, false, {}));
    expected.Append(run(" DC", false, true, true, {}));
    expected.Append(run(" ", false, false, false, {}));
    expected.Append(run("červená", false, false, false, ColourRef(255, 0, 0)));
    expected.NewParagraph();
    const Image fromBmp = *LoadBitmapFile(bmp);
    const Image fromJpg = *LoadJpegFile(jpg);
    expected.Append(pinsum::RichTextPicture{fromBmp, 32 * 15, 16 * 15});
    expected.Append(pinsum::RichTextPicture{fromJpg, 48 * 15, 32 * 15});
    const std::string markup = ToMarkup(editor->Help());
    EXPECT_EQ(markup, ToMarkup(expected.ToRichText()));
    EXPECT_NE(Cp1250ToUtf8(markup).find("<b>24 V</b>"), std::string::npos) << markup;
}

} // namespace
} // namespace pinsum::test
