#include "update/headless_update_dialog.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

namespace pinsum {
namespace {

constexpr std::chrono::milliseconds kPollInterval(100);

// Collects what the worker reports until the dialog's thread takes it.
class QueuedView : public FtpProgressView {
public:
    void SetStatusText(const std::string& text) override {
        std::lock_guard lock(m_mutex);
        m_status = text;
        m_changed = true;
    }
    void SetProgress(int percent) override {
        std::lock_guard lock(m_mutex);
        m_percent = percent;
        m_changed = true;
    }
    void PostTaskDone() override {
        {
            std::lock_guard lock(m_mutex);
            ++m_posted;
        }
        m_wake.notify_all();
    }
    void EndDialog(int code) override { m_endCode = code; }

    std::optional<int> EndCode() const { return m_endCode; }

    // Waits up to one poll interval for a posted WM_TASK_DONE and takes it.
    bool TakeTaskDone() {
        std::unique_lock lock(m_mutex);
        if (!m_wake.wait_for(lock, kPollInterval, [this] { return m_posted > 0; }))
            return false;
        --m_posted;
        return true;
    }

    void ShowChanges(const HeadlessUpdateDialog::Display& display) {
        std::unique_lock lock(m_mutex);
        if (!m_changed || !display)
            return;
        m_changed = false;
        const std::string status = m_status;
        const int percent = m_percent;
        lock.unlock();
        display(status, percent);
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::string m_status;
    int m_percent = 0;
    bool m_changed = false;
    int m_posted = 0;
    // Set only on the dialog's own thread.
    std::optional<int> m_endCode;
};

} // namespace

int HeadlessUpdateDialog::ShowModal(ftpUpdateStruct& request, FtpWork work) {
    QueuedView view;
    FtpUpdateProgress progress(view, &request, work);
    progress.OnInitDialog();
    while (!view.EndCode()) {
        const bool taskDone = view.TakeTaskDone();
        view.ShowChanges(m_display);
        if (taskDone)
            progress.OnTaskDone();
        if (!view.EndCode() && m_cancel && m_cancel())
            progress.OnCancel();
    }
    return *view.EndCode();
}

} // namespace pinsum
