// Converting and laying out a long help text with pictures, as the tool-tip shows it.
#include <benchmark/benchmark.h>

#include "helptext/canvas.h"
#include "helptext/help_markup.h"
#include "helptext/help_tooltip.h"
#include "helptext/rich_text_document.h"

namespace pinsum::bench {
namespace {

// Every character 7 pixels wide and 15 high, drawing nothing: the layout's own cost.
class FixedCanvas : public Canvas {
public:
    void SelectFont(const FontSpec&) override {}
    TextExtent MeasureText(std::string_view text) override {
        return {static_cast<int>(text.size()) * 7, 15};
    }
    void DrawText(int, int, std::string_view text) override { m_drawn += text.size(); }
    void SetTextColour(uint32_t) override {}
    void DrawBitmap(const Image& image, const LayoutRect&) override {
        m_drawn += image.pixels.size();
    }
    void FrameRect(const LayoutRect&) override {}
    int PixelsPerInchX() const override { return 96; }
    int PixelsPerInchY() const override { return 96; }
    size_t Drawn() const { return m_drawn; }

private:
    size_t m_drawn = 0;
};

RichTextPicture Gradient(int width, int height, int seed) {
    RichTextPicture picture;
    picture.image.width = width;
    picture.image.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.image.pixels.push_back(static_cast<uint32_t>(
                (x * 255 / width) | ((y * 255 / height) << 8) | ((seed * 40 & 0xFF) << 16)));
    picture.widthTwips = width * 15;
    picture.heightTwips = height * 15;
    return picture;
}

// About 20 tool-tip pages of text in 112 paragraphs, with 5 pictures of 400 x 300 pixels.
std::string LongHelp() {
    RichTextDocument document;
    const std::string words = "Modul m\xE1 osm vstup\xF9 a osm v\xFDstup\xF9 pro sign\xE1ly ";
    for (int paragraph = 0; paragraph < 112; ++paragraph) {
        document.NewParagraph();
        RichTextRun heading;
        heading.text = "Odstavec " + std::to_string(paragraph) + ": ";
        heading.bold = true;
        document.Append(heading);
        std::string text;
        for (int word = 0; word < 5; ++word)
            text += words;
        RichTextRun body;
        body.text = text;
        document.Append(body);
        if (paragraph % 23 == 0)
            document.Append(Gradient(400, 300, paragraph / 23));
    }
    return "[1024]" + document.ToRichText();
}

void BM_HelpConvertAndLayOut(benchmark::State& state) {
    const std::string stored = LongHelp();
    size_t pages = 0;
    for (auto _ : state) {
        const std::string markup = ToMarkup(stored);
        FixedCanvas canvas;
        HelpToolTipController tip;
        tip.SetText(markup);
        tip.Show(0, 0, 1920, 1080, canvas);
        for (int page = 0; page <= tip.LastPage(); ++page) {
            tip.DrawPage(canvas);
            tip.OnKey(HelpKey::PageDown);
        }
        pages = static_cast<size_t>(tip.LastPage() + 1);
        benchmark::DoNotOptimize(canvas.Drawn());
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["rich text bytes"] = static_cast<double>(stored.size());
}
BENCHMARK(BM_HelpConvertAndLayOut)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pinsum::bench
