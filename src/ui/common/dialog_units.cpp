#include "common/dialog_units.h"

#include <wx/font.h>

namespace pinsum::ui {
namespace {

// The dialog base units of the window's own font, measured as the platform that defined dialog
// units does: the average width of the 52 letters and the character height. wx would take the
// top-level window's font instead, which a host may have set otherwise.
wxSize BaseUnits(const wxWindow* window) {
    const wxSize letters =
        window->GetTextExtent("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return wxSize((letters.GetWidth() / 26 + 1) / 2, window->GetCharHeight());
}

} // namespace

void UseDialogFont(wxWindow* window) {
    window->SetFont(wxFont(wxFontInfo(8).Family(wxFONTFAMILY_SWISS)));
}

wxRect DialogRect(const wxWindow* window, int x, int y, int width, int height) {
    const wxSize base = BaseUnits(window);
    return wxRect(x * base.x / 4, y * base.y / 8, width * base.x / 4, height * base.y / 8);
}

wxSize DialogSize(const wxWindow* window, int width, int height) {
    return DialogRect(window, 0, 0, width, height).GetSize();
}

} // namespace pinsum::ui
