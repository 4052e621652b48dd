#include "helptext/markup_tokenizer.h"

#include <string>
#include <unordered_map>

#include "host/hex_digit.h"

namespace pinsum {
namespace {

constexpr size_t kMaxTagCopy = 60;
constexpr int kMaxSpaces = 9;

const std::unordered_map<std::string, MarkupTag>& TagTable() {
    static const std::unordered_map<std::string, MarkupTag> table = {
        {"<b>", MarkupTag::BoldOn},         {"</b>", MarkupTag::BoldOff},
        {"<u>", MarkupTag::UnderlineOn},    {"</u>", MarkupTag::UnderlineOff},
        {"<i>", MarkupTag::ItalicOn},       {"</i>", MarkupTag::ItalicOff},
        {"<br>", MarkupTag::LineBreak},     {"<td>", MarkupTag::CellStart},
        {"<mi>", MarkupTag::Marker},        {"<pict>", MarkupTag::Picture},
        {"</pict>", MarkupTag::PictureEnd}, {"<font>", MarkupTag::Font},
        {"</font>", MarkupTag::FontEnd},    {"</td>", MarkupTag::CellEnd},
        {"<_?>", MarkupTag::Reserved},
    };
    return table;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Reads the rest of a font element after "<font"; false at any deviation from the one form.
class FontAttribute {
public:
    FontAttribute(std::string_view text, size_t pos) : m_text(text), m_at(pos) {}

    bool Parse() {
        return Spaces(1) && Word("color") && Spaces(0) && Char('=') && Spaces(0) && Char('"') &&
               Char('#') && Colour() && Char('"') && Spaces(0) && Char('>');
    }
    size_t End() const { return m_at; }
    uint32_t ColourRef() const { return m_colour; }

private:
    bool Spaces(int least) {
        int count = 0;
        while (m_at < m_text.size() && m_text[m_at] == ' ') {
            ++m_at;
            ++count;
        }
        return count >= least && count <= kMaxSpaces;
    }
    bool Char(char expected) {
        if (m_at >= m_text.size() || m_text[m_at] != expected)
            return false;
        ++m_at;
        return true;
    }
    bool Word(std::string_view word) {
        for (const char c : word)
            if (m_at >= m_text.size() || Lower(m_text[m_at++]) != c)
                return false;
        return true;
    }
    bool Colour() {
        uint32_t rgb = 0;
        for (int i = 0; i < 6; ++i) {
            const int digit = m_at < m_text.size() ? HexDigitValue(m_text[m_at]) : -1;
            if (digit < 0)
                return false;
            rgb = rgb * 16 + static_cast<uint32_t>(digit);
            ++m_at;
        }
        m_colour = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
        return true;
    }

    std::string_view m_text;
    size_t m_at;
    uint32_t m_colour = 0;
};

} // namespace

MarkupToken NextMarkupToken(std::string_view text, size_t pos) {
    const MarkupToken plain;
    if (text[pos] != '<')
        return plain;
    std::string name;
    size_t at = pos;
    while (at < text.size() && text[at] != ' ' && text[at] != '>' && name.size() < kMaxTagCopy)
        name += Lower(text[at++]);
    const bool atSpace = at < text.size() && text[at] == ' ';
    const bool atClose = at < text.size() && text[at] == '>';
    if (!atSpace && !atClose)
        return plain;
    const auto found = TagTable().find(name + '>');
    if (found == TagTable().end())
        return plain;
    if (found->second != MarkupTag::Font)
        return atClose ? MarkupToken{found->second, at + 1 - pos, 0} : plain;
    FontAttribute attribute(text, at);
    if (!atSpace || !attribute.Parse())
        return plain;
    return MarkupToken{MarkupTag::Font, attribute.End() - pos, attribute.ColourRef()};
}

} // namespace pinsum
