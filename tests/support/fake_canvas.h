#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "helptext/canvas.h"

namespace pinsum::test {

// Fixed metrics: every character is 7 pixels wide at 9 point, 9 at 12 point and 14 at 18 point,
// one more in bold; text is 15, 20 or 30 pixels high; 96 pixels to the inch. Records what is
// drawn.
class FakeCanvas : public Canvas {
public:
    struct Text {
        int x;
        int y;
        std::string text;
        FontSpec font;
        uint32_t colour;
    };
    struct Bitmap {
        LayoutRect target;
        int width;
        int height;
        uint32_t firstPixel;
    };

    void SelectFont(const FontSpec& font) override;
    TextExtent MeasureText(std::string_view text) override;
    void DrawText(int x, int y, std::string_view text) override;
    void SetTextColour(uint32_t colour) override { m_colour = colour; }
    void DrawBitmap(const Image& image, const LayoutRect& target) override;
    void FrameRect(const LayoutRect& rect) override { frames.push_back(rect); }
    int PixelsPerInchX() const override { return 96; }
    int PixelsPerInchY() const override { return 96; }

    // "x,y:text" for each text drawn, in order, with trailing spaces cut.
    std::vector<std::string> Placements() const;

    std::vector<FontSpec> fontsSelected;
    std::vector<Text> texts;
    std::vector<Bitmap> bitmaps;
    std::vector<LayoutRect> frames;

private:
    FontSpec m_font;
    uint32_t m_colour = 0;
};

} // namespace pinsum::test
