#pragma once

#include <string>

#include <wx/scrolwin.h>

namespace pinsum::ui {

// An item's help mark-up laid out in one column as the tool-tip lays it out, scrolled when it is
// taller than the window (the count dialog shows the kind's help in one).
class HelpView : public wxScrolledWindow {
public:
    HelpView(wxWindow* parent, std::string markup, int maxHeight);

private:
    void OnPaint(wxPaintEvent& event);
    int MeasureHeight();

    std::string m_markup;
};

} // namespace pinsum::ui
