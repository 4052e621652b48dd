#include "host/input_quote.h"

#include "host/text_codec.h"

namespace pinsum {
namespace {

constexpr size_t kMaxSequence = 4;

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The end of the part shown: whole characters, a lead byte with at most three continuation bytes
// each.
size_t ShownEnd(std::string_view text) {
    size_t end = 0;
    for (size_t characters = 0; end < text.size() && characters < kQuotedCharacters; ++characters) {
        size_t next = end + 1;
        while (next < text.size() && next - end < kMaxSequence && IsContinuation(text[next]))
            ++next;
        end = next;
    }
    return end;
}

void AppendEscaped(std::string& out, char c) {
    static const char kHex[] = "0123456789abcdef";
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
        out += c;
        return;
    }
    switch (c) {
    case '\n':
        out += "\\n";
        break;
    case '\r':
        out += "\\r";
        break;
    case '\t':
        out += "\\t";
        break;
    default:
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 0x0F];
    }
}

} // namespace

std::string ShortenInput(std::string_view text) {
    const size_t end = ShownEnd(text);
    std::string out;
    out.reserve(end + 3);
    for (size_t i = 0; i < end; ++i)
        AppendEscaped(out, text[i]);
    if (end < text.size())
        out += "...";
    return out;
}

std::string QuoteInput(std::string_view text, char quote) {
    return quote + ShortenInput(text) + quote;
}

std::string QuoteCp1250Input(std::string_view cp1250) {
    // One byte is one character, so the converted prefix is all that can show.
    return QuoteInput(Cp1250ToUtf8(cp1250.substr(0, kQuotedCharacters + 1)));
}

} // namespace pinsum
