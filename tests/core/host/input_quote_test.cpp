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

} // namespace
} // namespace pinsum
