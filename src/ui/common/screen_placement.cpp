#include "common/screen_placement.h"

#include <algorithm>

#include <wx/display.h>
#include <wx/utils.h>
#include <wx/window.h>

namespace pinsum::ui {

void MoveToMouse(wxWindow& window) {
    const wxPoint mouse = wxGetMousePosition();
    const int display = wxDisplay::GetFromPoint(mouse);
    const wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0 : display).GetClientArea();
    const wxSize size = window.GetSize();
    window.Move(std::clamp(mouse.x, screen.GetLeft(),
                           std::max(screen.GetLeft(), screen.GetRight() - size.x)),
                std::clamp(mouse.y, screen.GetTop(),
                           std::max(screen.GetTop(), screen.GetBottom() - size.y)));
}

} // namespace pinsum::ui
