#pragma once

#include <string>

#include <wx/popupwin.h>

#include "helptext/help_tooltip.h"

namespace pinsum::ui {

// The help tool-tip: a pop-up with a thin border that never takes the focus and shows an item's
// help mark-up, laid out and paged by the engine's controller. The owner forwards the keys and
// the wheel while it is visible; the mouse pages with the two arrow buttons, and once it has
// settled on the window its leaving hides it.
class CHelpToolTip : public wxPopupWindow {
public:
    CHelpToolTip() = default;
    // Creates the (hidden) window; false after the diagnostic when that fails.
    bool Create(wxWindow* owner);

    // Windows-1250 mark-up.
    void SetText(std::string markup) { m_controller.SetText(std::move(markup)); }
    // Lays the text out and shows it at the screen point, kept on the screen; nothing when it is
    // already visible or the owner is gone.
    void ShowAt(const wxPoint& screenPoint);
    void HideTip();
    bool IsVisible() const { return m_controller.IsVisible() && IsShown(); }

    // True when the tool-tip took the wheel or the key; the owner then goes no further.
    bool OnWheel(int delta);
    bool OnKey(int keyCode);

    const HelpToolTipController& Controller() const { return m_controller; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnMouse(wxMouseEvent& event);
    void DrawArrowButton(wxDC& dc, const LayoutRect& rect, bool up, bool active) const;
    void Apply(PagingReply reply);

    wxWindow* m_owner = nullptr;
    HelpToolTipController m_controller;
};

} // namespace pinsum::ui
