#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "helptext/layout_rect.h"
#include "picture/image.h"

namespace pinsum {

struct FontSpec {
    std::string face;
    int pointTenths = 90; // the size in tenths of a point
    int weight = 400;     // 700 is bold
    bool italic = false;
    bool underline = false;
    int characterSet = 0;

    bool operator==(const FontSpec&) const = default;
};

struct TextExtent {
    int width = 0;
    int height = 0;
};

// The surface the help layout measures on and draws to. Texts are Windows-1250 bytes; colours
// are colour references (0x00BBGGRR).
// Called on the user-interface thread.
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void SelectFont(const FontSpec& font) = 0;
    virtual TextExtent MeasureText(std::string_view text) = 0;
    // x and y are the top left corner of the text; the background is left as it is.
    virtual void DrawText(int x, int y, std::string_view text) = 0;
    virtual void SetTextColour(uint32_t colour) = 0;
    // The image is stretched to fill the target.
    virtual void DrawBitmap(const Image& image, const LayoutRect& target) = 0;
    // A one-pixel frame just inside the rectangle, in the text colour.
    virtual void FrameRect(const LayoutRect& rect) = 0;
    // A canvas that decodes JPEG itself draws the picture stretched into the target, greyed when
    // asked, and framed as FrameRect frames, all only if the data decodes, and answers true; the
    // default answers false and the layout decodes the picture and calls DrawBitmap and FrameRect.
    virtual bool DrawJpeg(std::span<const uint8_t> /*jpeg*/, const LayoutRect& /*target*/,
                          bool /*grey*/) {
        return false;
    }
    virtual int PixelsPerInchX() const = 0;
    virtual int PixelsPerInchY() const = 0;
};

} // namespace pinsum
