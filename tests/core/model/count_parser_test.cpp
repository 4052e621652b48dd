#include "model/count_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "host/program_texts.h"
#include "host/text_codec.h"

namespace pinsum {
namespace {

std::string BadCharacter(char c) {
    return ProgramText(TextId::CountBadCharacter) + ' ' + c;
}

std::string Range(const std::string& entered, int min = 0, int max = 10000) {
    return Utf8ToCp1250("Hodnota \"" + entered + "\" musí být v rozsahu " + std::to_string(min) +
                        " <= x <= " + std::to_string(max));
}

struct Accepted {
    std::string text;
    int32_t value;
};

TEST(CountParserTest, AcceptedTexts) {
    const Accepted cases[] = {
        {"", 0},
        {"   ", 0},
        {"12", 12},
        {" 12", 12},
        {"+12", 12},
        {"  +7", 7},
        {"-0", 0},
        {"-", 0},
        {"12.", 12},
        {"12,", 12},
        {".", 0},
        {"0", 0},
        {"10000", 10000},
        {"0000000000000000000000000000042", 42},
        {std::string("12\0x", 4), 12},
        // Only the first 63 characters are read.
        {std::string(62, '0') + "5x", 5},
        {std::string(63, ' ') + "x", 0},
    };
    for (const auto& c : cases) {
        const CountParseResult result = ParseCount(c.text);
        EXPECT_TRUE(result.ok) << '"' << c.text << "\" " << result.message;
        EXPECT_EQ(result.value, c.value) << c.text;
        EXPECT_EQ(result.message, "") << c.text;
    }
}

struct Rejected {
    std::string text;
    std::string message;
};

TEST(CountParserTest, RejectedTextsGiveTheMessageShown) {
    const std::string decimalPoint = ProgramText(TextId::CountBadDecimalPoint);
    const Rejected cases[] = {
        {"12 ", BadCharacter(' ')},
        {"- 5", BadCharacter(' ')},
        {". ", BadCharacter(' ')},
        {"1-2", BadCharacter('-')},
        {"+-1", BadCharacter('-')},
        {"1+", BadCharacter('+')},
        {"12.-", BadCharacter('-')},
        {"12a", BadCharacter('a')},
        {"\t12", BadCharacter('\t')},
        {"1\xE8", BadCharacter('\xE8')},
        {"12.5", decimalPoint},
        {"12,5", decimalPoint},
        {".5", decimalPoint},
        {"1..", decimalPoint},
        {"1.,", decimalPoint},
        {"2147483648", BadCharacter('8')},
        {"99999999999", BadCharacter('9')},
        {"-2147483649", BadCharacter('9')},
        {"10001", Range("10001")},
        {"-1", Range("-1")},
        {" 10001.", Range(" 10001.")},
        {"2147483647", Range("2147483647")},
        {"-2147483648", Range("-2147483648")},
    };
    for (const auto& c : cases) {
        const CountParseResult result = ParseCount(c.text);
        EXPECT_FALSE(result.ok) << c.text;
        EXPECT_EQ(result.message, c.message) << c.text;
    }
}

TEST(CountParserTest, RangeMessageUsesTheGivenBoundsAndShowsTheReadText) {
    EXPECT_EQ(ParseCount("5", 10, 20).message, Range("5", 10, 20));
    EXPECT_EQ(ParseCount("-7", -5, 5).message, Range("-7", -5, 5));
    EXPECT_EQ(ParseCount("-5", -5, 5).value, -5);
    const std::string longText = std::string(55, ' ') + "99999999x";
    EXPECT_EQ(ParseCount(longText).message, Range(longText.substr(0, 63)));
}

TEST(CountParserTest, BadCharacterMessageIsTheTextABlankAndTheCharacter) {
    EXPECT_EQ(ParseCount("1x").message, Utf8ToCp1250("Chybný znak nebo příliš dlouhé číslo x"));
}

} // namespace
} // namespace pinsum
