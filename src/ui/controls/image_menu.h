#pragma once

#include <initializer_list>
#include <memory>

#include <wx/menu.h>

namespace pinsum::ui {

// The context menus with the command images and the commands' prompts as help strings: the
// calculator's menu 4060, the planner's menu 4052, the help editor's format commands and the
// property dialogs' list commands. It also answers the tool-tip texts of the calculator's buttons.
// Each call makes a fresh menu: wx menus are owned by whoever pops them up.
class CImageMenu {
public:
    static std::unique_ptr<wxMenu> CreateContextMenu();
    static std::unique_ptr<wxMenu> CreatePlannerMenu();
    // Bold, italic and underline are check items, so that the menu shows their state.
    static std::unique_ptr<wxMenu> CreateFormatMenu();
    // The commands in order, 0 standing for a separator.
    static std::unique_ptr<wxMenu> CreateMenu(std::initializer_list<int> commands);
    // The tool-tip of a control: that of the command the control runs; empty when none.
    static wxString ToolTipText(int controlId);
};

} // namespace pinsum::ui
