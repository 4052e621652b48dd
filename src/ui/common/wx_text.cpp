#include "common/wx_text.h"

#include "host/text_codec.h"

namespace pinsum::ui {

wxString FromModel(std::string_view cp1250) {
    return FromUtf8(Cp1250ToUtf8(cp1250));
}

std::string ToModel(const wxString& text) {
    const wxScopedCharBuffer utf8 = text.utf8_str();
    return Utf8ToCp1250(std::string_view(utf8.data(), utf8.length()));
}

wxString ReportText(std::string_view cp1250) {
    std::string text;
    text.reserve(cp1250.size());
    for (size_t i = 0; i < cp1250.size(); ++i)
        if (cp1250[i] != '\r' || i + 1 == cp1250.size() || cp1250[i + 1] != '\n')
            text += cp1250[i];
    return FromModel(text);
}

} // namespace pinsum::ui
