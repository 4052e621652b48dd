#include "helptext/rich_text_document.h"

#include <gtest/gtest.h>

#include "helptext/help_editor_text.h"
#include "helptext/help_markup.h"
#include "helptext/picture_conversion.h"
#include "helptext/picture_element.h"
#include "helptext/rich_text_reader.h"
#include "host/file_io.h"
#include "host/text_codec.h"
#include "picture/metafile_reader.h"
#include "picture/metafile_writer.h"
#include "support/picture_samples.h"

namespace pinsum {
namespace {

RichTextRun Run(std::string utf8, bool bold = false, std::optional<uint32_t> colour = {}) {
    RichTextRun run;
    run.text = Utf8ToCp1250(utf8);
    run.bold = bold;
    run.colour = colour;
    return run;
}

// Two paragraphs: plain, bold and escaped text; red and automatic colour, italic underlined
// text, and a 32 x 16 picture shown 1440 x 720 twips.
RichTextDocument Sample() {
    RichTextDocument document;
    document.Append(Run("Vstupy "));
    document.Append(Run("24 V", true));
    document.Append(Run(" {DC} \\ a, b"));
    document.NewParagraph();
    document.Append(Run("červená", false, ColourRef(255, 0, 0)));
    RichTextRun styled = Run(" 1-2 černá");
    styled.italic = true;
    styled.underline = true;
    document.Append(styled);
    document.Append(RichTextPicture{test::BlockPicture(32, 16), 1440, 720});
    return document;
}

std::string Describe(const RichTextDocument& document) {
    std::string text;
    for (const RichTextParagraph& paragraph : document.paragraphs) {
        text += "[";
        for (const RichTextItem& item : paragraph.items) {
            if (const auto* run = std::get_if<RichTextRun>(&item)) {
                text += "(" + std::string(run->bold ? "b" : "") + (run->italic ? "i" : "") +
                        (run->underline ? "u" : "") +
                        (run->colour ? "#" + std::to_string(*run->colour) : "") + ")" +
                        Cp1250ToUtf8(run->text);
            } else {
                const auto& picture = std::get<RichTextPicture>(item);
                text += "(pict " + std::to_string(picture.image.width) + "x" +
                        std::to_string(picture.image.height) + " " +
                        std::to_string(picture.widthTwips) + "x" +
                        std::to_string(picture.heightTwips) + ")";
            }
        }
        text += "]";
    }
    return text;
}

TEST(RichTextDocument, WrittenRichTextConvertsToMarkup) {
    const std::string markup = ToMarkup(Sample().ToRichText());
    const size_t picture = markup.find("<pict>");
    ASSERT_NE(picture, std::string::npos) << markup;
    EXPECT_EQ(Cp1250ToUtf8(markup.substr(0, picture)),
              "<mi>Vstupy <b>24 V</b> {DC} \\ a, b<br><font color=\"#FF0000\">červená"
              "</font><font color=\"#000000\"><i><u> 1-2 černá");
    EXPECT_EQ(markup.substr(markup.size() - 7), "</font>") << "no <br> after the last paragraph";

    const std::optional<PictureElement> element = DecodePicture(markup, picture);
    ASSERT_TRUE(element);
    EXPECT_EQ(element->displayWidth, 1440u);
    EXPECT_EQ(element->displayHeight, 720u);
    EXPECT_EQ(element->pixelWidth, 32u);
    EXPECT_EQ(element->pixelHeight, 16u);
    const std::optional<Image> image = DecodePictureElement(markup, picture, false);
    ASSERT_TRUE(image);
    EXPECT_LT(test::MeanDifference(*image, test::BlockPicture(32, 16)), 12.0);
}

TEST(RichTextDocument, ReadsBackWhatItWrote) {
    const RichTextDocument sample = Sample();
    const RichTextDocument read = ReadRichText(sample.ToRichText());
    EXPECT_EQ(Describe(read), Describe(sample));
    const auto& picture = std::get<RichTextPicture>(read.paragraphs[1].items.back());
    EXPECT_EQ(picture.image.pixels, test::BlockPicture(32, 16).pixels) << "metafiles are lossless";

    EXPECT_TRUE(RichTextDocument().IsEmpty());
    EXPECT_EQ(Describe(ReadRichText(RichTextDocument().ToRichText())), "[]");
}

TEST(RichTextDocument, MetafileHoldsOneStretchedBitmap) {
    // Odd widths need row padding.
    for (const int width : {1, 3, 33}) {
        const Image image = test::BlockPicture(width, 5);
        const std::optional<Image> read =
            ReadMetafileBitmap(test::HexText(MetafileFromImage(image), 80));
        ASSERT_TRUE(read) << width;
        EXPECT_EQ(read->pixels, image.pixels);
    }
    // Too large for the mark-up: written, then refused by the conversion.
    RichTextDocument large;
    large.Append(RichTextPicture{test::BlockPicture(1601, 1), 100, 100});
    const std::string markup = ToMarkup(large.ToRichText());
    EXPECT_EQ(markup.find("<pict>"), std::string::npos);
}

TEST(RichTextDocument, DisplaySizeStaysWithinTheElement) {
    RichTextDocument huge;
    huge.Append(RichTextPicture{test::BlockPicture(8, 8), 70000, -5});
    const std::string markup = ToMarkup(huge.ToRichText());
    const std::optional<PictureElement> element = DecodePicture(markup, markup.find("<pict>"));
    ASSERT_TRUE(element);
    EXPECT_EQ(element->displayWidth, 0xFFFFu);
    EXPECT_EQ(element->displayHeight, 1u);
}

TEST(RichTextReader, ReadsWordProcessorOutput) {
    const std::vector<uint8_t> bytes =
        ReadFileBytes(std::string(PINSUM_TEST_DATA_DIR) + "/help/formatted_text.rtf");
    const RichTextDocument document =
        ReadRichText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    const std::string text = Describe(document);
    EXPECT_NE(text.find("[(b)Digitální vstupy 24 V DC]"), std::string::npos) << text;
    EXPECT_NE(text.find("[()Vstupy pro kontakty a (i)snímače() s výstupem (u)PNP(). Logická 1 "
                        "od 15 V.]"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("(#192)Pozor:() žluťoučký kůň úpěl ďábelské ódy."), std::string::npos)
        << text;
    EXPECT_NE(text.find("(#12582912)Příliš modrý řádek() a obyčejný text."), std::string::npos)
        << text;
    EXPECT_EQ(text.find("LibreOffice"), std::string::npos) << "\\* groups are skipped";
    EXPECT_EQ(text.find("Normal"), std::string::npos) << "the style sheet is skipped";
}

TEST(RichTextReader, HostileInputEndsCleanly) {
    const std::string deep = std::string(1000000, '{') + "x" + std::string(1000000, '}');
    EXPECT_EQ(Describe(ReadRichText(deep)), "[()x]");
    EXPECT_EQ(Describe(ReadRichText("{\\colortbl;\\red9;}\\cf7 a\\cf-3 b\\cf1 c\\'4")),
              "[()ab(#9)c]")
        << "colours past the table are automatic";
    EXPECT_EQ(Describe(ReadRichText("{\\pict\\wmetafile8\\picwgoal99 0100}z")), "[()z]");
    EXPECT_EQ(Describe(ReadRichText("{\\uc2\\u269\\'e8\\'e8x\\u-3\\'3f}")), "[()čx?]");
    EXPECT_EQ(Describe(ReadRichText("\\b9999999999999 a\\")), "[(b)a]");
}

TEST(HelpEditorText, LoadsAndSavesTheCurrentSection) {
    const std::string stored = Utf8ToCp1250("první\r\n<b>druhý");
    const RichTextDocument plain = LoadHelpDocument(stored);
    EXPECT_EQ(Describe(plain), "[()první][()<b>druhý]") << "plain and mark-up load unformatted";
    const std::string saved = SaveHelpDocument(stored, plain);
    EXPECT_EQ(saved.rfind("{\\rtf1", 0), 0u) << "saving stores rich text";
    EXPECT_EQ(Describe(LoadHelpDocument(saved)), Describe(plain));

    EXPECT_EQ(SaveHelpDocument("{\\rtf1 old}", LoadHelpDocument("")), "") << "cleared";

    // A [1029]-only help loads empty; saving puts the default section first and keeps [1029].
    const std::string czech = "[1029]{\\rtf1 cz}";
    EXPECT_EQ(Describe(LoadHelpDocument(czech)), "[]");
    const std::string merged = SaveHelpDocument("{\\rtf1 old}" + czech, Sample());
    EXPECT_EQ(merged, Sample().ToRichText() + czech);
}

} // namespace
} // namespace pinsum
