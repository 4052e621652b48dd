#pragma once

#include "host/messenger.h"

namespace pinsum::cli {

// Without a display every question is answered "continue", and the text is kept as a warning
// line on stderr.
class StderrMessenger : public Messenger {
public:
    MessageAnswer Show(const std::string& text, MessageIcon icon, MessageButtons buttons) override;
};

} // namespace pinsum::cli
