// The converter on help texts of the sample catalogue and on rich text written by a word
// processor (see tests/data/help/README.md).
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "helptext/help_markup.h"
#include "helptext/markup_tokenizer.h"
#include "helptext/picture_conversion.h"
#include "helptext/picture_element.h"
#include "helptext/stored_help.h"
#include "host/text_codec.h"
#include "picture/metafile_reader.h"
#include "support/recorders.h"

namespace pinsum {
namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void CollectHelps(const nlohmann::json& node, std::vector<std::string>& helps) {
    if (node.is_object() && node.contains("help") && node["help"].is_string())
        helps.push_back(Utf8ToCp1250(node["help"].get<std::string>()));
    if (node.is_structured())
        for (const auto& child : node)
            CollectHelps(child, helps);
}

// The positions of the picture elements of a mark-up.
std::vector<size_t> Pictures(std::string_view markup) {
    std::vector<size_t> found;
    for (size_t at = 0; at < markup.size(); at += NextMarkupToken(markup, at).length)
        if (NextMarkupToken(markup, at).tag == MarkupTag::Picture)
            found.push_back(at);
    return found;
}

TEST(RealRichText, SampleCatalogueHelps) {
    std::vector<std::string> helps;
    CollectHelps(nlohmann::json::parse(ReadText(PINSUM_SAMPLE_JSON)), helps);
    ASSERT_GT(helps.size(), 20u);
    test::RecordingMessenger messenger;
    size_t richTexts = 0;
    size_t pictures = 0;
    for (const std::string& help : helps) {
        const std::string markup = ToMarkup(help, &messenger);
        if (DetectHelpForm(help) != HelpForm::RichText) {
            EXPECT_EQ(markup, help);
            continue;
        }
        ++richTexts;
        EXPECT_EQ(markup.substr(0, 4), "<mi>");
        const std::string text =
            markup.substr(0, Pictures(markup).empty() ? markup.size() : Pictures(markup)[0]);
        EXPECT_EQ(text.find_first_of("\\{}"), std::string::npos) << Cp1250ToUtf8(markup);
        for (const size_t at : Pictures(markup)) {
            const auto image = DecodePictureElement(markup, at, false);
            ASSERT_TRUE(image.has_value());
            EXPECT_EQ(image->width, 24);
            EXPECT_EQ(image->height, 16);
            EXPECT_EQ(DecodePicture(markup, at)->displayWidth, 360u);
            ++pictures;
        }
        if (help.find("Digit\\'e1ln\\'ed vstupy") != std::string::npos) {
            EXPECT_EQ(Cp1250ToUtf8(markup),
                      "<mi><b> Digitální vstupy 24 V DC</b><br> Vstupy pro kontakty a snímače s "
                      "výstupem PNP. Logická 1 od 15 V, vstupní proud asi 5 mA, vstupní filtr 3 "
                      "ms.<br><font color=\"#C00000\"> Pro rychlé čítání impulzů použijte vstupy "
                      "typu Čítač.</font><font color=\"#000000\"> </font>");
        }
    }
    EXPECT_GE(richTexts, 5u);
    EXPECT_EQ(pictures, 1u);
    EXPECT_TRUE(messenger.shown.empty());
}

TEST(RealRichText, WordProcessorFormattingAndLetters) {
    const std::string markup =
        Cp1250ToUtf8(ToMarkup(ReadText(PINSUM_TEST_DATA_DIR "/help/formatted_text.rtf")));
    // Kept: the words, paragraph breaks, formatting switched on, both colours, and the letters
    // whose fallback byte is the same in Windows-1250.
    for (const char* kept :
         {"<b>Digitální vstupy 24 V DC<br>", "<i>sníma", "<u>PNP. Logická 1 od 15 V.<br>",
          "<font color=\"#C00000\">Pozor: žlu", "<font color=\"#0000C0\">P"})
        EXPECT_NE(markup.find(kept), std::string::npos) << kept << " in " << markup;
    // Letters outside the word processor's own code page arrive as "?", with their Unicode
    // form dropped; font names and the generator's group leave nothing.
    EXPECT_NE(markup.find("sníma?e"), std::string::npos);
    for (const char* dropped : {"\\", "{", "}", "DejaVu", "LibreOffice", "</b>"})
        EXPECT_EQ(markup.find(dropped), std::string::npos) << dropped << " in " << markup;
}

TEST(RealRichText, WordProcessorPictureIsDroppedCleanly) {
    const std::string rtf = ReadText(PINSUM_TEST_DATA_DIR "/help/embedded_picture.rtf");
    test::RecordingMessenger messenger;
    const std::string markup = ToMarkup(rtf, &messenger);
    EXPECT_TRUE(Pictures(markup).empty());
    EXPECT_TRUE(messenger.shown.empty());
    EXPECT_NE(Cp1250ToUtf8(markup).find("elní panel:  šest pozic."), std::string::npos);

    // Its metafile copy, whose control words come in another order, is one the reader takes.
    const size_t words = rtf.find("\\wmetafile8");
    ASSERT_NE(words, std::string::npos);
    const auto image = ReadMetafileBitmap(std::string_view(rtf).substr(words + 11));
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 24);
    EXPECT_EQ(image->At(0, 0), ColourRef(40, 40, 40));
    EXPECT_EQ(image->At(1, 1), ColourRef(200, 0, 0));
    EXPECT_EQ(image->At(20, 5), ColourRef(0, 0, 220));
}

} // namespace
} // namespace pinsum
