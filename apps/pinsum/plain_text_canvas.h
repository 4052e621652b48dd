#pragma once

#include <string>
#include <vector>

#include "helptext/canvas.h"

namespace pinsum::cli {

// A character grid for laying help out as plain text: every character 7 pixels wide in every
// font, text 15 pixels high, so that lines are 18 pixels apart; pictures show as a summary line.
class PlainTextCanvas : public Canvas {
public:
    static constexpr int kCharacterWidth = 7;
    static constexpr int kLineHeight = 18;

    void SelectFont(const FontSpec&) override {}
    TextExtent MeasureText(std::string_view text) override;
    void DrawText(int x, int y, std::string_view text) override;
    void SetTextColour(uint32_t) override {}
    void DrawBitmap(const Image& image, const LayoutRect& target) override;
    void FrameRect(const LayoutRect&) override {}
    int PixelsPerInchX() const override { return 96; }
    int PixelsPerInchY() const override { return 96; }

    // The lines drawn, top to bottom; runs of empty lines are cut to one.
    std::string Text() const;

private:
    struct Piece {
        int x;
        int y;
        std::string text;
    };
    std::vector<Piece> m_pieces;
};

} // namespace pinsum::cli
