#pragma once

#include <string>
#include <vector>

#include "host/messenger.h"

namespace pinsum {
class CioProject;
class ExactStep;
} // namespace pinsum

namespace pinsum::cli {

struct ShownMessage {
    std::string text; // Windows-1250
    MessageIcon icon = MessageIcon::Information;
};

struct SearchOutcome {
    // The message boxes the search showed, in order.
    std::vector<ShownMessage> messages;
    // Ctrl+C was pressed while the search ran.
    bool cancelled = false;
};

// Runs the project's search on its worker thread, driven exactly as the progress dialog drives it,
// and returns when the worker has ended. Ctrl+C stops the search as the dialog's cancel button
// does; a second Ctrl+C ends the program. When stderr is a terminal it shows the progress line.
// With an exact step the exact mode runs first, and alone with exactOnly.
SearchOutcome RunSearch(CioProject& project, int level, ExactStep* exact = nullptr,
                        bool exactOnly = false);

} // namespace pinsum::cli
