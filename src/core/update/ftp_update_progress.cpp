#include "update/ftp_update_progress.h"

#include <algorithm>

#include "host/notification.h"
#include "update/ftp_thread.h"

namespace pinsum {

FtpUpdateProgress::FtpUpdateProgress(FtpProgressView& view, ftpUpdateStruct* request, FtpWork work)
    : m_view(view), m_request(request), m_work(work) {}

FtpUpdateProgress::~FtpUpdateProgress() {
    CFtpThread::StopAndDelete(m_thread);
    if (m_request != nullptr) {
        m_request->thread = nullptr;
        m_request->owner = nullptr;
    }
}

void FtpUpdateProgress::OnInitDialog() {
    // Left open, such a dialog could never close: nothing would ever end it.
    if (m_request == nullptr || m_request->url.empty()) {
        if (m_request != nullptr)
            m_request->failureDetail = "no update server address";
        m_view.EndDialog(0);
        return;
    }
    m_view.SetProgress(0);
    m_view.PostTaskDone();
}

void FtpUpdateProgress::OnTaskDone() {
    // The worker's second report of its end arrives after the dialog has closed.
    if (m_closed)
        return;
    if (m_thread == nullptr) {
        Start();
        return;
    }
    CFtpThread::StopAndDelete(m_thread);
    m_request->thread = nullptr;
    m_request->owner = nullptr;
    m_closed = true;
    m_view.EndDialog(1);
}

void FtpUpdateProgress::Start() {
    m_view.SetStatusText("");
    m_view.SetProgress(0);
    m_request->notify = [](void* owner, uint32_t message, uintptr_t first, uintptr_t second) {
        if (owner != nullptr)
            static_cast<FtpUpdateProgress*>(owner)->OnNotify(message, first, second);
    };
    m_request->work = m_work;
    m_thread = std::make_unique<CFtpThread>(m_request);
    m_request->thread = m_thread.get();
    m_request->owner = this;
    if (!m_thread->CreateThread()) {
        m_request->failureDetail = "the transfer thread cannot be started";
        m_thread.reset();
        m_request->thread = nullptr;
        m_request->owner = nullptr;
        m_view.EndDialog(0);
    }
}

void FtpUpdateProgress::OnCancel() {
    if (m_thread != nullptr)
        m_thread->RequestCancel();
}

void FtpUpdateProgress::OnNotify(uint32_t message, uintptr_t first, uintptr_t second) {
    if (message == WM_TASK_DONE) {
        m_view.PostTaskDone();
    } else if (message == WM_TASK_STATE) {
        if (first != 0)
            m_view.SetStatusText(*reinterpret_cast<const std::string*>(first));
        m_view.SetProgress(static_cast<int>(std::min<uintptr_t>(second, 100)));
    }
}

} // namespace pinsum
