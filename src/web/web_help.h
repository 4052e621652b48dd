#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "helptext/canvas.h"
#include "helptext/help_tooltip.h"

namespace pinsum::web {

// Measures a UTF-8 text in a CSS font in the browser: {width, height} in CSS pixels.
using MeasureFunction = std::function<TextExtent(const std::string& font, const std::string& text)>;

// The help layout's canvas in the page: it measures through the browser, so that the layout fits
// the font the page draws with, and records what the layout draws for the page to replay on an
// HTML canvas. Pictures stay JPEG bytes, which the browser decodes.
class RecordingCanvas : public Canvas {
public:
    static constexpr int kPixelsPerInch = 96;

    explicit RecordingCanvas(MeasureFunction measure) : m_measure(std::move(measure)) {}

    void SelectFont(const FontSpec& font) override;
    TextExtent MeasureText(std::string_view text) override;
    void DrawText(int x, int y, std::string_view text) override;
    void SetTextColour(uint32_t colour) override { m_colour = colour; }
    // The layout hands this canvas JPEG bytes through DrawJpeg, never a decoded bitmap.
    void DrawBitmap(const Image&, const LayoutRect&) override {}
    void FrameRect(const LayoutRect& rect) override;
    bool DrawJpeg(std::span<const uint8_t> jpeg, const LayoutRect& target, bool grey) override;
    int PixelsPerInchX() const override { return kPixelsPerInch; }
    int PixelsPerInchY() const override { return kPixelsPerInch; }

    // The CSS font the layout measures and the page draws with.
    static std::string CssFont(const FontSpec& font);

    // {"kind": "text", x, y, text, font, underline, colour}, {"kind": "frame", ...} and
    // {"kind": "picture", left, top, right, bottom, grey, picture}, where picture indexes
    // Pictures(). Colours are CSS colours.
    const nlohmann::json& Operations() const { return m_operations; }
    const std::vector<std::vector<uint8_t>>& Pictures() const { return m_pictures; }

private:
    MeasureFunction m_measure;
    FontSpec m_font;
    std::string m_cssFont = CssFont(FontSpec());
    uint32_t m_colour = 0;
    nlohmann::json m_operations = nlohmann::json::array();
    std::vector<std::vector<uint8_t>> m_pictures;
};

// The help tool-tip of the page: the engine's controller lays the item's help out, pages it and
// decides what the mouse does; the page places an HTML canvas where it says and replays the draw.
class WebHelpTip {
public:
    // Lays the Windows-1250 mark-up out for a viewport of the given size and places the tool-tip
    // at the point: {"x", "y", "width", "height"}, or "" when there is nothing to show.
    std::string Show(std::string markup, int x, int y, int viewportWidth, int viewportHeight,
                     const MeasureFunction& measure);
    void Hide() { m_controller.Hide(); }
    bool IsVisible() const { return m_controller.IsVisible(); }

    // The current page: {"operations": [...], "page", "lastPage", and with several pages
    // "barY", "previous" and "next" with the arrow buttons' rectangles}. Its pictures' bytes stay
    // in Picture(i) until the next call.
    std::string Draw(const MeasureFunction& measure);
    const std::vector<uint8_t>& Picture(size_t index) const { return m_pictures.at(index); }

    // What the controller answers, in the page's words: "" (not taken), "handled", "redraw",
    // "hide".
    std::string Key(const std::string& key);
    std::string Wheel(int delta);
    std::string Mouse(bool leftPress, int x, int y);

private:
    HelpToolTipController m_controller;
    std::vector<std::vector<uint8_t>> m_pictures;
};

} // namespace pinsum::web
