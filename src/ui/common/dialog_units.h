#pragma once

#include <wx/gdicmn.h>
#include <wx/window.h>

namespace pinsum::ui {

// Gives a window the font its dialog units are measured in: an 8-point sans-serif, the nearest
// to the templates' "MS Sans Serif" 8.
void UseDialogFont(wxWindow* window);

// A template rectangle (x, y, width, height in dialog units) in pixels of the window.
wxRect DialogRect(const wxWindow* window, int x, int y, int width, int height);
wxSize DialogSize(const wxWindow* window, int width, int height);

} // namespace pinsum::ui
