#include "helptext/rtf_converter.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "helptext/picture_conversion.h"
#include "helptext/rich_text_group.h"
#include "host/hex_digit.h"

namespace pinsum {
namespace {

enum class Word {
    Paragraph = 1,
    FontName = 2,
    ColourTable = 3,
    Red = 4,
    Green = 5,
    Blue = 6,
    Foreground = 7,
    Background = 8,
    Bold = 9,
    Italic = 10,
    Underline = 11,
    UnderlineNone = 12,
    Font = 13,
    Picture = 14,
    Metafile = 15,
    PictureWidth = 16,
    PictureHeight = 17,
    GoalWidth = 18,
    GoalHeight = 19,
    Rtf = 20,
};

const std::unordered_map<std::string_view, Word>& WordTable() {
    static const std::unordered_map<std::string_view, Word> table = {
        {"par", Word::Paragraph},
        {"fcharset", Word::FontName},
        {"fname", Word::FontName},
        {"colortbl", Word::ColourTable},
        {"red", Word::Red},
        {"green", Word::Green},
        {"blue", Word::Blue},
        {"cf", Word::Foreground},
        {"cb", Word::Background},
        {"b", Word::Bold},
        {"i", Word::Italic},
        {"ul", Word::Underline},
        {"ulnone", Word::UnderlineNone},
        {"f", Word::Font},
        {"pict", Word::Picture},
        {"wmetafile", Word::Metafile},
        {"picw", Word::PictureWidth},
        {"pich", Word::PictureHeight},
        {"picwgoal", Word::GoalWidth},
        {"pichgoal", Word::GoalHeight},
        {"rtf", Word::Rtf},
    };
    return table;
}

constexpr int kMaxParameter = 0x7FFFFFFF;
constexpr int kMaxGoal = 0xFFFF;

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A control word also ends at "}", CR and LF, so that "\par}" closes its group.
bool EndsWord(char c) {
    return c == '\\' || c == ' ' || c == '{' || c == ';' || c == '}' || c == '\r' || c == '\n';
}

uint32_t Component(int parameter) {
    return static_cast<uint32_t>(parameter < 0 ? 0 : parameter > 255 ? 255 : parameter);
}

} // namespace

std::string RtfConverter::Convert(std::string_view group) {
    m_text = group;
    m_at = 0;
    m_depth = 0;
    m_fontNameDepth = 0;
    m_out.clear();
    m_colours.assign(1, 0x000000);
    m_fontOpen = false;
    while (m_at < m_text.size())
        Step();
    if (m_fontOpen)
        m_out += "</font>";
    return std::move(m_out);
}

void RtfConverter::Step() {
    const char c = m_text[m_at];
    if (c == '\r' || c == '\n') {
        ++m_at;
    } else if (c == '{') {
        ++m_depth;
        ++m_at;
    } else if (c == '}') {
        ++m_at;
        CloseGroup();
    } else if (m_fontNameDepth != 0 && m_fontNameDepth == m_depth) {
        // A font name is skipped up to its ";"; groups inside it are converted as usual.
        if (c == ';')
            m_fontNameDepth = 0;
        m_at = std::min(m_text.size(), m_at + (c == '\\' ? 2 : 1));
    } else if (c == '\\') {
        Backslash();
    } else {
        m_out += c;
        ++m_at;
    }
}

void RtfConverter::CloseGroup() {
    if (m_fontNameDepth == m_depth)
        m_fontNameDepth = 0;
    if (m_depth <= 1)
        m_at = m_text.size();
    else
        --m_depth;
}

// Skips the rest of the current group and its "}".
void RtfConverter::SkipGroup() {
    const std::optional<size_t> end = EndOfRichTextGroup(m_text, m_at);
    m_at = end.value_or(m_text.size());
    if (end)
        CloseGroup();
}

void RtfConverter::Backslash() {
    if (m_at + 1 >= m_text.size()) {
        m_at = m_text.size();
        return;
    }
    const char next = m_text[m_at + 1];
    if (next == '\\' || next == '{' || next == '}') {
        m_out += next;
        m_at += 2;
    } else if (next == '\'') {
        HexByte();
    } else if (IsLetter(next)) {
        Act(ReadWord());
    } else {
        // A control symbol is one character; "\*" marks a group readers may skip.
        m_at += 2;
        if (next == '*')
            SkipGroup();
    }
}

// "\'hh"; the value 0 becomes 0xFF, as the mark-up holds no zero byte.
void RtfConverter::HexByte() {
    m_at += 2;
    int value = 0;
    for (int digits = 0; digits < 2 && m_at < m_text.size(); ++digits, ++m_at) {
        const int digit = HexDigitValue(m_text[m_at]);
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    m_out += static_cast<char>(value == 0 ? 0xFF : value);
}

// At a backslash followed by a letter; leaves the cursor at the character that ends the word.
RtfConverter::ControlWord RtfConverter::ReadWord() {
    const size_t start = ++m_at;
    while (m_at < m_text.size() && !EndsWord(m_text[m_at]))
        ++m_at;
    const std::string_view word = m_text.substr(start, m_at - start);
    ControlWord result;
    size_t letters = 0;
    while (letters < word.size() && IsLetter(word[letters]))
        ++letters;
    result.name = word.substr(0, letters);
    for (const char c : word.substr(letters)) {
        if (!IsDigit(c))
            continue;
        const int digit = c - '0';
        const int previous = result.parameter < 0 ? 0 : result.parameter;
        result.parameter =
            previous > (kMaxParameter - digit) / 10 ? kMaxParameter : previous * 10 + digit;
    }
    return result;
}

bool RtfConverter::WordFollows() const {
    return m_at + 1 < m_text.size() && m_text[m_at] == '\\' && IsLetter(m_text[m_at + 1]);
}

void RtfConverter::Act(const ControlWord& word) {
    const auto found = WordTable().find(word.name);
    if (found == WordTable().end())
        return;
    switch (found->second) {
    case Word::Paragraph:
        return Paragraph();
    case Word::FontName:
        m_fontNameDepth = m_depth;
        return;
    case Word::ColourTable:
        return ColourTable();
    case Word::Foreground:
        return SetColour(word.parameter);
    case Word::Bold:
        return Toggle(word.parameter, "<b>", "</b>");
    case Word::Italic:
        return Toggle(word.parameter, "<i>", "</i>");
    case Word::Underline:
        return Toggle(word.parameter, "<u>", "</u>");
    case Word::UnderlineNone:
        m_out += "</u>";
        return;
    case Word::Font:
        if (m_at < m_text.size() && m_text[m_at] == ' ')
            ++m_at;
        return;
    case Word::Picture:
        Picture();
        return SkipGroup();
    case Word::Rtf:
        m_out = "<mi>";
        return;
    default:
        return;
    }
}

// A paragraph end that only spaces, line ends and the group's end follow writes nothing.
void RtfConverter::Paragraph() {
    size_t at = m_at;
    while (at < m_text.size() && (m_text[at] == ' ' || m_text[at] == '\r' || m_text[at] == '\n'))
        ++at;
    if (at == m_text.size() || m_text[at] != '}')
        m_out += "<br>";
}

// The first entry, up to its ";", is skipped: the rich edit writes its automatic colour there.
void RtfConverter::ColourTable() {
    SkipPast(';');
    uint32_t colour = 0;
    for (;;) {
        while (m_at < m_text.size() && (m_text[m_at] == '\r' || m_text[m_at] == '\n'))
            ++m_at;
        if (!WordFollows())
            return;
        const ControlWord word = ReadWord();
        if (word.name == "red") {
            colour = (colour & 0x00FFFF) | Component(word.parameter) << 16;
        } else if (word.name == "green") {
            colour = (colour & 0xFF00FF) | Component(word.parameter) << 8;
        } else if (word.name == "blue") {
            m_colours.push_back((colour & 0xFFFF00) | Component(word.parameter));
            colour = 0;
            SkipPast(';');
        } else {
            return;
        }
    }
}

// Moves past the next `end` within the current group; stops at the group's "}".
void RtfConverter::SkipPast(char end) {
    while (m_at < m_text.size() && m_text[m_at] != '}')
        if (m_text[m_at++] == end)
            return;
}

// A negative index (a "\cf" without a number) is ignored like one past the table.
void RtfConverter::SetColour(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_colours.size())
        return;
    if (m_fontOpen)
        m_out += "</font>";
    char element[32];
    std::snprintf(element, sizeof element, "<font color=\"#%06X\">",
                  static_cast<unsigned>(m_colours[static_cast<size_t>(index)]));
    m_out += element;
    m_fontOpen = true;
}

void RtfConverter::Toggle(int parameter, std::string_view on, std::string_view off) {
    m_out += parameter != 0 ? on : off;
}

void RtfConverter::Picture() {
    const auto goal = PictureGoal();
    if (!goal)
        return;
    size_t hex = m_at;
    while (hex < m_text.size() && m_text[hex] != '}' && HexDigitValue(m_text[hex]) < 0)
        ++hex;
    if (hex < m_text.size() && m_text[hex] != '}')
        CompressPicture(m_out, m_text.substr(hex), goal->first, goal->second, m_messenger);
}

// The words that must follow "\pict", in this order, for a picture the converter can read. A
// display size beyond four hex digits, or missing, drops the picture.
std::optional<std::pair<uint16_t, uint16_t>> RtfConverter::PictureGoal() {
    static constexpr std::string_view kOrder[] = {"wmetafile", "picw", "pich", "picwgoal",
                                                  "pichgoal"};
    int parameters[5] = {};
    for (size_t i = 0; i < 5; ++i) {
        if (!WordFollows())
            return std::nullopt;
        const ControlWord word = ReadWord();
        if (word.name != kOrder[i])
            return std::nullopt;
        parameters[i] = word.parameter;
    }
    const int width = parameters[3];
    const int height = parameters[4];
    if (parameters[0] != 8 || width < 0 || width > kMaxGoal || height < 0 || height > kMaxGoal)
        return std::nullopt;
    return std::make_pair(static_cast<uint16_t>(width), static_cast<uint16_t>(height));
}

} // namespace pinsum
