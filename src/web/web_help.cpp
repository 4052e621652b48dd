#include "web_help.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "host/text_codec.h"

namespace pinsum::web {
namespace {

using nlohmann::json;

// The mark-up names Windows fonts; the browser takes the first it has.
constexpr const char* kFallbackFaces = ", 'Liberation Sans', Arimo, Helvetica, sans-serif";
constexpr int kPointsPerInch = 72;
// A paged tool-tip is its page and this much more high: the margins and the arrow bar.
constexpr int kArrowBarRoom =
    2 * HelpToolTipController::kMargin + 2 + HelpToolTipController::kBarHeight;

std::string CssColour(uint32_t colourRef) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colourRef & 0xFF, (colourRef >> 8) & 0xFF,
                  (colourRef >> 16) & 0xFF);
    return text;
}

json Rect(const LayoutRect& rect) {
    return {{"left", rect.left}, {"top", rect.top}, {"right", rect.right}, {"bottom", rect.bottom}};
}

HelpKey KeyOf(const std::string& key) {
    static const std::map<std::string, HelpKey> keys = {
        {"Escape", HelpKey::Escape},     {"PageUp", HelpKey::PageUp},
        {"PageDown", HelpKey::PageDown}, {"ArrowLeft", HelpKey::Left},
        {"ArrowRight", HelpKey::Right},  {"ArrowUp", HelpKey::Up},
        {"ArrowDown", HelpKey::Down}};
    const auto found = keys.find(key);
    return found == keys.end() ? HelpKey::Other : found->second;
}

std::string Answer(PagingReply reply) {
    return !reply.handled ? "" : reply.redraw ? "redraw" : "handled";
}

} // namespace

std::string RecordingCanvas::CssFont(const FontSpec& font) {
    // Tenths of a point at 96 pixels to the inch, as the desktop's screen has them.
    const double pixels = font.pointTenths * kPixelsPerInch / (10.0 * kPointsPerInch);
    char size[32];
    std::snprintf(size, sizeof size, "%gpx ", pixels);
    return std::string(font.italic ? "italic " : "") + (font.weight >= 700 ? "bold " : "") + size +
           "'" + font.face + "'" + kFallbackFaces;
}

void RecordingCanvas::SelectFont(const FontSpec& font) {
    m_font = font;
    m_cssFont = CssFont(font);
}

TextExtent RecordingCanvas::MeasureText(std::string_view text) {
    return m_measure(m_cssFont, Cp1250ToUtf8(std::string(text)));
}

void RecordingCanvas::DrawText(int x, int y, std::string_view text) {
    m_operations.push_back({{"kind", "text"},
                            {"x", x},
                            {"y", y},
                            {"text", Cp1250ToUtf8(std::string(text))},
                            {"font", m_cssFont},
                            {"underline", m_font.underline},
                            {"colour", CssColour(m_colour)}});
}

void RecordingCanvas::FrameRect(const LayoutRect& rect) {
    json frame = Rect(rect);
    frame["kind"] = "frame";
    frame["colour"] = CssColour(m_colour);
    m_operations.push_back(std::move(frame));
}

bool RecordingCanvas::DrawJpeg(std::span<const uint8_t> jpeg, const LayoutRect& target, bool grey) {
    json picture = Rect(target);
    picture["kind"] = "picture";
    picture["grey"] = grey;
    picture["colour"] = CssColour(m_colour);
    picture["picture"] = m_pictures.size();
    m_pictures.emplace_back(jpeg.begin(), jpeg.end());
    m_operations.push_back(std::move(picture));
    return true;
}

std::string WebHelpTip::Show(std::string markup, int x, int y, int viewportWidth,
                             int viewportHeight, const MeasureFunction& measure) {
    m_controller.Hide();
    m_controller.SetText(std::move(markup));
    RecordingCanvas canvas(measure);
    // The controller keeps a desktop's task bar clear and sizes pages to the screen; a viewport
    // has no task bar, but a page and its arrow bar must fit inside it.
    const auto placement =
        m_controller.Show(x, y, viewportWidth, viewportHeight - kArrowBarRoom, canvas);
    if (!placement || !m_controller.HasContent()) {
        m_controller.Hide();
        return std::string();
    }
    return json{{"x", std::max(0, placement->x)},
                {"y", std::max(0, placement->y)},
                {"width", placement->width},
                {"height", placement->height}}
        .dump();
}

std::string WebHelpTip::Draw(const MeasureFunction& measure) {
    RecordingCanvas canvas(measure);
    m_controller.DrawPage(canvas);
    m_pictures = canvas.Pictures();
    json page = {{"operations", canvas.Operations()},
                 {"page", m_controller.CurrentPage()},
                 {"lastPage", m_controller.LastPage()}};
    if (m_controller.SeveralPages()) {
        page["barY"] = m_controller.BarLineY();
        page["previous"] = Rect(m_controller.PreviousButton());
        page["next"] = Rect(m_controller.NextButton());
    }
    return page.dump();
}

std::string WebHelpTip::Key(const std::string& key) {
    return Answer(m_controller.OnKey(KeyOf(key)));
}

std::string WebHelpTip::Wheel(int delta) {
    return Answer(m_controller.OnWheel(delta));
}

std::string WebHelpTip::Mouse(bool leftPress, int x, int y) {
    switch (m_controller.OnMouse(leftPress, x, y)) {
    case MouseReply::Consumed:
        return "redraw";
    case MouseReply::Hide:
        return "hide";
    case MouseReply::Default:
        return "";
    }
    return "";
}

} // namespace pinsum::web
