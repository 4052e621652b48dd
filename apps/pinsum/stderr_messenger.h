#pragma once

#include "host/messenger.h"

namespace pinsum::cli {

// Without a display every question is answered "continue", and the text is kept as a warning
// line on stderr; where the question is known, the line says what happened instead.
class StderrMessenger : public Messenger {
public:
    MessageAnswer Show(const std::string& text, MessageIcon icon, MessageButtons buttons) override;
    bool ContinueAfterDuplicateIdentity(uint32_t identity, const std::string& question) override;
};

} // namespace pinsum::cli
