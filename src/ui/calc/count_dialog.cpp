#include "calc/count_dialog.h"

#include <wx/button.h>
#include <wx/display.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "common/dialog_units.h"
#include "common/ui_texts.h"
#include "common/wx_text.h"
#include "helptext/help_markup.h"
#include "helptext/help_view.h"
#include "model/cio_node.h"
#include "model/count_parser.h"

namespace pinsum::ui {
namespace {

constexpr int kHelpHeight = 220;

} // namespace

CParameterDialog::CParameterDialog(wxWindow* parent, const std::string& name,
                                   const std::string& helpMarkup, int count)
    : wxDialog(parent, wxID_ANY, FromModel(name)), m_count(count) {
    UseDialogFont(this);
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* title = new wxStaticText(this, wxID_ANY, FromModel(name));
    title->SetFont(title->GetFont().Bold());
    column->Add(title, 0, wxALL, 7);
    if (!helpMarkup.empty())
        column->Add(new HelpView(this, helpMarkup, kHelpHeight), 1, wxLEFT | wxRIGHT | wxEXPAND, 7);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, Text(UiText::CountLabel)), 0,
             wxALIGN_CENTRE_VERTICAL | wxRIGHT, 5);
    m_field = new wxTextCtrl(this, wxID_ANY, wxString::Format("%d", count));
    m_field->SetMaxLength(kCountFieldLength);
    row->Add(m_field, 1);
    column->Add(row, 0, wxALL | wxEXPAND, 7);
    auto* buttons = new wxStdDialogButtonSizer();
    auto* ok = new wxButton(this, wxID_OK, Text(UiText::ButtonOk));
    // Enter in the field takes the count.
    ok->SetDefault();
    buttons->AddButton(ok);
    buttons->AddButton(new wxButton(this, wxID_CANCEL, Text(UiText::ButtonCancel)));
    buttons->Realize();
    column->Add(buttons, 0, wxALL | wxALIGN_RIGHT, 7);
    SetSizerAndFit(column);
    m_field->SetFocus();
    m_field->SelectAll();
    Bind(wxEVT_BUTTON, &CParameterDialog::OnOk, this, wxID_OK);
}

void CParameterDialog::OnOk(wxCommandEvent&) {
    const CountParseResult result = ParseCount(ToModel(m_field->GetValue()));
    if (!result.ok) {
        wxMessageDialog box(this, FromModel(result.message), GetTitle(), wxOK | wxICON_EXCLAMATION);
        box.ShowModal();
        m_field->SetFocus();
        m_field->SelectAll();
        return;
    }
    m_count = result.value;
    EndModal(wxID_OK);
}

bool CountEditors::EditCount(CioNode& node) {
    const CioType* kind = node.Kind();
    if (kind == nullptr)
        return false;
    std::string markup;
    node.PrepareHelp(markup);
    CParameterDialog dialog(m_parent, kind->name, markup, node.count);
    // At the item, kept on the screen.
    const wxRect item = m_itemRect ? m_itemRect(node) : wxRect();
    if (!item.IsEmpty()) {
        const int display = wxDisplay::GetFromPoint(item.GetTopLeft());
        const wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0 : display).GetClientArea();
        const wxSize size = dialog.GetSize();
        wxPoint at = item.GetBottomLeft();
        at.x = std::max(screen.GetLeft(), std::min(at.x, screen.GetRight() - size.GetWidth()));
        at.y = std::max(screen.GetTop(), std::min(at.y, screen.GetBottom() - size.GetHeight()));
        dialog.Move(at);
    }
    if (dialog.ShowModal() != wxID_OK)
        return false;
    node.count = dialog.Count();
    return true;
}

} // namespace pinsum::ui
