#include "planner/planner_editors.h"

#include "model/cio_line.h"
#include "model/cio_plc.h"
#include "planner/module_property.h"
#include "planner/type_property.h"

namespace pinsum::ui {

bool PlannerEditors::EditIoPoint(CioType& kind) {
    CioTypeProperty dialog(m_parent, kind);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    dialog.ApplyTo(kind);
    return true;
}

bool PlannerEditors::EditSeries(CioLine& series) {
    CioLineProperty dialog(m_parent, series);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    dialog.ApplyTo(series);
    return true;
}

bool PlannerEditors::EditModule(CioModul& module, CioDb* database) {
    CioModuleProperty dialog(m_parent, module, database);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    dialog.ApplyTo(module);
    return true;
}

bool PlannerEditors::EditDevice(CioPlc& device, CioDb* database) {
    CioPlcProperty dialog(m_parent, device, database);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    dialog.ApplyTo(device);
    return true;
}

} // namespace pinsum::ui
