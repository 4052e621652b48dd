#pragma once

#include <string>

#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "helptext/help_editor.h"

namespace pinsum {
class CioType;
class CioLine;
} // namespace pinsum

namespace pinsum::ui {

// "Vlastnosti IO Bodu" (dialog 4006): name, help, the icon (ordinary IO point or terminal) and
// the rule "Vyžaduje se" of an IO point kind; also the name and help of the database and of any
// object without a dialog of its own. It edits copies; ApplyTo writes them back after OK.
class CioTypeProperty : public CHelpEditor {
public:
    CioTypeProperty(wxWindow* parent, const CioType& object);

    // Name, help, category (bits 8 to 15) and the required bit.
    void ApplyTo(CioType& object) const;

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    wxTextCtrl* NameField() const { return m_nameField; }
    wxRadioButton* Ordinary() const { return m_ordinary; }
    wxRadioButton* Terminal() const { return m_terminal; }
    wxCheckBox* Required() const { return m_required; }

private:
    std::string m_name;
    int m_category;
    bool m_isRequired;
    wxTextCtrl* m_nameField;
    wxRadioButton* m_ordinary;
    wxRadioButton* m_terminal;
    wxCheckBox* m_required;
};

// "Vlastnosti řady automatů" (dialog 4055): name, help and the bits "Nabízet jako výchozí" and
// "Výhradní přepínač" of a series.
class CioLineProperty : public CHelpEditor {
public:
    CioLineProperty(wxWindow* parent, const CioLine& series);

    void ApplyTo(CioLine& series) const;

    bool TransferDataToWindow() override;
    bool TransferDataFromWindow() override;

    wxTextCtrl* NameField() const { return m_nameField; }
    wxCheckBox* OfferDefault() const { return m_default; }
    wxCheckBox* Exclusive() const { return m_exclusive; }

private:
    std::string m_name;
    bool m_isDefault;
    bool m_isExclusive;
    wxTextCtrl* m_nameField;
    wxCheckBox* m_default;
    wxCheckBox* m_exclusive;
};

// An edit field's size: width dialog units (-1 for the sizer's choice) by one text line.
wxSize FieldSize(wxWindow* parent, int width);
// The name row every property dialog starts with: "Jméno" and edit 4201.
wxSizer* NameRow(wxWindow* parent, wxTextCtrl*& field);
// OK and "Storno", one below the other, as the dialogs' right column ends.
wxSizer* OkCancelColumn(wxWindow* parent);

} // namespace pinsum::ui
