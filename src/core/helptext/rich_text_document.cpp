#include "helptext/rich_text_document.h"

#include <algorithm>
#include <cstdio>

#include "picture/metafile_writer.h"

namespace pinsum {
namespace {

constexpr std::string_view kHead = "{\\rtf1\\ansi\\ansicpg1250\\deff0"
                                   "{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}\r\n";
constexpr int kMaxGoal = 0xFFFF;
constexpr size_t kHexLine = 128;

bool IsLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Writes control words and text. Where text would run into a control word, "\f0 " (our only
// font) ends it: the mark-up converter drops the space after "\f" but copies the space that ends
// any other word into the text.
class RichTextWriter {
public:
    explicit RichTextWriter(const RichTextDocument& document) : m_document(document) {}

    std::string Run();

private:
    void ColourTable();
    void Paragraph(const RichTextParagraph& paragraph);
    void Format(const RichTextRun& run);
    void Text(std::string_view text);
    void Picture(const RichTextPicture& picture);
    void Word(std::string_view word, int parameter = -1);
    void Raw(std::string_view text);
    int ColourIndex(const std::optional<uint32_t>& colour) const;

    const RichTextDocument& m_document;
    std::vector<uint32_t> m_colours;
    RichTextRun m_format;
    std::string m_out;
    bool m_wordOpen = false;
};

std::string RichTextWriter::Run() {
    m_out = kHead;
    ColourTable();
    Word("viewkind", 4);
    Word("uc", 1);
    Word("pard");
    Word("f", 0);
    Word("fs", 18);
    for (size_t i = 0; i < m_document.paragraphs.size(); ++i) {
        if (i > 0) {
            Word("par");
            Raw("\r\n");
        }
        Paragraph(m_document.paragraphs[i]);
    }
    Raw("\r\n}");
    return std::move(m_out);
}

// The first entry is left empty: it stands for the automatic colour, "\cf0".
void RichTextWriter::ColourTable() {
    for (const RichTextParagraph& paragraph : m_document.paragraphs)
        for (const RichTextItem& item : paragraph.items)
            if (const auto* run = std::get_if<RichTextRun>(&item); run && run->colour)
                if (std::find(m_colours.begin(), m_colours.end(), *run->colour) == m_colours.end())
                    m_colours.push_back(*run->colour);
    Raw("{\\colortbl ;");
    for (const uint32_t colour : m_colours) {
        Word("red", static_cast<int>(colour & 0xFF));
        Word("green", static_cast<int>((colour >> 8) & 0xFF));
        Word("blue", static_cast<int>((colour >> 16) & 0xFF));
        Raw(";");
    }
    Raw("}\r\n");
}

void RichTextWriter::Paragraph(const RichTextParagraph& paragraph) {
    for (const RichTextItem& item : paragraph.items) {
        if (const auto* run = std::get_if<RichTextRun>(&item)) {
            Format(*run);
            Text(run->text);
        } else {
            Picture(std::get<RichTextPicture>(item));
        }
    }
}

void RichTextWriter::Format(const RichTextRun& run) {
    if (run.colour != m_format.colour)
        Word("cf", ColourIndex(run.colour));
    if (run.bold != m_format.bold)
        Word(run.bold ? "b" : "b0");
    if (run.italic != m_format.italic)
        Word(run.italic ? "i" : "i0");
    if (run.underline != m_format.underline)
        Word(run.underline ? "ul" : "ulnone");
    m_format = run;
}

void RichTextWriter::Text(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        if (c == '\\' || c == '{' || c == '}') {
            const char escaped[] = {'\\', c};
            Raw(std::string_view(escaped, 2));
        } else if (byte >= 0x80) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\'%02x", byte);
            Raw(escape);
        } else if (c != '\r' && c != '\n' && c != '\0') {
            if (m_wordOpen && (IsLetterOrDigit(c) || c == ' ' || c == '-'))
                m_out += "\\f0 ";
            Raw(std::string_view(&c, 1));
        }
    }
}

// "\pict" and its sizes as the converter expects them, in this order and without spaces; the
// display size in twips is kept within the four hex digits of the mark-up's picture element.
void RichTextWriter::Picture(const RichTextPicture& picture) {
    const int width = std::clamp(picture.widthTwips, 1, kMaxGoal);
    const int height = std::clamp(picture.heightTwips, 1, kMaxGoal);
    Raw("{");
    Word("pict");
    Word("wmetafile", 8);
    Word("picw", width * 127 / 72); // hundredths of a millimetre
    Word("pich", height * 127 / 72);
    Word("picwgoal", width);
    Word("pichgoal", height);
    Raw(" \r\n");
    static constexpr char kDigits[] = "0123456789abcdef";
    size_t onLine = 0;
    for (const uint8_t byte : MetafileFromImage(picture.image)) {
        m_out += kDigits[byte >> 4];
        m_out += kDigits[byte & 0xF];
        if ((onLine += 2) == kHexLine) {
            m_out += "\r\n";
            onLine = 0;
        }
    }
    Raw("\r\n}");
}

void RichTextWriter::Word(std::string_view word, int parameter) {
    m_out += '\\';
    m_out += word;
    if (parameter >= 0)
        m_out += std::to_string(parameter);
    m_wordOpen = true;
}

void RichTextWriter::Raw(std::string_view text) {
    m_out += text;
    m_wordOpen = false;
}

int RichTextWriter::ColourIndex(const std::optional<uint32_t>& colour) const {
    if (!colour)
        return 0;
    return static_cast<int>(std::find(m_colours.begin(), m_colours.end(), *colour) -
                            m_colours.begin()) +
           1;
}

} // namespace

void RichTextDocument::Append(const RichTextRun& run) {
    if (paragraphs.empty())
        NewParagraph();
    if (run.text.empty())
        return;
    std::vector<RichTextItem>& items = paragraphs.back().items;
    if (!items.empty())
        if (auto* last = std::get_if<RichTextRun>(&items.back()); last && last->SameFormat(run))
            return void(last->text += run.text);
    items.emplace_back(run);
}

void RichTextDocument::Append(RichTextPicture picture) {
    if (paragraphs.empty())
        NewParagraph();
    paragraphs.back().items.emplace_back(std::move(picture));
}

bool RichTextDocument::IsEmpty() const {
    for (const RichTextParagraph& paragraph : paragraphs)
        for (const RichTextItem& item : paragraph.items)
            if (!std::holds_alternative<RichTextRun>(item) ||
                !std::get<RichTextRun>(item).text.empty())
                return false;
    return true;
}

std::string RichTextDocument::ToRichText() const {
    return RichTextWriter(*this).Run();
}

} // namespace pinsum
