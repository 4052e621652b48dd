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

void AppendHex(std::string& out, const char* prefix, unsigned value, int digits) {
    static const char kHex[] = "0123456789abcdef";
    out += prefix;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += kHex[(value >> shift) & 0x0F];
}

// A control character as an escape, any other byte as it is.
void AppendEscaped(std::string& out, char c) {
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
        AppendHex(out, "\\x", byte, 2);
    }
}

// The length of the well-formed UTF-8 sequence at `at`, 0 when there is none.
size_t SequenceLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned lead = byte(0);
    size_t length = 0;
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() - at < length || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (!IsContinuation(text[at + i]))
            return 0;
    return length;
}

} // namespace

std::string ShowControls(std::string_view utf8, std::string_view layout) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        const char c = utf8[at];
        const size_t length = SequenceLength(utf8, at);
        if (length == 0) {
            AppendHex(out, "\\x", static_cast<unsigned char>(c), 2);
            ++at;
        } else if (length == 1) {
            if (layout.find(c) != std::string_view::npos)
                out += c;
            else
                AppendEscaped(out, c);
            ++at;
        } else if (length == 2 && c == '\xC2' && static_cast<unsigned char>(utf8[at + 1]) < 0xA0) {
            AppendHex(out, "\\u00", static_cast<unsigned char>(utf8[at + 1]), 2);
            at += 2;
        } else {
            out.append(utf8.substr(at, length));
            at += length;
        }
    }
    return out;
}

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
