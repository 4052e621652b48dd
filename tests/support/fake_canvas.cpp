#include "support/fake_canvas.h"

namespace pinsum::test {
namespace {

int CharacterWidth(const FontSpec& font) {
    const int base = font.pointTenths >= 180 ? 14 : font.pointTenths >= 120 ? 9 : 7;
    return base + (font.weight >= 700 ? 1 : 0);
}

int TextHeight(const FontSpec& font) {
    return font.pointTenths >= 180 ? 30 : font.pointTenths >= 120 ? 20 : 15;
}

} // namespace

void FakeCanvas::SelectFont(const FontSpec& font) {
    m_font = font;
    fontsSelected.push_back(font);
}

TextExtent FakeCanvas::MeasureText(std::string_view text) {
    return {static_cast<int>(text.size()) * CharacterWidth(m_font), TextHeight(m_font)};
}

void FakeCanvas::DrawText(int x, int y, std::string_view text) {
    texts.push_back({x, y, std::string(text), m_font, m_colour});
}

void FakeCanvas::DrawBitmap(const Image& image, const LayoutRect& target) {
    bitmaps.push_back(
        {target, image.width, image.height, image.pixels.empty() ? 0 : image.At(0, 0)});
}

std::vector<std::string> FakeCanvas::Placements() const {
    std::vector<std::string> placements;
    for (const Text& text : texts) {
        std::string ink = text.text;
        ink.erase(ink.find_last_not_of(' ') + 1);
        placements.push_back(std::to_string(text.x) + "," + std::to_string(text.y) + ":" + ink);
    }
    return placements;
}

} // namespace pinsum::test
