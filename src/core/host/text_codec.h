#pragma once

#include <string>
#include <string_view>

namespace pinsum {

// Texts inside the model are Windows-1250 bytes, exactly as stored in the files; these convert at
// the edges (command line, JSON, clipboard). Every one of the 256 byte values round-trips.
std::string Cp1250ToUtf8(std::string_view cp1250);

// Characters without a Windows-1250 form become '?'. Malformed UTF-8 bytes are taken one by one.
std::string Utf8ToCp1250(std::string_view utf8);

// True when every character of the UTF-8 text has a Windows-1250 form.
bool IsCp1250Representable(std::string_view utf8);

// UTF-16 code units (as read from the wide stored text form) to Windows-1250.
std::string Utf16ToCp1250(std::u16string_view utf16);

} // namespace pinsum
