#pragma once

#include <string>
#include <string_view>

#include <wx/string.h>

namespace pinsum::ui {

// The model keeps Windows-1250 bytes; windows show Unicode. These convert at that edge.
wxString FromModel(std::string_view cp1250);
std::string ToModel(const wxString& text);

// UTF-8 text of our own tables and of the engine's error messages.
inline wxString FromUtf8(std::string_view utf8) {
    return wxString::FromUTF8(utf8.data(), utf8.size());
}

// The report's "\r\n" line ends as single "\n", as text controls and the clipboard expect here.
wxString ReportText(std::string_view cp1250);

} // namespace pinsum::ui
