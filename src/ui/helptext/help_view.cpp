#include "helptext/help_view.h"

#include <climits>

#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>

#include "helptext/help_tooltip.h"
#include "helptext/markup_layout.h"
#include "helptext/wx_canvas.h"

namespace pinsum::ui {
namespace {

constexpr int kMargin = HelpToolTipController::kMargin;
constexpr int kWidth = HelpToolTipController::kLayoutWidth;

} // namespace

HelpView::HelpView(wxWindow* parent, std::string markup, int maxHeight)
    : wxScrolledWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                       wxBORDER_THEME | wxVSCROLL),
      m_markup(std::move(markup)) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    const int height = MeasureHeight() + 2 * kMargin;
    SetVirtualSize(kWidth + 2 * kMargin, height);
    SetScrollRate(0, 10);
    const int scrollBar = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this);
    SetMinClientSize(wxSize(kWidth + 2 * kMargin + scrollBar, std::min(height, maxHeight)));
    Bind(wxEVT_PAINT, &HelpView::OnPaint, this);
}

int HelpView::MeasureHeight() {
    wxBitmap scratch(1, 1);
    wxMemoryDC dc(scratch);
    WxCanvas canvas(dc);
    CPrintLayout boxes;
    boxes.SetSingleBox({0, 0, kWidth, INT_MAX / 2});
    return MarkupLayout(canvas, boxes).Measure(m_markup).usedHeight;
}

void HelpView::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    DoPrepareDC(dc);
    dc.SetBackground(wxBrush(WxCanvas::HelpBackground()));
    dc.Clear();
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetTextForeground(WxCanvas::HelpText());
    WxCanvas canvas(dc);
    CPrintLayout boxes;
    boxes.SetSingleBox({kMargin, kMargin, kMargin + kWidth, INT_MAX / 2});
    MarkupLayout layout(canvas, boxes);
    layout.LayOut(m_markup, layout.FirstPage(), true);
}

} // namespace pinsum::ui
