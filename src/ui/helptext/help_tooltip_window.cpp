#include "helptext/help_tooltip_window.h"

#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/log.h>
#include <wx/settings.h>

#include "helptext/wx_canvas.h"

namespace pinsum::ui {
namespace {

HelpKey KeyOf(int keyCode) {
    switch (keyCode) {
    case WXK_ESCAPE:
        return HelpKey::Escape;
    case WXK_PAGEUP:
    case WXK_NUMPAD_PAGEUP:
        return HelpKey::PageUp;
    case WXK_PAGEDOWN:
    case WXK_NUMPAD_PAGEDOWN:
        return HelpKey::PageDown;
    case WXK_LEFT:
    case WXK_NUMPAD_LEFT:
        return HelpKey::Left;
    case WXK_RIGHT:
    case WXK_NUMPAD_RIGHT:
        return HelpKey::Right;
    case WXK_UP:
    case WXK_NUMPAD_UP:
        return HelpKey::Up;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN:
        return HelpKey::Down;
    default:
        return HelpKey::Other;
    }
}

} // namespace

bool CHelpToolTip::Create(wxWindow* owner) {
    m_owner = owner;
    if (owner == nullptr || !wxPopupWindow::Create(owner, wxBORDER_SIMPLE)) {
        wxLogDebug("Failed to create HelpToolTip Window");
        return false;
    }
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CHelpToolTip::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &CHelpToolTip::OnMouse, this);
    Bind(wxEVT_LEFT_DCLICK, &CHelpToolTip::OnMouse, this);
    Bind(wxEVT_MOTION, &CHelpToolTip::OnMouse, this);
    Bind(wxEVT_LEAVE_WINDOW, &CHelpToolTip::OnMouse, this);
    return true;
}

void CHelpToolTip::ShowAt(const wxPoint& screenPoint) {
    if (m_owner == nullptr || m_owner->IsBeingDeleted() || IsVisible())
        return;
    const int display = wxDisplay::GetFromWindow(m_owner);
    const wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0 : display).GetGeometry();
    wxBitmap scratch(1, 1);
    wxMemoryDC dc(scratch);
    WxCanvas canvas(dc);
    const auto placement = m_controller.Show(screenPoint.x, screenPoint.y, screen.GetWidth(),
                                             screen.GetHeight(), canvas);
    if (!placement)
        return;
    SetClientSize(placement->width, placement->height);
    Move(placement->x, placement->y);
    Show();
    Refresh();
}

void CHelpToolTip::HideTip() {
    m_controller.Hide();
    if (IsShown())
        Hide();
}

bool CHelpToolTip::OnWheel(int delta) {
    if (!IsVisible())
        return false;
    const PagingReply reply = m_controller.OnWheel(delta);
    Apply(reply);
    return reply.handled;
}

bool CHelpToolTip::OnKey(int keyCode) {
    if (!IsVisible())
        return false;
    const PagingReply reply = m_controller.OnKey(KeyOf(keyCode));
    Apply(reply);
    return reply.handled;
}

void CHelpToolTip::Apply(PagingReply reply) {
    if (reply.redraw)
        Refresh();
}

void CHelpToolTip::OnMouse(wxMouseEvent& event) {
    if (!IsVisible())
        return;
    const bool press = event.LeftDown() || event.LeftDClick();
    wxPoint at = event.GetPosition();
    // Leaving may report the last point inside; the mouse is outside all the same.
    if (event.Leaving() && GetClientRect().Inflate(2).Contains(at))
        at = wxPoint(-1000, -1000);
    switch (m_controller.OnMouse(press, at.x, at.y)) {
    case MouseReply::Consumed:
        Refresh();
        break;
    case MouseReply::Hide:
        HideTip();
        break;
    case MouseReply::Default:
        event.Skip();
        break;
    }
}

void CHelpToolTip::DrawArrowButton(wxDC& dc, const LayoutRect& rect, bool up, bool active) const {
    const wxColour ink =
        active ? WxCanvas::HelpText() : wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT);
    dc.SetPen(wxPen(ink));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(rect.left, rect.top, rect.Width(), rect.Height());
    const int cx = (rect.left + rect.right) / 2;
    const int cy = (rect.top + rect.bottom) / 2;
    const int half = rect.Width() / 4;
    const wxPoint head[3] = {
        {cx - half, up ? cy + half / 2 : cy - half / 2},
        {cx + half, up ? cy + half / 2 : cy - half / 2},
        {cx, up ? cy - half / 2 - 1 : cy + half / 2 + 1},
    };
    dc.SetBrush(wxBrush(ink));
    dc.DrawPolygon(3, head);
}

void CHelpToolTip::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    dc.SetBackground(wxBrush(WxCanvas::HelpBackground()));
    dc.Clear();
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetTextForeground(WxCanvas::HelpText());
    if (m_controller.SeveralPages()) {
        const int y = m_controller.BarLineY();
        dc.SetPen(wxPen(WxCanvas::HelpText()));
        dc.DrawLine(0, y, GetClientSize().GetWidth(), y);
        DrawArrowButton(dc, m_controller.PreviousButton(), true, m_controller.CurrentPage() > 0);
        DrawArrowButton(dc, m_controller.NextButton(), false,
                        m_controller.CurrentPage() < m_controller.LastPage());
    }
    WxCanvas canvas(dc);
    dc.SetTextForeground(WxCanvas::HelpText());
    m_controller.DrawPage(canvas);
}

} // namespace pinsum::ui
