#include "helptext/help_tooltip.h"

#include <gtest/gtest.h>

#include "support/fake_canvas.h"

namespace pinsum {
namespace {

using test::FakeCanvas;

// 9 point lines on the fake canvas are 18 pixels apart: 33 fit a 600-pixel page.
std::string Lines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "line" + std::to_string(i) + "<br>";
    return text;
}

class HelpToolTip : public ::testing::Test {
protected:
    std::optional<WindowPlacement> Show(const std::string& markup, int x = 100, int y = 100,
                                        int screenWidth = 1024, int screenHeight = 768) {
        tip.SetText(markup);
        tip.Hide();
        return tip.Show(x, y, screenWidth, screenHeight, canvas);
    }

    FakeCanvas canvas;
    HelpToolTipController tip;
};

TEST_F(HelpToolTip, PagesAreAtMost600PixelsAndFitTheScreen) {
    ASSERT_TRUE(Show(Lines(70)));
    EXPECT_EQ(tip.PageHeight(), 600);
    EXPECT_EQ(tip.LastPage(), 2) << "33 + 33 + 4 lines";

    // A 480-pixel screen gives 480-pixel pages; the paged window (480 + 34) is then moved up
    // to keep its bottom 96 pixels above the screen's.
    const std::optional<WindowPlacement> small = Show(Lines(70), 0, 0, 640, 480);
    ASSERT_TRUE(small);
    EXPECT_EQ(tip.PageHeight(), 480);
    EXPECT_EQ(small->height, 514);
    EXPECT_EQ(small->y, 480 - 514 - 96);

    EXPECT_FALSE(Show("text", 0, 0, 640, 0)) << "a screen of no height shows nothing";
}

TEST_F(HelpToolTip, WindowSizeFollowsTheText) {
    // "Hello world" is 77 x 18 pixels.
    EXPECT_EQ(Show("Hello world"), (WindowPlacement{100, 100, 82, 23}));
    EXPECT_TRUE(tip.HasContent());
    EXPECT_FALSE(tip.SeveralPages());

    // Paged: the widest line ("line69" is 42 pixels) + 12 by the page height + 34, moved up to
    // 768 - 634 - 96.
    EXPECT_EQ(Show(Lines(70)), (WindowPlacement{100, 38, 54, 634}));

    const std::optional<WindowPlacement> empty = Show("<mi>");
    EXPECT_EQ(empty, (WindowPlacement{100, 100, 5, 5})) << "shown, empty";
    EXPECT_FALSE(tip.HasContent());
}

TEST_F(HelpToolTip, WindowStaysOnTheScreen) {
    // Near the bottom right corner: inside the right edge and 96 pixels above the bottom.
    EXPECT_EQ(Show("Hello world", 1020, 760), (WindowPlacement{942, 649, 82, 23}));
    EXPECT_EQ(Show("Hello world", -500, -500), (WindowPlacement{-82, -23, 82, 23}));
    EXPECT_EQ(Show("Hello world", -50, 10), (WindowPlacement{-50, 10, 82, 23}));

    EXPECT_FALSE(tip.Show(0, 0, 1024, 768, canvas)) << "already visible";
}

TEST_F(HelpToolTip, WheelPagesWithinTheLimits) {
    ASSERT_TRUE(Show(Lines(70)));
    EXPECT_EQ(tip.OnWheel(-360).redraw, true);
    EXPECT_EQ(tip.CurrentPage(), 2) << "three notches towards the user stop at the last page";
    EXPECT_TRUE(tip.OnWheel(120).redraw);
    EXPECT_EQ(tip.CurrentPage(), 1);
    EXPECT_TRUE(tip.OnWheel(1200).handled);
    EXPECT_EQ(tip.CurrentPage(), 0);
    EXPECT_FALSE(tip.OnWheel(120).redraw);

    ASSERT_TRUE(Show("one page"));
    EXPECT_EQ(tip.OnWheel(-120).handled, true);
    EXPECT_EQ(tip.CurrentPage(), 0);
    tip.Hide();
    EXPECT_FALSE(tip.OnWheel(-120).handled);
}

TEST_F(HelpToolTip, KeysPageAndEscapeIsLeftToTheOwner) {
    ASSERT_TRUE(Show(Lines(70)));
    for (const HelpKey key : {HelpKey::PageDown, HelpKey::Down})
        EXPECT_TRUE(tip.OnKey(key).redraw);
    EXPECT_EQ(tip.CurrentPage(), 2);
    const PagingReply atEnd = tip.OnKey(HelpKey::PageDown);
    EXPECT_TRUE(atEnd.handled);
    EXPECT_FALSE(atEnd.redraw);
    EXPECT_EQ(tip.CurrentPage(), 2);
    EXPECT_TRUE(tip.OnKey(HelpKey::Left).redraw);
    EXPECT_TRUE(tip.OnKey(HelpKey::Up).redraw);
    EXPECT_FALSE(tip.OnKey(HelpKey::PageUp).redraw);
    EXPECT_TRUE(tip.OnKey(HelpKey::Right).redraw);
    EXPECT_EQ(tip.CurrentPage(), 1);

    EXPECT_FALSE(tip.OnKey(HelpKey::Escape).handled);
    EXPECT_TRUE(tip.OnKey(HelpKey::Other).handled) << "swallowed while visible";
    tip.Hide();
    EXPECT_FALSE(tip.OnKey(HelpKey::Other).handled);

    ASSERT_TRUE(Show(Lines(70)));
    EXPECT_EQ(tip.CurrentPage(), 0) << "every show starts on the first page";
}

TEST_F(HelpToolTip, ArrowButtonsTurnPages) {
    ASSERT_TRUE(Show(Lines(70))); // 54 x 634
    EXPECT_EQ(tip.BarLineY(), 612);
    EXPECT_EQ(tip.PreviousButton(), (LayoutRect{36, 616, 52, 632}));
    EXPECT_EQ(tip.NextButton(), (LayoutRect{16, 616, 32, 632}));

    EXPECT_EQ(tip.OnMouse(true, 40, 620), MouseReply::Consumed);
    EXPECT_EQ(tip.CurrentPage(), 0) << "no page before the first";
    tip.OnMouse(true, 20, 620);
    tip.OnMouse(true, 20, 620);
    tip.OnMouse(true, 20, 620);
    EXPECT_EQ(tip.CurrentPage(), 2);
    tip.OnMouse(true, 40, 620);
    EXPECT_EQ(tip.CurrentPage(), 1);
    EXPECT_EQ(tip.OnMouse(true, 5, 5), MouseReply::Consumed) << "presses never reach the owner";
    EXPECT_EQ(tip.CurrentPage(), 1);
}

TEST_F(HelpToolTip, MouseHidesOnlyAfterSettling) {
    ASSERT_TRUE(Show("Hello world")); // 82 x 23
    EXPECT_EQ(tip.OnMouse(false, 200, 200), MouseReply::Default) << "not yet entered";
    EXPECT_EQ(tip.OnMouse(false, 10, 10), MouseReply::Default);
    EXPECT_EQ(tip.OnMouse(false, 300, 10), MouseReply::Default) << "entered, not settled";
    EXPECT_EQ(tip.OnMouse(false, 83, 24), MouseReply::Default) << "2 pixels of slack settle it";
    EXPECT_EQ(tip.OnMouse(false, 84, 10), MouseReply::Hide);
    EXPECT_FALSE(tip.IsVisible());

    ASSERT_TRUE(tip.Show(0, 0, 1024, 768, canvas));
    EXPECT_EQ(tip.OnMouse(false, 300, 10), MouseReply::Default) << "a new show forgets it";
    EXPECT_EQ(tip.OnMouse(true, 10, 10), MouseReply::Default) << "a press counts as a move";
    EXPECT_EQ(tip.OnMouse(false, 10, 10), MouseReply::Default);
    EXPECT_EQ(tip.OnMouse(true, -3, 10), MouseReply::Hide);

    // Over the arrow bar of a paged tool-tip nothing is marked.
    ASSERT_TRUE(Show(Lines(70))); // 54 x 634
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(tip.OnMouse(false, 10, 620), MouseReply::Default);
    EXPECT_EQ(tip.OnMouse(false, 100, 100), MouseReply::Default);
}

TEST_F(HelpToolTip, DrawsTheCurrentPageInsideTheMargin) {
    ASSERT_TRUE(Show(Lines(70)));
    tip.OnKey(HelpKey::PageDown);
    tip.OnKey(HelpKey::PageDown);
    FakeCanvas page;
    tip.DrawPage(page);
    EXPECT_EQ(page.Placements(), (std::vector<std::string>{"5,5:line66", "5,23:line67",
                                                           "5,41:line68", "5,59:line69"}));
}

} // namespace
} // namespace pinsum
