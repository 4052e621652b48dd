#include "console_search.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "command.h"
#include "host/text_codec.h"
#include "interrupt_route.h"
#include "solver/compile_progress.h"
#include "translation.h"

namespace pinsum::cli {
namespace {

// The main loop's events, one byte each in the event pipe; Ctrl+C writes kCancel.
constexpr char kTaskDone = 'D';
constexpr char kCancel = 'C';

[[noreturn]] void SystemFailure(const char* what) {
    throw CliError(std::string(Tr(what)) + ": " + std::strerror(errno));
}

// Carries events to the main thread from the worker and from the signal handler alike; a pipe
// because writing to it is safe inside a signal handler.
class EventPipe {
public:
    EventPipe() {
        if (pipe2(m_fds, O_CLOEXEC) != 0)
            SystemFailure(N_("cannot create the event pipe"));
    }
    ~EventPipe() {
        close(m_fds[0]);
        close(m_fds[1]);
    }
    EventPipe(const EventPipe&) = delete;
    EventPipe& operator=(const EventPipe&) = delete;

    void Post(char event) const {
        while (write(m_fds[1], &event, 1) < 0)
            if (errno != EINTR)
                SystemFailure(N_("cannot post to the event pipe"));
    }
    char Wait() const {
        char event = 0;
        while (read(m_fds[0], &event, 1) != 1)
            if (errno != EINTR)
                SystemFailure(N_("cannot read the event pipe"));
        return event;
    }
    int WriteEnd() const { return m_fds[1]; }

private:
    int m_fds[2] = {-1, -1};
};

// The progress dialog without a display: the status text is a line on a terminal's stderr that
// each text overwrites.
class ConsoleView : public CompileProgressView {
public:
    ConsoleView(const EventPipe& events, bool showStatus)
        : m_events(events), m_showStatus(showStatus) {}

    void SetStatusText(const std::string& text) override {
        if (!m_showStatus || text == m_status)
            return;
        m_status = text;
        std::fprintf(stderr, "\r%s\033[K", Cp1250ToUtf8(text).c_str());
        std::fflush(stderr);
    }
    void PostTaskDone() override { m_events.Post(kTaskDone); }
    void EndDialog(bool ok) override {
        m_ended = true;
        m_ok = ok;
    }

    bool Ended() const { return m_ended; }
    bool Ok() const { return m_ok; }

private:
    const EventPipe& m_events;
    const bool m_showStatus;
    std::string m_status;
    bool m_ended = false;
    bool m_ok = false;
};

// Keeps the search's message boxes for the output instead of showing them.
class RecordingMessenger : public Messenger {
public:
    MessageAnswer Show(const std::string& text, MessageIcon icon, MessageButtons) override {
        shown.push_back({text, icon});
        return MessageAnswer::Ok;
    }
    std::vector<ShownMessage> shown;
};

} // namespace

SearchOutcome RunSearch(CioProject& project, int level, ExactStep* exact, bool exactOnly) {
    const EventPipe events;
    ConsoleView view(events, isatty(STDERR_FILENO) == 1);
    RecordingMessenger messenger;
    SearchOutcome outcome;
    {
        const InterruptRoute interrupts(events.WriteEnd());
        CompileProgress progress(view, &project, level, &messenger);
        progress.SetExact(exact, exactOnly);
        progress.OnInitDialog();
        while (!view.Ended()) {
            switch (events.Wait()) {
            case kTaskDone:
                progress.OnTaskDone();
                // A Ctrl+C before the worker started still stops it.
                if (outcome.cancelled)
                    progress.OnCancel();
                break;
            case kCancel:
                outcome.cancelled = true;
                progress.OnCancel();
                break;
            }
        }
    }
    view.SetStatusText("");
    if (!view.Ok())
        throw CliError(Tr("the search could not be started"));
    outcome.messages = std::move(messenger.shown);
    return outcome;
}

} // namespace pinsum::cli
