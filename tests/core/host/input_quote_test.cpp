#include "host/input_quote.h"

#include <gtest/gtest.h>

namespace pinsum {
namespace {

TEST(InputQuoteTest, ShowsAShortPrefixOnOneLine) {
    const std::string sixty(60, 'x');
    const std::string czech = [] {
        std::string text;
        for (int i = 0; i < 100; ++i)
            text += "č";
        return text;
    }();
    const std::pair<std::string, std::string> cases[] = {
        {"DI 24V DC", "'DI 24V DC'"},
        {sixty, "'" + sixty + "'"},
        {sixty + "y", "'" + sixty + "...'"},
        {std::string(50'000'000, 'x'), "'" + sixty + "...'"},
        // A cut never splits a character.
        {czech, "'" + czech.substr(0, 120) + "...'"},
        {"a\nb\r\tc\x1b[31md\x7f", "'a\\nb\\r\\tc\\x1b[31md\\x7f'"},
        // Windows-1250 letters such as 0x9A (š) are no UTF-8 lead bytes; the length still holds.
        {std::string(1000, '\x9a'), "'" + std::string(240, '\x9a') + "...'"},
    };
    for (const auto& [text, quoted] : cases)
        EXPECT_EQ(QuoteInput(text), quoted) << text.substr(0, 80);
    EXPECT_EQ(
        QuoteCp1250Input(std::string(100, '\x9a')), "'" + [] {
            std::string text;
            for (int i = 0; i < 60; ++i)
                text += "š";
            return text;
        }() + "...'");
}

// What reaches a terminal: controls and bytes that are no UTF-8 escaped, letters and signs of any
// script as they are, the layout's own characters kept.
TEST(InputQuoteTest, ShowControlsEscapesWhatATerminalWouldObey) {
    const std::pair<std::string, std::string> cases[] = {
        {"Řada MK – 24 V", "Řada MK – 24 V"},
        {"\x1b]0;title\x07x", "\\x1b]0;title\\x07x"},
        {"a\tb\nc\r", "a\\tb\\nc\\r"},
        // C1 controls (CSI, OSC) in UTF-8; U+00A0 is no control.
        {"\xc2\x9b"
         "31m\xc2\x9d\xc2\xa0",
         "\\u009b31m\\u009d\xc2\xa0"},
        // A stray continuation, an overlong form, a surrogate, a cut sequence, a byte never used.
        {"\x80|\xc0\xaf|\xed\xa0\x80|\xe2\x82|\xff",
         "\\x80|\\xc0\\xaf|\\xed\\xa0\\x80|\\xe2\\x82|\\xff"},
        {std::string("a\0b", 3), "a\\x00b"},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(ShowControls(text), shown) << text;
    EXPECT_EQ(ShowControls("\tline\x1b\n", "\t\n"), "\tline\\x1b\n");
}

} // namespace
} // namespace pinsum
