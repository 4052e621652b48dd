// The engine's entry points for the page and its search worker.
#include <emscripten/bind.h>

#include "browser_signals.h"
#include "web_calculator.h"
#include "web_help.h"

namespace {

using emscripten::val;
using pinsum::web::WebCalculator;
using pinsum::web::WebHelpTip;

std::string Solve(const std::string& catalogue, const std::string& request, int level,
                  val progress) {
    return pinsum::web::SolveRequest(catalogue, request, level, [&](const std::string& text) {
        return progress(text).as<bool>();
    });
}

// The page measures with a JS function (font, text) => [width, height], synchronously.
pinsum::web::MeasureFunction Measurer(val measure) {
    return [measure](const std::string& font, const std::string& text) {
        const val extent = measure(font, text);
        return pinsum::TextExtent{extent[0].as<int>(), extent[1].as<int>()};
    };
}

std::string ShowMarkup(WebHelpTip& tip, std::string markup, int x, int y, int viewportWidth,
                       int viewportHeight, val measure) {
    if (markup.empty()) {
        tip.Hide();
        return std::string();
    }
    return tip.Show(std::move(markup), x, y, viewportWidth, viewportHeight, Measurer(measure));
}

std::string ShowHelp(WebHelpTip& tip, const WebCalculator& calculator, double item, int x, int y,
                     int viewportWidth, int viewportHeight, val measure) {
    return ShowMarkup(tip, calculator.HelpMarkup(item), x, y, viewportWidth, viewportHeight,
                      measure);
}

// The help of a result row: the worker's catalogue is not the page's, so the row names its
// equipment by catalogue indexes and the page's engine builds the mark-up.
std::string ShowEquipmentHelp(WebHelpTip& tip, const WebCalculator& calculator,
                              const std::string& equipment, int x, int y, int viewportWidth,
                              int viewportHeight, val measure) {
    return ShowMarkup(tip, calculator.EquipmentHelpMarkup(equipment), x, y, viewportWidth,
                      viewportHeight, measure);
}

std::string DrawHelp(WebHelpTip& tip, val measure) {
    return tip.Draw(Measurer(measure));
}

// A view of the bytes, for the page to copy into a Blob before it calls the engine again.
val HelpPicture(const WebHelpTip& tip, size_t index) {
    const std::vector<uint8_t>& jpeg = tip.Picture(index);
    return val(emscripten::typed_memory_view(jpeg.size(), jpeg.data()));
}

} // namespace

EMSCRIPTEN_BINDINGS(pinsum) {
    emscripten::class_<WebCalculator>("Calculator")
        .constructor<>()
        .function("load", &WebCalculator::Load)
        .function("trees", &WebCalculator::Trees)
        .function("setSelectionChecked", &WebCalculator::SetSelectionChecked)
        .function("setTerminalChecked", &WebCalculator::SetTerminalChecked)
        .function("setCount", &WebCalculator::SetCount)
        .function("clearCounts", &WebCalculator::ClearCounts)
        .function("request", &WebCalculator::Request)
        .function("applyRequest", &WebCalculator::ApplyRequest)
        .function("loadSignalList", &WebCalculator::LoadSignalList);
    emscripten::class_<WebHelpTip>("HelpTip")
        .constructor<>()
        .function("show", &ShowHelp)
        .function("showEquipment", &ShowEquipmentHelp)
        .function("hide", &WebHelpTip::Hide)
        .function("isVisible", &WebHelpTip::IsVisible)
        .function("draw", &DrawHelp)
        .function("picture", &HelpPicture)
        .function("key", &WebHelpTip::Key)
        .function("wheel", &WebHelpTip::Wheel)
        .function("mouse", &WebHelpTip::Mouse);
    emscripten::function("solve", &Solve);
    emscripten::function("xmlEvents", &pinsum::web::FeedXmlEvents);
}
