#pragma once

#include <functional>
#include <string>

#include <wx/dialog.h>
#include <wx/textctrl.h>

#include "model/item_editors.h"

namespace pinsum::ui {

// The count dialog of a request item: the kind's name and help, one field for the count (0 to
// 10000, read by the engine's count parser), OK and "Storno". A rejected count is explained in a
// message box and the dialog stays open with the field focused.
class CParameterDialog : public wxDialog {
public:
    // name and help are Windows-1250; help is mark-up (may be empty).
    CParameterDialog(wxWindow* parent, const std::string& name, const std::string& helpMarkup,
                     int count);
    int Count() const { return m_count; }
    wxTextCtrl* Field() const { return m_field; }

private:
    void OnOk(wxCommandEvent& event);

    wxTextCtrl* m_field;
    int m_count;
};

// The calculator's item editors: only counts are edited here; the catalogue's property dialogs
// belong to the planner. The dialog is placed at the item's screen rectangle, which the tree
// supplies.
class CountEditors : public ItemEditors {
public:
    using ItemRect = std::function<wxRect(const CioNode&)>;
    CountEditors(wxWindow* parent, ItemRect itemRect)
        : m_parent(parent), m_itemRect(std::move(itemRect)) {}

    bool EditIoPoint(CioType&) override { return false; }
    bool EditSeries(CioLine&) override { return false; }
    bool EditModule(CioModul&, CioDb*) override { return false; }
    bool EditDevice(CioPlc&, CioDb*) override { return false; }
    bool EditCount(CioNode& node) override;

private:
    wxWindow* m_parent;
    ItemRect m_itemRect;
};

} // namespace pinsum::ui
