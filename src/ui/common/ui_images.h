#pragma once

#include <memory>

#include <wx/bitmap.h>
#include <wx/imaglist.h>
#include <wx/window.h>

namespace pinsum::ui {

// The trees' images 0 to 8 (16 pixels, pure red as the mask colour).
std::unique_ptr<wxImageList> CreateTreeImageList();
// The check boxes of the trees: state 0 unchecked, 1 checked, drawn by the platform's renderer.
std::unique_ptr<wxImageList> CreateCheckBoxImageList(wxWindow* window);
// The image the menu shows beside a command; an empty bitmap for a command without one.
wxBitmap CommandImage(int command);

} // namespace pinsum::ui
