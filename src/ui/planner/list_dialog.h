#pragma once

#include <vector>

#include <wx/dialog.h>
#include <wx/listbox.h>

namespace pinsum {
class CioType;
}

namespace pinsum::ui {

// A caption-less pop-up list at the mouse cursor, the first entry preselected. A double click or
// Enter picks the selected entry (OK); Escape, or the window losing activation to a click
// elsewhere, leaves without a pick (Cancel).
class PickListDialog : public wxDialog {
public:
    // Index of the picked entry, -1 for none.
    int Picked() const;
    // Selects an entry as a click in the list would.
    void Pick(int index);
    wxListBox* List() const { return m_list; }

protected:
    // size in dialog units; the list is made by the derived dialog through Place.
    PickListDialog(wxWindow* parent, int width, int height);
    void Place(wxListBox* list);

private:
    void Confirm();

    wxListBox* m_list = nullptr;
};

// The catalogue objects of a list box, shown by name.
class CioListBox : public wxListBox {
public:
    CioListBox(wxWindow* parent, std::vector<CioType*> objects);
    CioType* Object(int index) const;

private:
    std::vector<CioType*> m_objects;
};

// Picks one of the source objects: IO point kinds for a module's variant, modules for a device's
// position.
class CioListDialog : public PickListDialog {
public:
    CioListDialog(wxWindow* parent, std::vector<CioType*> source);
    CioType* PickedObject() const;

private:
    CioListBox* m_box;
};

// Picks one of the rule targets' texts.
class CioRuleProperty : public PickListDialog {
public:
    CioRuleProperty(wxWindow* parent, const std::vector<wxString>& targets);
};

} // namespace pinsum::ui
