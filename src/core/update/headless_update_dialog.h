#pragma once

#include <functional>
#include <string>
#include <utility>

#include "update/ftp_update_progress.h"

namespace pinsum {

// The update's progress dialog without a display, for the command line and the tests: the
// worker's reports are queued and handed to the display on the thread of ShowModal, which also
// polls for a cancel about ten times a second.
class HeadlessUpdateDialog : public FtpUpdateDialogRunner {
public:
    // Receives the status text (Windows-1250) and the percentage whenever either has changed.
    using Display = std::function<void(const std::string& status, int percent)>;
    // True acts like "Storno"; asked again while it stays true, so a cancel made before the worker
    // started still reaches it.
    using CancelPoll = std::function<bool()>;

    HeadlessUpdateDialog(Display display, CancelPoll cancel)
        : m_display(std::move(display)), m_cancel(std::move(cancel)) {}

    int ShowModal(ftpUpdateStruct& request, FtpWork work) override;

private:
    Display m_display;
    CancelPoll m_cancel;
};

} // namespace pinsum
