#pragma once

#include <wx/dialog.h>
#include <wx/textctrl.h>

namespace pinsum::ui {

// "Rozpis řešení": the report of a solution or a device in one scrolling text field, shown with
// nothing selected.
class CioSolutionText : public wxDialog {
public:
    CioSolutionText(wxWindow* parent, const wxString& report);
    wxTextCtrl* Field() const { return m_text; }

private:
    wxTextCtrl* m_text;
};

} // namespace pinsum::ui
