#include "signals/signal_list_error.h"

#include "host/input_quote.h"

namespace pinsum {
namespace {

std::string PlaceText(const SignalPlace& place) {
    std::string text;
    if (!place.sheet.empty())
        text += "sheet " + QuoteInput(place.sheet) + ": ";
    if (place.row != 0)
        text += "row " + std::to_string(place.row) + (place.column != 0 ? ", " : ": ");
    if (place.column != 0)
        text += "column " + ColumnLetters(place.column) + ": ";
    return text;
}

} // namespace

SignalListError::SignalListError(const std::string& detail, SignalPlace place)
    : EngineError((place.file.empty() ? "" : place.file + ": ") + PlaceText(place) + detail, detail,
                  ErrorPlace{place.file, std::nullopt, ""}),
      m_where(std::move(place)) {}

std::string ColumnLetters(uint32_t column) {
    std::string letters;
    for (; column > 0; column = (column - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
    return letters;
}

} // namespace pinsum
