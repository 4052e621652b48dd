#include "translation.h"

#include <libintl.h>

#include <clocale>

namespace pinsum::cli {
namespace {

constexpr const char* kDomain = "pinsum";

} // namespace

void InitTranslation(const std::string& programFolder) {
    std::setlocale(LC_MESSAGES, "");
    bindtextdomain(kDomain, (programFolder + "locale").c_str());
    // Output is UTF-8 whatever the terminal's locale says, as are the program's own texts.
    bind_textdomain_codeset(kDomain, "UTF-8");
}

const char* Tr(const char* english) {
    return dgettext(kDomain, english);
}

} // namespace pinsum::cli
