#include "helptext/markup_layout.h"

#include <cstdint>

#include <algorithm>

#include "helptext/markup_tokenizer.h"
#include "helptext/picture_conversion.h"
#include "helptext/picture_element.h"

namespace pinsum {
namespace {

struct FontTemplate {
    int pointTenths;
    bool underline;
};

constexpr FontTemplate kTemplates[] = {{90, false}, {120, false}, {180, true}};
constexpr int kCentralEuropean = 238;
constexpr int kTabSpaces = 8;
constexpr int kPictureMarginTwips = 45;
constexpr int kTwipsPerInch = 1440;
constexpr std::string_view kPictureEnd = "</pict>";

int TwipsToPixels(int twips, int pixelsPerInch) {
    return (pixelsPerInch * twips + kTwipsPerInch / 2) / kTwipsPerInch;
}

std::string_view TrimTrailingSpaces(std::string_view word) {
    const size_t last = word.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : word.substr(0, last + 1);
}

} // namespace

MarkupLayout::MarkupLayout(Canvas& canvas, CPrintLayout& boxes, int sizeIndex)
    : m_canvas(canvas), m_boxes(boxes), m_sizeIndex(std::clamp(sizeIndex, 0, 2)) {}

LayoutStart MarkupLayout::FirstPage() const {
    LayoutStart start;
    start.underline = kTemplates[m_sizeIndex].underline;
    return start;
}

LayoutMeasure MarkupLayout::Measure(std::string_view markup) {
    LayoutMeasure measure;
    LayoutStart from = FirstPage();
    for (;;) {
        m_boxes.Rewind();
        const LayoutPassResult pass = LayOut(markup, from, false);
        measure.pages.push_back(from);
        measure.usedWidth = std::max(measure.usedWidth, pass.usedWidth);
        measure.usedHeight = std::max(measure.usedHeight, pass.usedHeight);
        measure.hasContent = measure.hasContent || pass.hasContent;
        // A pass that cannot move on (no box at all) ends the text too.
        if (pass.finished || pass.next.offset <= from.offset)
            return measure;
        from = pass.next;
    }
}

LayoutPassResult MarkupLayout::LayOut(std::string_view markup, const LayoutStart& from, bool draw) {
    Begin(markup, from, draw);
    if (m_boxes.CurrentBox(m_box) < 0) {
        m_result.next = from;
        return m_result;
    }
    m_x = m_box.left;
    m_y = m_box.top;
    while (!m_stopped && m_state.offset < m_text.size())
        Step();
    if (!m_stopped)
        EndWord();
    m_result.finished = !m_stopped;
    if (!m_stopped)
        m_result.next = m_state;
    return m_result;
}

void MarkupLayout::Begin(std::string_view markup, const LayoutStart& from, bool draw) {
    m_text = markup;
    m_draw = draw;
    m_state = from;
    m_lineEmpty = true;
    m_boxEmpty = true;
    m_stopped = false;
    m_word.clear();
    m_result = LayoutPassResult();
    CreateFont();
    if (m_state.colour)
        ApplyColour();
}

void MarkupLayout::Step() {
    const MarkupToken token = NextMarkupToken(m_text, m_state.offset);
    if (token.tag == MarkupTag::Text)
        return Character(m_text[m_state.offset]);
    EndWord();
    if (m_stopped)
        return;
    if (token.tag == MarkupTag::Picture)
        return Picture();
    m_state.offset += token.length;
    switch (token.tag) {
    case MarkupTag::BoldOn:
    case MarkupTag::BoldOff:
        return StyleTag(m_state.bold, token.tag == MarkupTag::BoldOn);
    case MarkupTag::ItalicOn:
    case MarkupTag::ItalicOff:
        return StyleTag(m_state.italic, token.tag == MarkupTag::ItalicOn);
    case MarkupTag::UnderlineOn:
    case MarkupTag::UnderlineOff:
        return StyleTag(m_state.underline, token.tag == MarkupTag::UnderlineOn);
    case MarkupTag::LineBreak:
        return EndParagraph(m_lineHeight);
    case MarkupTag::CellEnd:
        return EndParagraph(m_lineHeight * 3 / 2);
    case MarkupTag::Font:
        return FontElement(token.colour);
    case MarkupTag::FontEnd:
        return SkipOneSpace();
    default:
        return;
    }
}

void MarkupLayout::Character(char c) {
    const size_t at = m_state.offset++;
    if (m_state.paragraphStart && c == ' ')
        return;
    m_state.paragraphStart = false;
    if (m_word.empty())
        m_wordStart = at;
    switch (c) {
    case '\t':
        m_word.append(kTabSpaces, ' ');
        return;
    case '\r':
        m_word += ' ';
        return EndWord();
    case '\n':
        return EndWord();
    case ' ':
    case ',':
        m_word += c;
        return EndWord();
    default:
        m_word += c;
        return;
    }
}

// Of two spaces after a style tag one is skipped: the converter keeps the space that ended the
// control word besides the one the author typed.
void MarkupLayout::StyleTag(bool& flag, bool on) {
    flag = on;
    CreateFont();
    if (m_text.substr(m_state.offset, 2) == "  ")
        ++m_state.offset;
}

void MarkupLayout::NewLine(int advance) {
    m_y += advance;
    m_x = m_box.left;
    m_lineEmpty = true;
}

void MarkupLayout::EndParagraph(int advance) {
    NewLine(advance);
    m_state.paragraphStart = true;
}

void MarkupLayout::SkipOneSpace() {
    if (m_state.offset < m_text.size() && m_text[m_state.offset] == ' ')
        ++m_state.offset;
}

void MarkupLayout::FontElement(uint32_t colour) {
    SkipOneSpace();
    m_state.colour = colour;
    ApplyColour();
}

void MarkupLayout::EndWord() {
    if (m_word.empty())
        return;
    const std::string_view ink = TrimTrailingSpaces(m_word);
    if (ink.empty() && m_lineEmpty) {
        m_word.clear();
        return;
    }
    const int inkWidth = m_canvas.MeasureText(ink).width;
    if (!m_lineEmpty && m_x + inkWidth > m_box.right)
        NewLine(m_lineHeight);
    if (m_lineEmpty && !MakeRoom(m_lineHeight, m_box.bottom))
        return Stop(m_wordStart);
    if (!ink.empty()) {
        if (m_draw)
            m_canvas.DrawText(m_x, m_y, m_word);
        Mark(m_x + inkWidth, m_y + m_lineHeight);
    }
    m_x += m_canvas.MeasureText(m_word).width;
    m_lineEmpty = false;
    m_word.clear();
}

void MarkupLayout::Picture() {
    const size_t at = m_state.offset;
    const std::optional<PictureElement> element = DecodePicture(m_text, at);
    if (!element)
        return SkipBrokenPicture();
    const int width =
        TwipsToPixels(static_cast<int>(element->displayWidth), m_canvas.PixelsPerInchX());
    const int height =
        TwipsToPixels(static_cast<int>(element->displayHeight), m_canvas.PixelsPerInchY());
    const int margin = TwipsToPixels(kPictureMarginTwips, m_canvas.PixelsPerInchY());
    if (!m_lineEmpty && m_x + width > m_box.right)
        NewLine(m_lineHeight);
    // A picture may reach 2 % of the box's height below its bottom before it moves on.
    const auto allowance = static_cast<int>(int64_t{m_box.Height()} * 102 / 100);
    if (!MakeRoom(margin + height, m_box.top + allowance))
        return Stop(at);
    const LayoutRect target{m_x, m_y + margin, m_x + width, m_y + margin + height};
    if (m_draw && !m_canvas.DrawJpeg(element->jpeg, target, m_grey)) {
        if (const std::optional<Image> image = DecodePictureElement(m_text, at, m_grey)) {
            m_canvas.DrawBitmap(*image, target);
            m_canvas.FrameRect(target);
        }
    }
    Mark(target.right, target.bottom + margin);
    m_state.offset = element->end;
    NewLine(height + 2 * margin);
}

// An element whose fields or data cannot be read is skipped up to its end tag.
void MarkupLayout::SkipBrokenPicture() {
    const size_t end = m_text.find(kPictureEnd, m_state.offset);
    m_state.offset = end == std::string_view::npos ? m_text.size() : end + kPictureEnd.size();
}

// Makes sure what starts at the current line and is `height` tall ends by `limit`, taking the
// next box when it would not. Something is always placed in an empty box, so that every pass
// moves on; blank lines at the top of a box are dropped.
bool MarkupLayout::MakeRoom(int height, int limit) {
    if (m_y + height <= limit)
        return true;
    if (m_boxEmpty) {
        m_y = m_box.top;
        return true;
    }
    if (m_boxes.NextBox(m_box) < 0)
        return false;
    NewBox();
    return true;
}

void MarkupLayout::NewBox() {
    m_x = m_box.left;
    m_y = m_box.top;
    m_lineEmpty = true;
    m_boxEmpty = true;
}

void MarkupLayout::Stop(size_t resumeAt) {
    m_stopped = true;
    m_word.clear();
    m_result.next = m_state;
    m_result.next.offset = resumeAt;
}

void MarkupLayout::CreateFont() {
    FontSpec font;
    font.face = "Arial";
    font.pointTenths = kTemplates[m_sizeIndex].pointTenths;
    font.weight = m_state.bold ? 700 : 400;
    font.italic = m_state.italic;
    font.underline = m_state.underline;
    font.characterSet = kCentralEuropean;
    m_canvas.SelectFont(font);
    m_lineHeight = m_canvas.MeasureText("A").height * 6 / 5;
}

void MarkupLayout::ApplyColour() {
    if (m_draw)
        m_canvas.SetTextColour(m_grey ? GreyColour(*m_state.colour) : *m_state.colour);
}

void MarkupLayout::Mark(int right, int bottom) {
    m_boxEmpty = false;
    m_result.hasContent = true;
    m_result.usedWidth = std::max(m_result.usedWidth, right - m_box.left);
    m_result.usedHeight = std::max(m_result.usedHeight, bottom - m_box.top);
}

} // namespace pinsum
