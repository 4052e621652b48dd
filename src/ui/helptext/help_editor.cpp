#include "helptext/help_editor.h"

#include <optional>

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/sizer.h>
#include <wx/toolbar.h>

#include "common/dialog_units.h"
#include "common/ui_ids.h"
#include "common/ui_images.h"
#include "common/ui_texts.h"
#include "controls/colour_picker.h"
#include "controls/image_menu.h"
#include "helptext/help_editor_text.h"
#include "helptext/picture_conversion.h"
#include "helptext/rich_text_bridge.h"
#include "host/program_folders.h"
#include "picture/bitmap_file.h"

namespace pinsum::ui {
namespace {

constexpr int kFormatCommands[] = {ID_FORMAT_BOLD, ID_FORMAT_ITALIC, ID_FORMAT_UNDERLINE,
                                   ID_FORMAT_COLOUR, ID_FORMAT_PICTURE};

// The folder the picture dialog opens in: the last one a picture came from in this run.
wxString& PictureFolder() {
    static wxString folder = wxString::FromUTF8(ProgramFolder());
    return folder;
}

wxFont EditorFont() {
    return wxFont(wxFontInfo(9).Family(wxFONTFAMILY_SWISS).FaceName("Arial"));
}

} // namespace

CHelpEditor::CHelpEditor(wxWindow* parent, std::string help)
    : CHelpEditor(parent, Text(UiText::HelpEditorCaption), std::move(help)) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(CreateHelpPane(this, 210, 152), 1, wxEXPAND | wxALL, 7);
    auto* buttons = new wxBoxSizer(wxVERTICAL);
    buttons->Add(new wxButton(this, wxID_OK, Text(UiText::ButtonOk), wxDefaultPosition,
                              DialogSize(this, 61, 14)),
                 0, wxBOTTOM, 6);
    buttons->Add(new wxButton(this, wxID_CANCEL, Text(UiText::ButtonCancel), wxDefaultPosition,
                              DialogSize(this, 61, 14)));
    row->Add(buttons, 0, wxTOP | wxRIGHT | wxBOTTOM, 7);
    SetSizerAndFit(row);
}

CHelpEditor::CHelpEditor(wxWindow* parent, const wxString& title, std::string help)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      m_help(std::move(help)) {
    UseDialogFont(this);
    // The control keeps pictures as PNG data.
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr)
        wxImage::AddHandler(new wxPNGHandler());
    BindCommands();
}

void CHelpEditor::SetCaption(const wxString& caption) {
    m_caption = caption;
    if (!m_caption.empty())
        SetTitle(m_caption);
}

wxWindow* CHelpEditor::CreateHelpPane(wxWindow* parent, int width, int height) {
    auto* pane = new wxPanel(parent);
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* tools = new wxToolBar(pane, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER);
    tools->SetToolBitmapSize(wxSize(16, 16));
    for (const int command : kFormatCommands) {
        const bool toggles = command <= ID_FORMAT_UNDERLINE;
        tools->AddTool(MenuId(command), Text(static_cast<UiText>(command)), CommandImage(command),
                       CommandPrompt(command), toggles ? wxITEM_CHECK : wxITEM_NORMAL);
    }
    tools->Realize();
    column->Add(tools, 0, wxEXPAND);
    m_edit = new wxRichTextCtrl(pane, ID_RICH_EDIT, wxEmptyString, wxDefaultPosition,
                                DialogSize(this, width, height), wxRE_MULTILINE | wxBORDER_SUNKEN);
    m_edit->SetFont(EditorFont());
    wxRichTextAttr basic = m_edit->GetBasicStyle();
    basic.SetFont(EditorFont());
    m_edit->SetBasicStyle(basic);
    m_edit->Bind(wxEVT_CONTEXT_MENU, &CHelpEditor::OnContextMenu, this);
    // Dropped files and objects stay out: pictures come in through the picture command only.
    m_edit->SetDropTarget(nullptr);
    column->Add(m_edit, 1, wxEXPAND);
    pane->SetSizer(column);
    return pane;
}

void CHelpEditor::BindCommands() {
    for (const int command : kFormatCommands) {
        Bind(wxEVT_MENU, &CHelpEditor::OnFormat, this, MenuId(command));
        Bind(wxEVT_UPDATE_UI, &CHelpEditor::OnUpdateFormat, this, MenuId(command));
    }
}

bool CHelpEditor::TransferDataToWindow() {
    if (!m_caption.empty())
        SetTitle(m_caption);
    if (m_edit != nullptr)
        ShowDocument(*m_edit, LoadHelpDocument(m_help));
    return wxDialog::TransferDataToWindow();
}

bool CHelpEditor::TransferDataFromWindow() {
    if (!wxDialog::TransferDataFromWindow())
        return false;
    if (m_edit != nullptr)
        m_help = SaveHelpDocument(m_help, ReadDocument(*m_edit));
    return true;
}

bool CHelpEditor::EditHasFocus() const {
    const wxWindow* focus = wxWindow::FindFocus();
    return m_edit != nullptr && focus != nullptr &&
           (focus == m_edit || m_edit->IsDescendant(const_cast<wxWindow*>(focus)));
}

void CHelpEditor::OnUpdateFormat(wxUpdateUIEvent& event) {
    const bool enabled = EditHasFocus();
    event.Enable(enabled);
    if (!enabled)
        return;
    switch (CommandOfMenuId(event.GetId())) {
    case ID_FORMAT_BOLD:
        event.Check(m_edit->IsSelectionBold());
        break;
    case ID_FORMAT_ITALIC:
        event.Check(m_edit->IsSelectionItalics());
        break;
    case ID_FORMAT_UNDERLINE:
        event.Check(m_edit->IsSelectionUnderlined());
        break;
    default:
        break;
    }
}

void CHelpEditor::OnFormat(wxCommandEvent& event) {
    if (m_edit == nullptr)
        return;
    switch (CommandOfMenuId(event.GetId())) {
    case ID_FORMAT_BOLD:
        m_edit->ApplyBoldToSelection();
        break;
    case ID_FORMAT_ITALIC:
        m_edit->ApplyItalicToSelection();
        break;
    case ID_FORMAT_UNDERLINE:
        m_edit->ApplyUnderlineToSelection();
        break;
    case ID_FORMAT_COLOUR: {
        CColourPickDialog picker(this, m_lastColour);
        if (picker.ShowModal() == wxID_OK && picker.Colour().IsOk()) {
            m_lastColour = picker.Colour();
            ApplyColour(m_lastColour);
        }
        break;
    }
    case ID_FORMAT_PICTURE: {
        const wxString path = AskPictureFile();
        if (!path.empty())
            InsertPictureFile(path);
        break;
    }
    default:
        return;
    }
    m_edit->SetFocus();
}

void CHelpEditor::ApplyColour(const wxColour& colour) {
    if (m_edit == nullptr || !colour.IsOk())
        return;
    wxRichTextAttr style;
    style.SetTextColour(colour);
    if (m_edit->HasSelection()) {
        wxRichTextAttr current;
        m_edit->GetStyleForRange(m_edit->GetSelectionRange(), current);
        if (current.HasTextColour() && current.GetTextColour() == colour)
            return;
        m_edit->SetStyleEx(m_edit->GetSelectionRange(), style,
                           wxRICHTEXT_SETSTYLE_WITH_UNDO | wxRICHTEXT_SETSTYLE_OPTIMIZE |
                               wxRICHTEXT_SETSTYLE_CHARACTERS_ONLY);
    } else {
        wxRichTextAttr current = m_edit->GetDefaultStyleEx();
        current.Apply(style);
        m_edit->SetAndShowDefaultStyle(current);
    }
}

wxString CHelpEditor::AskPictureFile() {
    wxFileDialog dialog(this, Text(UiText::MenuPicture), PictureFolder(), wxEmptyString,
                        Text(UiText::PictureFilter), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK)
        return wxString();
    PictureFolder() = dialog.GetDirectory();
    return dialog.GetPath();
}

bool CHelpEditor::InsertPictureFile(const wxString& path) {
    if (m_edit == nullptr)
        return false;
    const std::string file = path.utf8_string();
    // Any failure stays silent: no messenger is handed to the JPEG loader.
    const std::optional<Image> picture = wxFileName(path).GetExt().IsSameAs("jpg", false)
                                             ? LoadJpegFile(file)
                                             : LoadBitmapFile(file);
    if (!picture)
        return false;
    const wxImage image = ToWxImage(*picture);
    if (!image.IsOk())
        return false;
    if (m_edit->HasSelection())
        m_edit->DeleteSelection();
    return m_edit->WriteImage(image, wxBITMAP_TYPE_PNG);
}

void CHelpEditor::OnContextMenu(wxContextMenuEvent& event) {
    if (m_edit == nullptr)
        return;
    m_edit->SetFocus();
    std::unique_ptr<wxMenu> menu = CImageMenu::CreateFormatMenu();
    wxPoint at = event.GetPosition();
    at = at == wxDefaultPosition ? wxDefaultPosition : m_edit->ScreenToClient(at);
    m_edit->PopupMenu(menu.get(), at);
}

} // namespace pinsum::ui
