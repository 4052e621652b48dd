#include "model/count_parser.h"

#include "host/program_texts.h"

namespace pinsum {
namespace {

CountParseResult Fail(std::string message) {
    return {false, 0, std::move(message)};
}

CountParseResult BadCharacter(char c) {
    return Fail(ProgramText(TextId::CountBadCharacter) + ' ' + c);
}

std::string RangeMessage(std::string_view entered, int32_t min, int32_t max) {
    return FormatText(TextId::CountOutOfRange, {entered}) + ' ' + std::to_string(min) +
           " <= x <= " + std::to_string(max);
}

} // namespace

CountParseResult ParseCount(std::string_view text, int32_t min, int32_t max) {
    // The field's text is a terminated character string.
    text = text.substr(0, kCountFieldLength);
    if (const std::size_t end = text.find('\0'); end != std::string_view::npos)
        text = text.substr(0, end);

    bool begun = false;
    bool negative = false;
    bool separatorSeen = false;
    int64_t magnitude = 0;
    for (const char c : text) {
        if (c == ' ') {
            if (begun)
                return BadCharacter(c);
        } else if (c == '+' || c == '-') {
            if (begun)
                return BadCharacter(c);
            negative = c == '-';
            begun = true;
        } else if (c == '.' || c == ',') {
            if (separatorSeen)
                return Fail(ProgramText(TextId::CountBadDecimalPoint));
            separatorSeen = true;
            begun = true;
        } else if (c >= '0' && c <= '9') {
            if (separatorSeen)
                return Fail(ProgramText(TextId::CountBadDecimalPoint));
            // The negative end of the 32-bit range reaches one further than the positive end.
            const int64_t limit = negative ? 2147483648LL : 2147483647LL;
            const int64_t next = magnitude * 10 + (c - '0');
            if (next > limit)
                return BadCharacter(c);
            magnitude = next;
            begun = true;
        } else {
            return BadCharacter(c);
        }
    }

    const int64_t value = negative ? -magnitude : magnitude;
    if (value < min || value > max)
        return Fail(RangeMessage(text, min, max));
    return {true, static_cast<int32_t>(value), {}};
}

} // namespace pinsum
