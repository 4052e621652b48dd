#pragma once

#include <string>
#include <string_view>

#include "host/messenger.h"

namespace pinsum {

// A stored help as display mark-up. Plain and mark-up helps come back unchanged. Of a rich-text
// help, the section of the current language is converted, else the default section, else the
// last section. A picture that cannot be converted is left out; the messenger, when given, shows
// the picture failure message.
std::string ToMarkup(std::string_view stored, Messenger* messenger = nullptr);

} // namespace pinsum
