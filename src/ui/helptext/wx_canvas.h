#pragma once

#include <wx/dc.h>

#include "helptext/canvas.h"

namespace pinsum::ui {

// The help layout's canvas on a wxDC: fonts by face and tenths of a point, Windows-1250 texts,
// colour references, pictures stretched into their rectangles.
class WxCanvas : public Canvas {
public:
    explicit WxCanvas(wxDC& dc) : m_dc(dc) {}

    void SelectFont(const FontSpec& font) override;
    TextExtent MeasureText(std::string_view text) override;
    void DrawText(int x, int y, std::string_view text) override;
    void SetTextColour(uint32_t colour) override;
    void DrawBitmap(const Image& image, const LayoutRect& target) override;
    void FrameRect(const LayoutRect& rect) override;
    int PixelsPerInchX() const override;
    int PixelsPerInchY() const override;

    static wxColour Colour(uint32_t colourRef);
    // The help's paper and ink: the system's tool-tip colours, unless its paper is dark. Help
    // texts carry their own colours, black among them, chosen for the classic light paper.
    static wxColour HelpBackground();
    static wxColour HelpText();

private:
    wxDC& m_dc;
};

} // namespace pinsum::ui
