#pragma once

#include <string>

#include "host/message_language.h"

namespace pinsum::cli {

// Chooses the language of the tool's own messages from the locale (LANG, LC_MESSAGES, LC_ALL),
// with the catalogues in the program folder's locale/ folder. Only messages follow the locale:
// numbers keep their C form, and the program's fixed Czech texts stay as they are.
void InitTranslation(const std::string& programFolder);

// The message in the user's language; the English text itself where there is no translation.
const char* Tr(const char* english);

// Marks a text for translation where it is defined; Tr translates it where it is shown.
using pinsum::N_;

} // namespace pinsum::cli
