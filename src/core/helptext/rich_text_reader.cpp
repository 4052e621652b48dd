#include "helptext/rich_text_reader.h"

#include <algorithm>
#include <string>
#include <vector>

#include "helptext/rich_text_group.h"
#include "host/hex_digit.h"
#include "host/text_codec.h"
#include "picture/jpeg_codec.h"
#include "picture/metafile_reader.h"

namespace pinsum {
namespace {

constexpr int kMaxParameter = 1'000'000'000;
constexpr std::string_view kSkippedDestinations[] = {
    "fonttbl",   "stylesheet",        "info",      "header",    "footer",
    "listtable", "listoverridetable", "rsidtbl",   "generator", "xmlnstbl",
    "themedata", "latentstyles",      "datastore", "object"};

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

struct GroupState {
    RichTextRun format;
    int unicodeSkip = 1;
};

struct PictureWords {
    bool metafile = false;
    bool jpeg = false;
    int goalWidth = 0;
    int goalHeight = 0;
    int scaleX = 100;
    int scaleY = 100;
};

class RichTextReader {
public:
    explicit RichTextReader(std::string_view rtf) : m_text(rtf) {}

    RichTextDocument Run();

private:
    struct ControlWord {
        std::string_view name;
        int parameter = -1;
        bool hasParameter = false;
    };

    void Step();
    void Backslash();
    void HexByte();
    ControlWord ReadWord();
    void Act(const ControlWord& word);
    void AddText(std::string_view text);
    void Unicode(int code);
    void SkipFallback(int count);
    void SkipGroup();
    void ColourTable();
    void Picture();
    void ReadPictureWords(PictureWords& words, std::string& hex);
    void PictureWord(const ControlWord& word, PictureWords& words);
    void SkipNestedGroup();
    std::optional<Image> PictureImage(const PictureWords& words, const std::string& hex) const;
    bool AtEnd() const { return m_at >= m_text.size(); }
    RichTextRun& Format() { return m_groups.back().format; }

    std::string_view m_text;
    size_t m_at = 0;
    std::vector<GroupState> m_groups;
    std::vector<std::optional<uint32_t>> m_colours;
    RichTextDocument m_document;
};

RichTextDocument RichTextReader::Run() {
    m_document.NewParagraph();
    m_groups.emplace_back();
    while (!AtEnd() && !m_groups.empty())
        Step();
    return std::move(m_document);
}

void RichTextReader::Step() {
    const char c = m_text[m_at];
    if (c == '{') {
        ++m_at;
        m_groups.push_back(m_groups.back());
    } else if (c == '}') {
        ++m_at;
        m_groups.pop_back();
    } else if (c == '\\') {
        Backslash();
    } else {
        ++m_at;
        if (c != '\r' && c != '\n')
            AddText(std::string_view(&c, 1));
    }
}

void RichTextReader::Backslash() {
    if (m_at + 1 >= m_text.size()) {
        m_at = m_text.size();
        return;
    }
    const char next = m_text[m_at + 1];
    if (IsLetter(next))
        return Act(ReadWord());
    m_at += 2;
    if (next == '\\' || next == '{' || next == '}') {
        AddText(std::string_view(&next, 1));
    } else if (next == '\'') {
        HexByte();
    } else if (next == '~') {
        AddText("\xA0");
    } else if (next == '*') {
        SkipGroup();
    } else if (next == '\r' || next == '\n') {
        m_document.NewParagraph();
    }
}

// "\'hh"; an escape cut short gives nothing.
void RichTextReader::HexByte() {
    int value = 0;
    int digits = 0;
    for (; digits < 2 && !AtEnd() && HexDigitValue(m_text[m_at]) >= 0; ++digits, ++m_at)
        value = value * 16 + HexDigitValue(m_text[m_at]);
    const char byte = static_cast<char>(value);
    if (digits == 2)
        AddText(std::string_view(&byte, 1));
}

// A letter sequence, an optional signed number, and a space that ends it.
RichTextReader::ControlWord RichTextReader::ReadWord() {
    const size_t start = ++m_at;
    while (!AtEnd() && IsLetter(m_text[m_at]))
        ++m_at;
    ControlWord word{m_text.substr(start, m_at - start)};
    const bool negative = !AtEnd() && m_text[m_at] == '-';
    if (negative)
        ++m_at;
    long long value = 0;
    while (!AtEnd() && IsDigit(m_text[m_at])) {
        value = std::min<long long>(value * 10 + (m_text[m_at++] - '0'), kMaxParameter);
        word.hasParameter = true;
    }
    word.parameter = static_cast<int>(negative ? -value : value);
    if (!AtEnd() && m_text[m_at] == ' ')
        ++m_at;
    return word;
}

void RichTextReader::Act(const ControlWord& word) {
    const std::string_view name = word.name;
    const bool on = !word.hasParameter || word.parameter != 0;
    if (name == "par" || name == "line") {
        m_document.NewParagraph();
    } else if (name == "tab") {
        AddText("\t");
    } else if (name == "b") {
        Format().bold = on;
    } else if (name == "i") {
        Format().italic = on;
    } else if (name == "ul") {
        Format().underline = on;
    } else if (name == "ulnone") {
        Format().underline = false;
    } else if (name == "plain") {
        Format() = RichTextRun();
    } else if (name == "cf") {
        const size_t index = static_cast<size_t>(std::max(word.parameter, 0));
        Format().colour = index < m_colours.size() ? m_colours[index] : std::nullopt;
    } else if (name == "u") {
        Unicode(word.parameter);
    } else if (name == "uc") {
        m_groups.back().unicodeSkip = std::max(word.parameter, 0);
    } else if (name == "colortbl") {
        ColourTable();
    } else if (name == "pict") {
        Picture();
    } else if (std::find(std::begin(kSkippedDestinations), std::end(kSkippedDestinations), name) !=
               std::end(kSkippedDestinations)) {
        SkipGroup();
    }
}

void RichTextReader::AddText(std::string_view text) {
    RichTextRun run = Format();
    run.text = text;
    m_document.Append(run);
}

void RichTextReader::Unicode(int code) {
    const char16_t unit = static_cast<char16_t>(code < 0 ? code + 0x10000 : code);
    AddText(Utf16ToCp1250(std::u16string_view(&unit, 1)));
    SkipFallback(m_groups.back().unicodeSkip);
}

// The characters written for readers that do not know "\u": one escape or character each.
void RichTextReader::SkipFallback(int count) {
    for (int i = 0; i < count && !AtEnd(); ++i) {
        const char c = m_text[m_at];
        if (c == '{' || c == '}')
            return;
        if (c != '\\')
            ++m_at;
        else if (m_at + 1 < m_text.size() && m_text[m_at + 1] == '\'')
            m_at = std::min(m_text.size(), m_at + 4);
        else if (m_at + 1 < m_text.size() && IsLetter(m_text[m_at + 1]))
            ReadWord();
        else
            m_at = std::min(m_text.size(), m_at + 2);
    }
}

// Skips the rest of the current group and its "}".
void RichTextReader::SkipGroup() {
    m_at = EndOfRichTextGroup(m_text, m_at).value_or(m_text.size());
    m_groups.pop_back();
}

// Entries end at ";"; one without colour words is the automatic colour.
void RichTextReader::ColourTable() {
    std::optional<uint32_t> entry;
    while (!AtEnd() && m_text[m_at] != '}') {
        const char c = m_text[m_at];
        if (c == ';') {
            m_colours.push_back(entry);
            entry.reset();
            ++m_at;
        } else if (c == '\\' && m_at + 1 < m_text.size() && IsLetter(m_text[m_at + 1])) {
            const ControlWord word = ReadWord();
            const auto value = static_cast<uint32_t>(std::clamp(word.parameter, 0, 255));
            const int shift = word.name == "red" ? 0 : word.name == "green" ? 8 : 16;
            if (word.name == "red" || word.name == "green" || word.name == "blue")
                entry = (entry.value_or(0) & ~(0xFFu << shift)) | value << shift;
        } else {
            ++m_at;
        }
    }
}

void RichTextReader::Picture() {
    PictureWords words;
    std::string hex;
    ReadPictureWords(words, hex);
    if (std::optional<Image> image = PictureImage(words, hex)) {
        m_document.Append(RichTextPicture{std::move(*image), words.goalWidth * words.scaleX / 100,
                                          words.goalHeight * words.scaleY / 100});
    }
    SkipGroup();
}

// The picture's words and its hex digits, up to the group's end; nested groups are skipped.
void RichTextReader::ReadPictureWords(PictureWords& words, std::string& hex) {
    while (!AtEnd() && m_text[m_at] != '}') {
        const char c = m_text[m_at];
        if (c == '{') {
            SkipNestedGroup();
        } else if (c != '\\') {
            if (HexDigitValue(c) >= 0)
                hex += c;
            ++m_at;
        } else if (m_at + 1 >= m_text.size() || !IsLetter(m_text[m_at + 1])) {
            m_at += 2;
        } else {
            PictureWord(ReadWord(), words);
        }
    }
}

void RichTextReader::PictureWord(const ControlWord& word, PictureWords& words) {
    if (word.name == "wmetafile")
        words.metafile = word.parameter == 8;
    else if (word.name == "jpegblip")
        words.jpeg = true;
    else if (word.name == "picwgoal")
        words.goalWidth = std::max(word.parameter, 0);
    else if (word.name == "pichgoal")
        words.goalHeight = std::max(word.parameter, 0);
    else if (word.name == "picscalex")
        words.scaleX = std::clamp(word.parameter, 1, 1000);
    else if (word.name == "picscaley")
        words.scaleY = std::clamp(word.parameter, 1, 1000);
}

// At a "{" inside a picture: moves past its group.
void RichTextReader::SkipNestedGroup() {
    size_t depth = 0;
    while (!AtEnd()) {
        const char c = m_text[m_at++];
        if (c == '\\')
            ++m_at;
        else if (c == '{')
            ++depth;
        else if (c == '}' && --depth == 0)
            break;
    }
    m_at = std::min(m_at, m_text.size());
}

std::optional<Image> RichTextReader::PictureImage(const PictureWords& words,
                                                  const std::string& hex) const {
    if (words.metafile)
        return ReadMetafileBitmap(hex);
    if (!words.jpeg)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(
            static_cast<uint8_t>(HexDigitValue(hex[i]) * 16 + HexDigitValue(hex[i + 1])));
    const std::optional<PixelArray> pixels = DecodeJpeg(bytes, kMaxMarkupPictureSide);
    return pixels ? std::optional<Image>(ImageFromPixelArray(*pixels, false)) : std::nullopt;
}

} // namespace

RichTextDocument ReadRichText(std::string_view rtf) {
    return RichTextReader(rtf).Run();
}

} // namespace pinsum
