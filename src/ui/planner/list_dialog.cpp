#include "planner/list_dialog.h"

#include <wx/frame.h>
#include <wx/sizer.h>

#include "common/dialog_units.h"
#include "common/screen_placement.h"
#include "common/ui_ids.h"
#include "common/wx_text.h"
#include "model/cio_type.h"

namespace pinsum::ui {

PickListDialog::PickListDialog(wxWindow* parent, int width, int height)
    : wxDialog(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
               wxBORDER_RAISED | wxFRAME_FLOAT_ON_PARENT) {
    UseDialogFont(this);
    SetClientSize(DialogSize(this, width, height));
    Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER)
            Confirm();
        else if (event.GetKeyCode() == WXK_ESCAPE)
            EndModal(wxID_CANCEL);
        else
            event.Skip();
    });
    // A click outside the list takes the activation away from the pop-up.
    Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& event) {
        if (!event.GetActive() && IsModal())
            EndModal(wxID_CANCEL);
        event.Skip();
    });
}

void PickListDialog::Place(wxListBox* list) {
    m_list = list;
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(list, 1, wxEXPAND);
    SetSizer(sizer);
    Layout();
    if (m_list->GetCount() > 0)
        m_list->SetSelection(0);
    m_list->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { Confirm(); });
    m_list->SetFocus();
    MoveToMouse(*this);
}

int PickListDialog::Picked() const {
    return m_list != nullptr ? m_list->GetSelection() : wxNOT_FOUND;
}

void PickListDialog::Pick(int index) {
    if (m_list != nullptr && index >= 0 && index < static_cast<int>(m_list->GetCount()))
        m_list->SetSelection(index);
}

void PickListDialog::Confirm() {
    if (Picked() == wxNOT_FOUND)
        return;
    if (IsModal())
        EndModal(wxID_OK);
    else
        SetReturnCode(wxID_OK);
}

CioListBox::CioListBox(wxWindow* parent, std::vector<CioType*> objects)
    : wxListBox(parent, ID_PICK_LIST, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                wxLB_SINGLE | wxLB_NEEDED_SB),
      m_objects(std::move(objects)) {
    for (const CioType* object : m_objects)
        Append(FromModel(object->name));
}

CioType* CioListBox::Object(int index) const {
    return index >= 0 && index < static_cast<int>(m_objects.size()) ? m_objects[index] : nullptr;
}

CioListDialog::CioListDialog(wxWindow* parent, std::vector<CioType*> source)
    : PickListDialog(parent, 183, 123) {
    m_box = new CioListBox(this, std::move(source));
    Place(m_box);
}

CioType* CioListDialog::PickedObject() const {
    return m_box->Object(Picked());
}

CioRuleProperty::CioRuleProperty(wxWindow* parent, const std::vector<wxString>& targets)
    : PickListDialog(parent, 145, 118) {
    auto* list = new wxListBox(this, ID_PICK_LIST, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                               wxLB_SINGLE | wxLB_NEEDED_SB);
    for (const wxString& target : targets)
        list->Append(target);
    Place(list);
}

} // namespace pinsum::ui
