#pragma once

#include "model/item_editors.h"

class wxWindow;

namespace pinsum::ui {

// The planner's property dialogs behind the objects' EditItem: each dialog edits copies and,
// only when it ends with OK, writes them back to the object.
class PlannerEditors : public ItemEditors {
public:
    explicit PlannerEditors(wxWindow* parent) : m_parent(parent) {}

    bool EditIoPoint(CioType& kind) override;
    bool EditSeries(CioLine& series) override;
    bool EditModule(CioModul& module, CioDb* database) override;
    bool EditDevice(CioPlc& device, CioDb* database) override;
    // The planner has no request counts.
    bool EditCount(CioNode&) override { return false; }

private:
    wxWindow* m_parent;
};

} // namespace pinsum::ui
