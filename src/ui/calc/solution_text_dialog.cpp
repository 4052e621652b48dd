#include "calc/solution_text_dialog.h"

#include "common/dialog_units.h"
#include "common/ui_ids.h"
#include "common/ui_texts.h"
#include "common/wx_invoke.h"

namespace pinsum::ui {

CioSolutionText::CioSolutionText(wxWindow* parent, const wxString& report)
    : wxDialog(parent, wxID_ANY, Text(UiText::ReportCaption), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER) {
    UseDialogFont(this);
    SetClientSize(DialogSize(this, 332, 265));
    const wxRect field = DialogRect(this, 7, 7, 318, 251);
    m_text = new wxTextCtrl(this, ID_REPORT_TEXT, report, field.GetPosition(), field.GetSize(),
                            wxTE_MULTILINE | wxTE_PROCESS_ENTER | wxVSCROLL | wxTE_DONTWRAP);
    // The text keeps off the field's border (a left indent in tenths of a millimetre: GTK's
    // multi-line field takes no margins).
    wxTextAttr indent;
    indent.SetLeftIndent(12);
    m_text->SetStyle(0, m_text->GetLastPosition(), indent);
    // The text control keeps the template's margins when the dialog is resized. Not passed on:
    // a dialog's own layout stretches its only child over the whole client area.
    Bind(wxEVT_SIZE, [this](wxSizeEvent&) {
        const wxRect margin = DialogRect(this, 7, 7, 7, 7);
        const wxSize client = GetClientSize();
        m_text->SetSize(margin.x, margin.y, client.x - 2 * margin.width,
                        client.y - 2 * margin.height);
    });
    // The dialog has no button for wx to turn Escape into; it closes as the window's close does.
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_ESCAPE)
            EndModal(wxID_CANCEL);
        else
            event.Skip();
    });
    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& event) {
        event.Skip();
        // After the text control has taken the focus and selected everything.
        PostToUi(*this, [this] {
            m_text->SetSelection(0, 0);
            m_text->SetInsertionPoint(0);
        });
    });
    CentreOnParent();
}

} // namespace pinsum::ui
