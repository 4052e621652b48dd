#include "helptext/print_layout.h"

#include <gtest/gtest.h>

namespace pinsum {
namespace {

constexpr LayoutRect kUntouched{-7, -7, -7, -7};

LayoutRect Box(int page, int box) {
    return {page * 1000 + box, 0, page * 1000 + box + 10, 10};
}

TEST(PrintLayout, WithoutBoxesNothingIsDelivered) {
    CPrintLayout layout;
    LayoutRect out = kUntouched;
    EXPECT_EQ(layout.CurrentBox(out), -1);
    EXPECT_EQ(layout.NextBox(out), -1);
    EXPECT_FALSE(layout.IsLastBoxOfPage());
    EXPECT_EQ(out, kUntouched);

    // Boxes added to a layout never rewound have no cursor yet.
    layout.AddBox(Box(0, 0), false);
    EXPECT_EQ(layout.CurrentBox(out), -1);
    layout.Rewind();
    EXPECT_EQ(layout.CurrentBox(out), -1) << "the page limit starts at -1: no room at all";
    EXPECT_EQ(out, Box(0, 0));

    layout.Clear();
    out = kUntouched;
    EXPECT_EQ(layout.CurrentBox(out), -1);
    EXPECT_EQ(out, kUntouched);
}

TEST(PrintLayout, SingleBoxHasNoRoomForASecondPage) {
    CPrintLayout layout;
    const LayoutRect box{0, 0, 380, 600};
    layout.SetSingleBox(box);
    LayoutRect out;
    EXPECT_EQ(layout.CurrentBox(out), 0);
    EXPECT_EQ(out, box);
    EXPECT_TRUE(layout.IsLastBoxOfPage());
    out = kUntouched;
    EXPECT_EQ(layout.NextBox(out), -1);
    EXPECT_EQ(out, box);
    EXPECT_EQ(layout.NextBox(out), -2);
    layout.Rewind();
    EXPECT_EQ(layout.CurrentBox(out), 0);
}

TEST(PrintLayout, CursorWalksPagesAndStaysOnTheLast) {
    CPrintLayout layout;
    layout.AddBox(Box(0, 0), false);
    layout.AddBox(Box(0, 1), false);
    layout.AddBox(Box(1, 0), true);
    layout.AddBox(Box(1, 1), false);
    layout.Rewind();
    layout.SetPageLimit(5);

    const std::pair<int, LayoutRect> expected[] = {
        {5, Box(0, 1)}, {4, Box(1, 0)}, {4, Box(1, 1)}, {3, Box(1, 0)}};
    for (const auto& [left, box] : expected) {
        LayoutRect out;
        EXPECT_EQ(layout.NextBox(out), left);
        EXPECT_EQ(out, box);
    }
    EXPECT_FALSE(layout.IsLastBoxOfPage());

    LayoutRect out;
    layout.SetNoCount(true);
    EXPECT_EQ(layout.CurrentBox(out), 0);
    EXPECT_EQ(layout.NextBox(out), 0);
    EXPECT_TRUE(layout.IsLastBoxOfPage());

    layout.SetNoCount(false);
    layout.SetPageLimit(1);
    EXPECT_EQ(layout.CurrentBox(out), 1) << "a new limit forgets the page breaks taken";
}

TEST(PrintLayout, SingleBoxReplacesEveryPageAndBox) {
    CPrintLayout threePages;
    for (int page = 0; page < 3; ++page)
        threePages.AddBox(Box(page, 0), true);
    CPrintLayout threeBoxes;
    for (int box = 0; box < 3; ++box)
        threeBoxes.AddBox(Box(0, box), false);

    const LayoutRect single{5, 5, 385, 605};
    for (CPrintLayout* layout : {&threePages, &threeBoxes}) {
        layout->SetSingleBox(single);
        EXPECT_EQ(layout->PageCount(), 1u);
        LayoutRect out;
        EXPECT_EQ(layout->CurrentBox(out), 0);
        EXPECT_EQ(out, single);
        EXPECT_TRUE(layout->IsLastBoxOfPage()) << "one box is left on the page";
    }
}

} // namespace
} // namespace pinsum
