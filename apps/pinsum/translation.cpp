#include "translation.h"

#include <libintl.h>

#include <clocale>

#include "host/message_language.h"

namespace pinsum::cli {
namespace {

constexpr const char* kDomain = "pinsum";

} // namespace

void InitTranslation(const std::string& programFolder) {
    std::setlocale(LC_MESSAGES, "");
    bindtextdomain(kDomain, (programFolder + "locale").c_str());
    // Output is UTF-8 whatever the terminal's locale says, as are the program's own texts.
    bind_textdomain_codeset(kDomain, "UTF-8");
    // The engine's messages about bad input come in the same language.
    SetMessageTranslator(&Tr);
}

const char* Tr(const char* english) {
    return dgettext(kDomain, english);
}

} // namespace pinsum::cli
