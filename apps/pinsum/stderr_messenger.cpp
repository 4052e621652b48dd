#include "stderr_messenger.h"

#include <algorithm>
#include <iostream>

#include "host/input_quote.h"
#include "host/program_texts.h"
#include "host/text_codec.h"
#include "translation.h"

namespace pinsum::cli {

MessageAnswer StderrMessenger::Show(const std::string& text, MessageIcon, MessageButtons buttons) {
    std::string line = Cp1250ToUtf8(text);
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::cerr << "pinsum: " << Tr("warning: ") << ShowControls(line) << '\n';
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

bool StderrMessenger::ContinueAfterDuplicateIdentity(uint32_t identity, const std::string&) {
    std::cerr << "pinsum: " << Tr("warning: ")
              << FormatText(Tr("duplicate identity %d; continuing"), {identity}) << '\n';
    return true;
}

} // namespace pinsum::cli
