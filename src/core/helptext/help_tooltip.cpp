#include "helptext/help_tooltip.h"

#include <algorithm>

namespace pinsum {
namespace {

constexpr int kWheelNotch = 120;
// The window keeps clear of this much of the screen's bottom (the task bar).
constexpr int kScreenReserve = 96;
// Right margin and arrow bar of a paged window: 5 + 7 around the text, 5 + 7 + 22 under it.
constexpr int kPagedExtraWidth = 12;
constexpr int kPagedExtraHeight = 34;
constexpr int kSingleExtra = 5;
constexpr int kArrowBarHover = 16;
constexpr int kHoverSlack = 2;

int Limit(int position, int size, int screen) {
    return std::max(std::min(position, screen - size), -size);
}

} // namespace

// The screen's height, but at most 600 pixels.
int HelpToolTipController::FitPageHeight(int screenHeight) {
    return std::min(kMaxPageHeight, screenHeight);
}

std::optional<WindowPlacement> HelpToolTipController::Show(int x, int y, int screenWidth,
                                                           int screenHeight, Canvas& canvas) {
    if (m_visible || screenHeight <= 0)
        return std::nullopt;
    m_pageHeight = FitPageHeight(screenHeight);
    m_boxes.SetSingleBox({0, 0, kLayoutWidth, m_pageHeight});
    const LayoutMeasure measure = MarkupLayout(canvas, m_boxes).Measure(m_markup);
    m_pages = measure.pages;
    m_hasContent = measure.hasContent;
    Size(measure);
    Place(x, y, screenWidth, screenHeight);
    m_visible = true;
    m_entered = false;
    m_settled = false;
    m_page = 0;
    return m_placement;
}

void HelpToolTipController::Size(const LayoutMeasure& measure) {
    if (SeveralPages()) {
        m_placement.width = measure.usedWidth + kPagedExtraWidth;
        m_placement.height = m_pageHeight + kPagedExtraHeight;
    } else {
        m_placement.width = measure.usedWidth + kSingleExtra;
        m_placement.height = measure.usedHeight + kSingleExtra;
    }
}

void HelpToolTipController::Place(int x, int y, int screenWidth, int screenHeight) {
    m_placement.x = Limit(x, m_placement.width, screenWidth);
    m_placement.y = Limit(y, m_placement.height, screenHeight - kScreenReserve);
}

void HelpToolTipController::DrawPage(Canvas& canvas) {
    m_boxes.SetSingleBox({kMargin, kMargin, kMargin + kLayoutWidth, kMargin + m_pageHeight});
    MarkupLayout layout(canvas, m_boxes);
    layout.LayOut(m_markup, m_pages[static_cast<size_t>(m_page)], true);
}

LayoutRect HelpToolTipController::PreviousButton() const {
    const int w = m_placement.width;
    const int h = m_placement.height;
    return {w - 18, h - 18, w - 2, h - 2};
}

LayoutRect HelpToolTipController::NextButton() const {
    const int w = m_placement.width;
    const int h = m_placement.height;
    return {w - 38, h - 18, w - 22, h - 2};
}

bool HelpToolTipController::TurnTo(int page) {
    const int turned = std::clamp(page, 0, LastPage());
    const bool changed = turned != m_page;
    m_page = turned;
    return changed;
}

PagingReply HelpToolTipController::OnWheel(int delta) {
    if (!m_visible)
        return {};
    return {true, SeveralPages() && TurnTo(m_page - delta / kWheelNotch)};
}

PagingReply HelpToolTipController::OnKey(HelpKey key) {
    if (!m_visible || key == HelpKey::Escape)
        return {};
    switch (key) {
    case HelpKey::PageUp:
    case HelpKey::Left:
    case HelpKey::Up:
        return {true, TurnTo(m_page - 1)};
    case HelpKey::PageDown:
    case HelpKey::Right:
    case HelpKey::Down:
        return {true, TurnTo(m_page + 1)};
    default:
        return {true, false};
    }
}

// The first message inside marks the tool-tip entered, a later one settled; once settled, the
// mouse leaving hides it.
MouseReply HelpToolTipController::OnMouse(bool leftPress, int x, int y) {
    if (leftPress && SeveralPages())
        return Press(x, y);
    const int w = m_placement.width;
    const int h = m_placement.height;
    if (SeveralPages() && LayoutRect{0, h - kArrowBarHover, w, h}.Contains(x, y))
        return MouseReply::Default;
    const bool inside =
        LayoutRect{-kHoverSlack, -kHoverSlack, w + kHoverSlack, h + kHoverSlack}.Contains(x, y);
    if (inside)
        (m_entered ? m_settled : m_entered) = true;
    if (inside || !m_settled)
        return MouseReply::Default;
    m_visible = false;
    return MouseReply::Hide;
}

MouseReply HelpToolTipController::Press(int x, int y) {
    if (PreviousButton().Contains(x, y))
        TurnTo(m_page - 1);
    else if (NextButton().Contains(x, y))
        TurnTo(m_page + 1);
    return MouseReply::Consumed;
}

} // namespace pinsum
