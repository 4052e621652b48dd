#pragma once

#include <memory>

#include <wx/menu.h>

namespace pinsum::ui {

// Menu 4060, the calculator's context menu, with the command images and the commands' prompts
// as help strings; it also answers the tool-tip texts of the calculator's buttons.
class CImageMenu {
public:
    // A fresh menu 4060 each time: wx menus are owned by whoever pops them up.
    static std::unique_ptr<wxMenu> CreateContextMenu();
    // The tool-tip of a control: that of the command the control runs; empty when none.
    static wxString ToolTipText(int controlId);
};

} // namespace pinsum::ui
