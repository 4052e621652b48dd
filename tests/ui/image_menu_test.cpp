// The context menus of both windows.
#include <gtest/gtest.h>

#include "common/ui_ids.h"
#include "controls/image_menu.h"

namespace pinsum::test {
namespace {

// Command numbers above wx's id range made every menu item fail wx's check (a dialog for the
// user of a wx build with checks) when the calculator's or the planner's menu opened.
TEST(ImageMenu, EveryMenuTakesItsCommandsWithinWxsIdRange) {
    for (auto make : {&ui::CImageMenu::CreateContextMenu, &ui::CImageMenu::CreatePlannerMenu,
                      &ui::CImageMenu::CreateFormatMenu}) {
        const std::unique_ptr<wxMenu> menu = make();
        for (const wxMenuItem* item : menu->GetMenuItems()) {
            if (!item->IsSeparator()) {
                EXPECT_GT(ui::CommandOfMenuId(item->GetId()), 40000);
            }
        }
    }
    const std::unique_ptr<wxMenu> planner = ui::CImageMenu::CreatePlannerMenu();
    EXPECT_NE(planner->FindItem(ui::MenuId(ui::ID_SHOW_HELP)), nullptr);
}

} // namespace
} // namespace pinsum::test
