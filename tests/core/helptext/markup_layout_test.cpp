#include "helptext/markup_layout.h"

#include <gtest/gtest.h>

#include "helptext/picture_element.h"
#include "picture/jpeg_codec.h"
#include "support/fake_canvas.h"
#include "support/picture_samples.h"

namespace pinsum {
namespace {

using test::FakeCanvas;
using Placements = std::vector<std::string>;

// 9 point on the fake canvas: 7 pixels a character, lines 15 * 6 / 5 = 18 pixels apart.
constexpr int kBoxWidth = 380;

struct Laid {
    LayoutMeasure measure;
    FakeCanvas canvas; // what drawing the first page drew
};

Laid LayOut(std::string_view markup, int boxHeight = 600, bool grey = false) {
    Laid laid;
    CPrintLayout boxes;
    boxes.SetSingleBox({0, 0, kBoxWidth, boxHeight});
    FakeCanvas measuring;
    laid.measure = MarkupLayout(measuring, boxes).Measure(markup);
    boxes.Rewind();
    MarkupLayout drawing(laid.canvas, boxes);
    drawing.SetGrey(grey);
    drawing.LayOut(markup, drawing.FirstPage(), true);
    return laid;
}

Placements DrawPage(std::string_view markup, const LayoutStart& start, int boxHeight,
                    FakeCanvas& canvas) {
    CPrintLayout boxes;
    boxes.SetSingleBox({0, 0, kBoxWidth, boxHeight});
    MarkupLayout(canvas, boxes).LayOut(markup, start, true);
    return canvas.Placements();
}

// Twelve words of nine letters: with their spaces 70 pixels each, five fit a line (the sixth
// would end at 350 + 63 = 413).
std::string TwelveWords() {
    std::string text;
    for (char c = 'a'; c < 'a' + 12; ++c)
        text += std::string(9, c) + " ";
    return text;
}

TEST(MarkupLayout, PlainTextWrapsInTheBox) {
    const Laid hello = LayOut("Hello world");
    EXPECT_EQ(hello.canvas.Placements(), (Placements{"0,0:Hello", "42,0:world"}));
    EXPECT_EQ(hello.measure.usedWidth, 77);
    EXPECT_EQ(hello.measure.usedHeight, 18);
    EXPECT_EQ(hello.measure.pages.size(), 1u);
    EXPECT_TRUE(hello.measure.hasContent);
    const FontSpec& font = hello.canvas.fontsSelected.front();
    EXPECT_EQ(font, (FontSpec{"Arial", 90, 400, false, false, 238}));

    const Laid twelve = LayOut(TwelveWords());
    EXPECT_EQ(
        twelve.canvas.Placements(),
        (Placements{"0,0:aaaaaaaaa", "70,0:bbbbbbbbb", "140,0:ccccccccc", "210,0:ddddddddd",
                    "280,0:eeeeeeeee", "0,18:fffffffff", "70,18:ggggggggg", "140,18:hhhhhhhhh",
                    "210,18:iiiiiiiii", "280,18:jjjjjjjjj", "0,36:kkkkkkkkk", "70,36:lllllllll"}));
    EXPECT_EQ(twelve.measure.usedWidth, 343);
    EXPECT_EQ(twelve.measure.usedHeight, 54);

    // A word wider than the box gets a line of its own rather than an endless wrap.
    const Laid wide = LayOut("a " + std::string(60, 'x') + " b");
    EXPECT_EQ(wide.canvas.Placements(),
              (Placements{"0,0:a", "0,18:" + std::string(60, 'x'), "0,36:b"}));
    EXPECT_EQ(wide.measure.usedWidth, 420);
}

TEST(MarkupLayout, WordsEndAtSpacesCommasAndLineEnds) {
    EXPECT_EQ(LayOut("a,b c\rd\ne\tf").canvas.Placements(),
              (Placements{"0,0:a,", "14,0:b", "28,0:c", "42,0:d", "49,0:e        f"}));
    EXPECT_EQ(LayOut("   lead  two").canvas.Placements(), (Placements{"0,0:lead", "42,0:two"}))
        << "spaces at the start of a paragraph are skipped, later ones kept";
    EXPECT_EQ(LayOut("a <x> b <b").canvas.Placements(),
              (Placements{"0,0:a", "14,0:<x>", "42,0:b", "56,0:<b"}));
}

TEST(MarkupLayout, BreaksAndCellEnds) {
    EXPECT_EQ(LayOut("one<br>  two</td>three<td><mi>four<BR>").canvas.Placements(),
              (Placements{"0,0:one", "0,18:two", "0,45:three", "35,45:four"}));
    const Laid blank = LayOut("<mi><br></td>   ");
    EXPECT_FALSE(blank.measure.hasContent);
    EXPECT_EQ(blank.measure.usedHeight, 0);
    EXPECT_EQ(blank.measure.pages.size(), 1u);
}

TEST(MarkupLayout, StyleTagsSwitchTheFontAndSkipOneOfTwoSpaces) {
    // The converter keeps the space that ended "\b": "a \b  b" becomes "a <b>  b".
    for (const char* text : {"a <b> b</b> c", "a <B>  b</b> c"}) {
        const Laid laid = LayOut(text);
        EXPECT_EQ(laid.canvas.Placements(), (Placements{"0,0:a", "22,0:b", "37,0:c"})) << text;
        EXPECT_EQ(laid.canvas.texts[1].font.weight, 700);
        EXPECT_EQ(laid.canvas.texts[2].font.weight, 400);
    }
    const Laid styled = LayOut("<i><u>x</u></i>y");
    EXPECT_TRUE(styled.canvas.texts[0].font.italic);
    EXPECT_TRUE(styled.canvas.texts[0].font.underline);
    EXPECT_FALSE(styled.canvas.texts[1].font.italic || styled.canvas.texts[1].font.underline);
}

TEST(MarkupLayout, FontElementsSetTheColourUntilTheNextOne) {
    const std::string text = "<font color=\"#FF0000\"> red</font> <font color=\"#00ff00\"> "
                             "green</font> still";
    const Laid coloured = LayOut(text);
    EXPECT_EQ(coloured.canvas.Placements(), (Placements{"0,0:red", "21,0:green", "56,0:still"}));
    EXPECT_EQ(coloured.canvas.texts[0].colour, 0x0000FFu);
    EXPECT_EQ(coloured.canvas.texts[1].colour, 0x00FF00u);
    EXPECT_EQ(coloured.canvas.texts[2].colour, 0x00FF00u) << "</font> keeps the colour";

    const Laid grey = LayOut(text, 600, true);
    EXPECT_EQ(grey.canvas.texts[0].colour, 0x4C4C4Cu) << "255 * 30 / 100 = 76";
    EXPECT_EQ(grey.canvas.texts[1].colour, 0x969696u) << "255 * 59 / 100 = 150";
}

TEST(MarkupLayout, PagesBreakAtTheBoxBottomAndCarryTheStyle) {
    // Lines at 0 and 18 fit a 40-pixel box; the third (36 + 18 > 40) starts page 2. Bold
    // characters are 8 pixels wide: four words a line.
    const std::string text = "<b><font color=\"#0000FF\">" + TwelveWords();
    const Laid laid = LayOut(text, 40);
    ASSERT_EQ(laid.measure.pages.size(), 2u);
    EXPECT_EQ(laid.measure.usedHeight, 36);
    const LayoutStart& second = laid.measure.pages[1];
    EXPECT_EQ(text.substr(second.offset, 9), "iiiiiiiii");
    EXPECT_TRUE(second.bold);

    EXPECT_EQ(laid.canvas.Placements().back(), "240,18:hhhhhhhhh");
    FakeCanvas page2;
    EXPECT_EQ(
        DrawPage(text, second, 40, page2),
        (Placements{"0,0:iiiiiiiii", "80,0:jjjjjjjjj", "160,0:kkkkkkkkk", "240,0:lllllllll"}));
    EXPECT_EQ(page2.texts[0].colour, 0xFF0000u);
    EXPECT_EQ(page2.texts[0].font.weight, 700);
}

TEST(MarkupLayout, LineBreaksAtTheBottomMakeNoEmptyPage) {
    EXPECT_EQ(LayOut("a<br>b<br>", 36).measure.pages.size(), 1u);
    const Laid three = LayOut("a<br>b<br><br>c", 36);
    ASSERT_EQ(three.measure.pages.size(), 2u);
    FakeCanvas page2;
    EXPECT_EQ(DrawPage("a<br>b<br><br>c", three.measure.pages[1], 36, page2), (Placements{"0,0:c"}))
        << "blank lines at the top of a page are dropped";
}

TEST(MarkupLayout, NoBoxesLayNothingOut) {
    CPrintLayout none;
    FakeCanvas canvas;
    const LayoutMeasure measure = MarkupLayout(canvas, none).Measure("text");
    EXPECT_EQ(measure.pages.size(), 1u);
    EXPECT_FALSE(measure.hasContent);
}

class MarkupLayoutPictures : public ::testing::Test {
protected:
    // A 32 x 16 picture shown 1440 x 720 twips: 96 x 48 pixels at 96 to the inch, with
    // (96 * 45 + 720) / 1440 = 3 pixels above and below.
    std::string Element(uint16_t widthTwips = 1440, uint16_t heightTwips = 720) const {
        std::string element;
        EncodePicture(element, *EncodeJpeg(test::BlockPicture(32, 16)), widthTwips, heightTwips, 32,
                      16);
        return element;
    }
};

TEST_F(MarkupLayoutPictures, APictureTakesItsScaledSizeAndMargins) {
    const Laid laid = LayOut("text" + Element() + "after");
    EXPECT_EQ(laid.canvas.Placements(), (Placements{"0,0:text", "0,54:after"}));
    ASSERT_EQ(laid.canvas.bitmaps.size(), 1u);
    const LayoutRect target{28, 3, 124, 51};
    EXPECT_EQ(laid.canvas.bitmaps[0].target, target);
    EXPECT_EQ(laid.canvas.bitmaps[0].width, 32);
    EXPECT_EQ(laid.canvas.frames, std::vector<LayoutRect>{target});
    EXPECT_EQ(laid.measure.usedWidth, 124);
    EXPECT_EQ(laid.measure.usedHeight, 72);

    const uint32_t pixel = LayOut(Element(), 600, true).canvas.bitmaps.at(0).firstPixel;
    EXPECT_EQ(pixel & 0xFF, (pixel >> 8) & 0xFF);
    EXPECT_EQ(pixel & 0xFF, (pixel >> 16) & 0xFF);

    // Wider than the rest of the line: the picture starts a new one.
    const Laid wide = LayOut(std::string(40, 'w') + " " + Element());
    EXPECT_EQ(wide.canvas.bitmaps.at(0).target, (LayoutRect{0, 21, 96, 69}));
}

TEST_F(MarkupLayoutPictures, APictureMayPassTheBottomByTwoPerCent) {
    // A line, then a picture from 18 + 3 down in a 100-pixel box whose limit is 102.
    // 1200 twips are 80 pixels (ending at 101); 1230 twips are 82 (ending at 103).
    EXPECT_EQ(LayOut("t<br>" + Element(1440, 1200), 100).measure.pages.size(), 1u);
    const std::string moved = "t<br>" + Element(1440, 1230);
    const Laid laid = LayOut(moved, 100);
    ASSERT_EQ(laid.measure.pages.size(), 2u);
    EXPECT_EQ(laid.measure.pages[1].offset, 5u);
    EXPECT_TRUE(laid.canvas.bitmaps.empty());
}

TEST_F(MarkupLayoutPictures, APictureTallerThanTheBoxGetsAPageOfItsOwn) {
    const Laid laid = LayOut("a<br>" + Element(1440, 1440) + "b", 50);
    EXPECT_EQ(laid.measure.pages.size(), 3u);
    EXPECT_EQ(laid.measure.usedHeight, 102);
}

// The browser's canvas: it takes the JPEG bytes and draws and frames the picture itself.
class DecodingCanvas : public FakeCanvas {
public:
    bool DrawJpeg(std::span<const uint8_t> jpeg, const LayoutRect& target, bool grey) override {
        pictures.push_back({std::vector<uint8_t>(jpeg.begin(), jpeg.end()), target, grey});
        return true;
    }
    struct Picture {
        std::vector<uint8_t> jpeg;
        LayoutRect target;
        bool grey;
    };
    std::vector<Picture> pictures;
};

TEST_F(MarkupLayoutPictures, ACanvasThatDecodesJpegGetsTheBytesAndTheTarget) {
    const std::string markup = "text" + Element() + "after";
    CPrintLayout boxes;
    boxes.SetSingleBox({0, 0, kBoxWidth, 600});
    DecodingCanvas canvas;
    MarkupLayout layout(canvas, boxes);
    layout.SetGrey(true);
    layout.LayOut(markup, layout.FirstPage(), true);
    ASSERT_EQ(canvas.pictures.size(), 1u);
    EXPECT_EQ(canvas.pictures[0].jpeg, DecodePicture(markup, 4)->jpeg);
    EXPECT_EQ(canvas.pictures[0].target, (LayoutRect{28, 3, 124, 51}));
    EXPECT_TRUE(canvas.pictures[0].grey);
    EXPECT_TRUE(canvas.bitmaps.empty());
    EXPECT_TRUE(canvas.frames.empty()) << "the canvas frames what it could decode";
    EXPECT_EQ(canvas.Placements(), (Placements{"0,0:text", "0,54:after"}));
}

TEST_F(MarkupLayoutPictures, BrokenElementsDrawNothing) {
    const std::string element = Element();
    std::string badData = element;
    badData.replace(30, 40, std::string(40, 'z'));
    const Laid laid = LayOut("a<pict>0010zz</pict>b " + badData + "c d<pict>0010");
    EXPECT_EQ(laid.canvas.Placements(), (Placements{"0,0:a", "7,0:b", "0,54:c", "14,54:d"}));
    EXPECT_TRUE(laid.canvas.bitmaps.empty()) << "data that is no JPEG takes room but shows nothing";
    EXPECT_TRUE(laid.canvas.frames.empty());
}

} // namespace
} // namespace pinsum
