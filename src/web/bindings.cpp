// The engine's entry points for the page and its search worker.
#include <emscripten/bind.h>

#include "web_calculator.h"

namespace {

std::string Solve(const std::string& catalogue, const std::string& request, int level,
                  emscripten::val progress) {
    return pinsum::web::SolveRequest(catalogue, request, level, [&](const std::string& text) {
        return progress(text).as<bool>();
    });
}

} // namespace

EMSCRIPTEN_BINDINGS(pinsum) {
    using pinsum::web::WebCalculator;
    emscripten::class_<WebCalculator>("Calculator")
        .constructor<>()
        .function("load", &WebCalculator::Load)
        .function("trees", &WebCalculator::Trees)
        .function("setSelectionChecked", &WebCalculator::SetSelectionChecked)
        .function("setTerminalChecked", &WebCalculator::SetTerminalChecked)
        .function("setCount", &WebCalculator::SetCount)
        .function("clearCounts", &WebCalculator::ClearCounts)
        .function("request", &WebCalculator::Request);
    emscripten::function("solve", &Solve);
}
