#pragma once

#include <string>

#include "host/program_texts.h"
#include "host/text_codec.h"

namespace pinsum::quotation_text {

// The Czech texts of the bill and the quotation (UTF-8), beside those of the program's table.
inline constexpr const char* kTitle = "Nabídka";
inline constexpr const char* kDate = "Datum";
inline constexpr const char* kCatalogue = "Katalog";
inline constexpr const char* kRequest = "Požadované IO";
inline constexpr const char* kRequested = "Požadováno";
inline constexpr const char* kReserve = "Rezerva";
inline constexpr const char* kRequestSheet = "Požadavek";
inline constexpr const char* kSolution = "Řešení";
inline constexpr const char* kItem = "Položka";
inline constexpr const char* kMarking = "Značení";
inline constexpr const char* kName = "Název";
inline constexpr const char* kQuantity = "Množství";
inline constexpr const char* kUnitPrice = "Jednotková cena";
inline constexpr const char* kDevice = "zařízení";
inline constexpr const char* kModule = "modul";
inline constexpr const char* kPage = "Strana";
inline constexpr const char* kPageOf = "z";
inline constexpr const char* kNoSolution = "Žádné řešení";

// A text of the program's table in UTF-8.
inline std::string Program(TextId id) {
    return Cp1250ToUtf8(ProgramText(id));
}

} // namespace pinsum::quotation_text
