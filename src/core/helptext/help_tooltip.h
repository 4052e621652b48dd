#pragma once

#include <optional>
#include <string>
#include <vector>

#include "helptext/canvas.h"
#include "helptext/markup_layout.h"
#include "helptext/print_layout.h"

namespace pinsum {

struct WindowPlacement {
    int x = 0;
    int y = 0;
    int width = 0; // of the client area, as are all coordinates below
    int height = 0;
    bool operator==(const WindowPlacement&) const = default;
};

enum class HelpKey { Escape, PageUp, PageDown, Left, Right, Up, Down, Other };

struct PagingReply {
    bool handled = false; // false leaves the event to the owner
    bool redraw = false;
};

enum class MouseReply { Default, Consumed, Hide };

// What the help tool-tip window decides without a display: the layout of its mark-up into pages,
// its size and place on the screen, paging and when the mouse hides it.
// Called on the user-interface thread.
class HelpToolTipController {
public:
    static constexpr int kLayoutWidth = 380;
    static constexpr int kMaxPageHeight = 600;
    static constexpr int kMargin = 5;
    static constexpr int kBarHeight = 22;

    void SetText(std::string markup) { m_markup = std::move(markup); }
    const std::string& Text() const { return m_markup; }

    // Lays the text out on the canvas and places the window at the screen point. Nothing when
    // the tool-tip is already visible or the screen has no height.
    std::optional<WindowPlacement> Show(int x, int y, int screenWidth, int screenHeight,
                                        Canvas& canvas);
    void Hide() { m_visible = false; }
    bool IsVisible() const { return m_visible; }

    bool HasContent() const { return m_hasContent; }
    int PageHeight() const { return m_pageHeight; }
    int CurrentPage() const { return m_page; }
    int LastPage() const { return static_cast<int>(m_pages.size()) - 1; }
    bool SeveralPages() const { return LastPage() > 0; }
    const WindowPlacement& Placement() const { return m_placement; }

    // Draws the current page 5 pixels from the top left corner.
    void DrawPage(Canvas& canvas);
    // With several pages: the line above the arrow bar and the two buttons in it.
    int BarLineY() const { return m_placement.height - kBarHeight; }
    LayoutRect PreviousButton() const;
    LayoutRect NextButton() const;

    PagingReply OnWheel(int delta);
    PagingReply OnKey(HelpKey key);
    // A mouse message over the window, in client coordinates.
    MouseReply OnMouse(bool leftPress, int x, int y);

private:
    static int FitPageHeight(int screenHeight);
    void Size(const LayoutMeasure& measure);
    void Place(int x, int y, int screenWidth, int screenHeight);
    bool TurnTo(int page);
    MouseReply Press(int x, int y);

    std::string m_markup;
    CPrintLayout m_boxes;
    std::vector<LayoutStart> m_pages{LayoutStart()};
    bool m_hasContent = false;
    bool m_visible = false;
    bool m_entered = false;
    bool m_settled = false;
    int m_page = 0;
    int m_pageHeight = kMaxPageHeight;
    WindowPlacement m_placement;
};

} // namespace pinsum
