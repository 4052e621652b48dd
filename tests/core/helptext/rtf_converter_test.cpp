#include "helptext/help_markup.h"

#include <gtest/gtest.h>

#include <chrono>

#include "helptext/picture_conversion.h"
#include "helptext/picture_element.h"
#include "support/picture_samples.h"
#include "support/recorders.h"

namespace pinsum {
namespace {

// The mark-up of a rich text with the given body, without its leading "<mi>".
std::string Body(const std::string& body, Messenger* messenger = nullptr) {
    const std::string markup = ToMarkup("{\\rtf1\r\n" + body + "}", messenger);
    EXPECT_EQ(markup.substr(0, 4), "<mi>") << body;
    return markup.substr(4);
}

TEST(RtfConverter, RedAndBlackWithoutTrailingBreak) {
    EXPECT_EQ(ToMarkup("{\\rtf1\\ansi{\\colortbl ;\\red255\\green0\\blue0;}\\cf1 red\\cf0 "
                       "black\\par }"),
              "<mi><font color=\"#FF0000\"> red</font><font color=\"#000000\"> black </font>");
}

TEST(RtfConverter, ControlWords) {
    const std::pair<std::string, std::string> cases[] = {
        {"\\b bold\\b0 plain", "<b> bold</b> plain"},
        {"\\i1 x\\i0\\ul y\\ulnone\\ul0 z", "<i> x</i><u> y</u></u> z"},
        {"\\f0 x\\fs20 y", "x y"},
        {"\\cb3\\pard\\plain x", " x"},
        {"\\'e8\\'00\\'4z\\'", "\xE8\xFF\x04z\xFF"},
        {"\\\\ \\{ \\}", "\\ { }"},
        {"a\\par b\\par\\par c", "a<br> b<br><br> c"},
        {"\\b a\\rtf1 b", " b"},
        {"{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}{\\f1\\fcharset0 Liberation{\\*\\falt "
         "Times};}}x",
         "x"},
        {"\\red255\\wmetafile8\\picwgoal9 x", " x"},
        {"{\\b x}y", "<b> xy"},
        {"\r\na\r\nb", "ab"},
    };
    for (const auto& [body, markup] : cases)
        EXPECT_EQ(Body(body), markup) << body;
}

TEST(RtfConverter, ColourTableSkipsItsFirstEntry) {
    const std::string table = "{\\colortbl\\red9\\green9\\blue9;\\red300\\green0\\blue0;"
                              "\r\n\\red0\\green0\\blue128;}";
    EXPECT_EQ(Body(table + "\\cf1 a\\cf2 b\\cf3 c\\cf0 d"),
              "<font color=\"#FF0000\"> a</font><font color=\"#000080\"> b c</font><font "
              "color=\"#000000\"> d</font>");
}

// The faults of the plain reading, mended.
TEST(RtfConverter, ParagraphEndClosesItsGroupAndKeepsTheNextLine) {
    EXPECT_EQ(Body("{a\\par}b"), "ab");
    EXPECT_EQ(Body("a\\par\r\nb\\par\nc"), "a<br>b<br>c");
    // A paragraph end followed only by a line end and the group's end writes nothing.
    EXPECT_EQ(Body("a\\par\r\n"), "a");
    EXPECT_EQ(ToMarkup("[1029]{\\rtf1 cz\\par}[1024]{\\rtf1 en\\par}"), "<mi> en");
}

TEST(RtfConverter, ColourWithoutNumberOrPastTheTableIsIgnored) {
    const std::string table = "{\\colortbl ;\\red255\\green0\\blue0;}";
    EXPECT_EQ(Body(table + "\\cf x\\cf2 y\\cf99999999999 z"), " x y z");
}

TEST(RtfConverter, IgnorableGroupsAndControlSymbolsAreSkipped) {
    EXPECT_EQ(Body("{\\*\\generator Riched20 10.0.19041;}x{\\*\\a{\\b}{{y}}}z"), "xz");
    EXPECT_EQ(Body("a\\~b\\-c\\_d"), "abcd");
}

TEST(RtfConverter, PictureOfTheRichEditForm) {
    const Image picture = test::BlockPicture(24, 16);
    test::RecordingMessenger messenger;
    const std::string markup =
        Body("\\b0 x" + test::RichTextPicture(picture, 360, 240) + "y", &messenger);
    EXPECT_TRUE(messenger.shown.empty());
    ASSERT_EQ(markup.substr(0, 6), "</b> x");
    const auto element = DecodePicture(markup, 6);
    ASSERT_TRUE(element.has_value());
    EXPECT_EQ(element->displayWidth, 360u);
    EXPECT_EQ(element->pixelHeight, 16u);
    EXPECT_EQ(markup.substr(element->end), "y");

    // A display size past four hex digits or missing, or words in another order: no picture.
    const std::string hex = test::HexText(test::MetafileBytes(picture));
    for (const std::string words :
         {"\\wmetafile8\\picw1\\pich1\\picwgoal65536\\pichgoal20",
          "\\wmetafile8\\picw1\\pich1\\picwgoal20\\pichgoal",
          "\\wmetafile\\picw1\\pich1\\picwgoal20\\pichgoal20",
          "\\picw1\\pich1\\picwgoal20\\pichgoal20\\wmetafile8",
          "{\\*\\picprop}\\wmetafile8\\picw1\\pich1\\picwgoal20\\pichgoal20"})
        EXPECT_EQ(Body("{\\pict" + words + " " + hex + "}y", &messenger), "y") << words;
    EXPECT_TRUE(messenger.shown.empty());

    // A metafile that breaks a rule says so and the text goes on.
    EXPECT_EQ(Body("{\\pict\\wmetafile8\\picw1\\pich1\\picwgoal20\\pichgoal20 0100}y", &messenger),
              "y");
    EXPECT_EQ(Body("{\\pict\\wmetafile8\\picw1\\pich1\\picwgoal20\\pichgoal20}y", &messenger), "y");
    EXPECT_EQ(messenger.shown, std::vector<std::string>{std::string(kPictureFailureMessage)});
}

TEST(RtfConverter, HostileNestingIsBounded) {
    const auto start = std::chrono::steady_clock::now();
    const std::string million(1000000, '{');
    EXPECT_EQ(Body(million + "x" + std::string(1000000, '}') + "y"), "xy");
    EXPECT_EQ(Body("{\\*" + million + "}y"), "");
    EXPECT_EQ(Body("\\fcharset0" + million), "");
    EXPECT_EQ(ToMarkup(million + "\\b"), "<b>");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(HelpMarkup, FormsAndSectionChoice) {
    EXPECT_EQ(ToMarkup("Rozsah [V]"), "Rozsah [V]");
    EXPECT_EQ(ToMarkup("<MI><b>x{y}"), "<MI><b>x{y}");
    EXPECT_EQ(ToMarkup("[1029]{\\rtf1 cz}[1031]{\\rtf1 de}"), "<mi> de") << "the last section";
    EXPECT_EQ(ToMarkup("[1029]{\\rtf1 cz}{\\rtf1 default}"), "<mi> cz");
    EXPECT_EQ(ToMarkup("{\\rtf1 default}[1029]{\\rtf1 cz}"), "<mi> default");
    EXPECT_EQ(ToMarkup("[1029]x"), "[1029]x");
}

} // namespace
} // namespace pinsum
