#pragma once

#include <vector>

#include <wx/colour.h>
#include <wx/dialog.h>

namespace pinsum::ui {

// A small modal colour choice: sixteen swatches, opened at the mouse cursor with the given colour
// preselected. A click chooses a swatch, a double click or "OK" confirms it; "Storno" or Escape
// leaves without a colour.
class CColourPickDialog : public wxDialog {
public:
    CColourPickDialog(wxWindow* parent, const wxColour& initial);

    // The chosen colour; not valid when nothing was chosen.
    wxColour Colour() const;
    // Chooses the swatch of this colour; false when the palette has none.
    bool Choose(const wxColour& colour);
    static const std::vector<wxColour>& Palette();

private:
    class Swatches;
    Swatches* m_swatches;
};

} // namespace pinsum::ui
