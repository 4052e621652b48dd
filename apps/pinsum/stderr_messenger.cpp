#include "stderr_messenger.h"

#include <algorithm>
#include <iostream>

#include "host/input_quote.h"
#include "host/text_codec.h"

namespace pinsum::cli {

MessageAnswer StderrMessenger::Show(const std::string& text, MessageIcon, MessageButtons buttons) {
    std::string line = Cp1250ToUtf8(text);
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::cerr << "pinsum: warning: " << ShowControls(line) << '\n';
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

bool StderrMessenger::ContinueAfterDuplicateIdentity(uint32_t identity, const std::string&) {
    std::cerr << "pinsum: warning: duplicate identity " << identity << "; continuing\n";
    return true;
}

} // namespace pinsum::cli
