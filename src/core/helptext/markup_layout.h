#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "helptext/canvas.h"
#include "helptext/print_layout.h"

namespace pinsum {

// Where a pass starts and the style in force there.
struct LayoutStart {
    size_t offset = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::optional<uint32_t> colour; // of the last font element; none keeps the canvas's colour
    bool paragraphStart = true;
};

struct LayoutPassResult {
    LayoutStart next; // where the following page starts
    bool finished = false;
    int usedWidth = 0;  // from the box's left edge to the end of the widest line
    int usedHeight = 0; // from the box's top to the bottom of the lowest line or picture
    bool hasContent = false;
};

struct LayoutMeasure {
    std::vector<LayoutStart> pages; // at least one
    int usedWidth = 0;
    int usedHeight = 0; // of the tallest page
    bool hasContent = false;
};

// Lays display mark-up out line by line into the boxes of a CPrintLayout: words wrap at the
// box's right edge, and a pass ends where the boxes have no more room.
class MarkupLayout {
public:
    // sizeIndex picks one of the font templates: 0 is 9 point, 1 is 12, 2 is 18 underlined.
    MarkupLayout(Canvas& canvas, CPrintLayout& boxes, int sizeIndex = 0);

    // Colours of text and pictures are drawn as grey.
    void SetGrey(bool grey) { m_grey = grey; }

    LayoutStart FirstPage() const;
    // Flows the mark-up from `from` through the boxes from their cursor on; draws only when asked.
    LayoutPassResult LayOut(std::string_view markup, const LayoutStart& from, bool draw);
    // Rewinds the boxes before every page and measures the whole text.
    LayoutMeasure Measure(std::string_view markup);

private:
    void Begin(std::string_view markup, const LayoutStart& from, bool draw);
    void Step();
    void Character(char c);
    void StyleTag(bool& flag, bool on);
    void NewLine(int advance);
    void EndParagraph(int advance);
    void SkipOneSpace();
    void FontElement(uint32_t colour);
    void EndWord();
    void Picture();
    void SkipBrokenPicture();
    bool MakeRoom(int height, int limit);
    void NewBox();
    void Stop(size_t resumeAt);
    void CreateFont();
    void ApplyColour();
    void Mark(int right, int bottom);

    Canvas& m_canvas;
    CPrintLayout& m_boxes;
    int m_sizeIndex;
    bool m_grey = false;

    // The pass in progress.
    std::string_view m_text;
    bool m_draw = false;
    LayoutStart m_state;
    LayoutRect m_box;
    int m_x = 0;
    int m_y = 0;
    int m_lineHeight = 10;
    bool m_lineEmpty = true;
    bool m_boxEmpty = true;
    bool m_stopped = false;
    std::string m_word;
    size_t m_wordStart = 0;
    LayoutPassResult m_result;
};

} // namespace pinsum
