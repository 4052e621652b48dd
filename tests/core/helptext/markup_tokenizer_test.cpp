#include "helptext/markup_tokenizer.h"

#include <gtest/gtest.h>

#include <string>

namespace pinsum {
namespace {

MarkupToken First(std::string_view text) {
    return NextMarkupToken(text, 0);
}

TEST(MarkupTokenizer, TagsInAnyLetterCase) {
    const std::pair<std::string_view, MarkupTag> tags[] = {
        {"<b>", MarkupTag::BoldOn},         {"</b>", MarkupTag::BoldOff},
        {"<u>", MarkupTag::UnderlineOn},    {"</u>", MarkupTag::UnderlineOff},
        {"<i>", MarkupTag::ItalicOn},       {"</i>", MarkupTag::ItalicOff},
        {"<br>", MarkupTag::LineBreak},     {"<td>", MarkupTag::CellStart},
        {"<mi>", MarkupTag::Marker},        {"<pict>", MarkupTag::Picture},
        {"</pict>", MarkupTag::PictureEnd}, {"</font>", MarkupTag::FontEnd},
        {"</td>", MarkupTag::CellEnd},      {"<_?>", MarkupTag::Reserved},
        {"<B>", MarkupTag::BoldOn},         {"</PiCt>", MarkupTag::PictureEnd},
    };
    for (const auto& [text, tag] : tags) {
        const MarkupToken token = First(std::string(text) + "x>");
        EXPECT_EQ(token.tag, tag) << text;
        EXPECT_EQ(token.length, text.size()) << text;
    }
    EXPECT_EQ(NextMarkupToken("ab<i>", 2).tag, MarkupTag::ItalicOn);
}

TEST(MarkupTokenizer, AnythingElseIsOnePlainCharacter) {
    const std::string plain[] = {
        "x",     "< b>",    "<",      "<b",
        "<b x>", "<bold>",  "<font>", "<color>",
        "<br/>", "<td >",   "<b\t>",  "<>",
        "<<b>",  "<font >", "<pict",  "<" + std::string(100000, 'b') + ">",
    };
    for (const std::string& text : plain) {
        const MarkupToken token = First(text);
        EXPECT_EQ(token.tag, MarkupTag::Text) << text;
        EXPECT_EQ(token.length, 1u) << text;
    }
}

TEST(MarkupTokenizer, FontColourElementExactly) {
    const std::string_view green = "<font color=\"#00ff00\">";
    MarkupToken token = First(std::string(green) + "text");
    EXPECT_EQ(token.tag, MarkupTag::Font);
    EXPECT_EQ(token.length, green.size());
    EXPECT_EQ(token.colour, 0x0000FF00u);

    const std::string spaced = "<FONT" + std::string(9, ' ') + "Color" + std::string(9, ' ') + "=" +
                               std::string(9, ' ') + "\"#C00010\"" + std::string(9, ' ') + ">";
    token = First(spaced);
    EXPECT_EQ(token.tag, MarkupTag::Font);
    EXPECT_EQ(token.length, spaced.size());
    EXPECT_EQ(token.colour, 0x001000C0u) << "red and blue swapped into a colour reference";

    const std::string broken[] = {
        "<font color=\"#0f0\">",
        "<font" + std::string(10, ' ') + "color=\"#00ff00\">",
        "<font color=" + std::string(10, ' ') + "\"#00ff00\">",
        "<font size=\"3\">",
        "<font color=\"#00ff00\" size=\"3\">",
        "<font color=#00ff00>",
        "<font color=\"00ff00\">",
        "<font color=\"#00ff00>",
        "<font color=\"#00fg00\">",
        "<font color=\"#00ff00\"",
        "<font color=\"#00ff0\"",
        "<fontcolor=\"#00ff00\">",
    };
    for (const std::string& text : broken)
        EXPECT_EQ(First(text).tag, MarkupTag::Text) << text;
}

} // namespace
} // namespace pinsum
