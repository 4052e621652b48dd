#include "update/ftp_thread.h"

#include <exception>
#include <new>

#include "host/notification.h"
#include "update/ftp_update_struct.h"

namespace pinsum {
namespace {

void Notify(ftpUpdateStruct* request, uint32_t message, uintptr_t first, uintptr_t second) {
    if (request == nullptr || request->thread == nullptr || !request->notify)
        return;
    std::lock_guard lock(CFtpThread::NotificationLock());
    request->notify(request->owner, message, first, second);
}

} // namespace

std::mutex& CFtpThread::NotificationLock() {
    static std::mutex lock;
    return lock;
}

CFtpThread::CFtpThread(ftpUpdateStruct* request) : m_request(request) {}

bool CFtpThread::CreateThread() {
    return m_worker.Start([this] { InitInstance(); });
}

void CFtpThread::RequestCancel() {
    if (m_request != nullptr)
        m_request->cancelRequested = true;
}

void CFtpThread::InitInstance() {
    if (m_request != nullptr && m_request->work != nullptr) {
        // The starter has normally stored it already; writing it again would race its readers.
        if (m_request->thread != this)
            m_request->thread = this;
        m_request->cancelRequested = false;
        try {
            m_request->work(m_request);
        } catch (const std::bad_alloc&) {
            m_request->result = kUpdateNoMemory;
        } catch (const std::exception& e) {
            m_request->failureDetail = e.what();
        }
    } else {
        m_worker.StopEvent().Wait();
    }
    if (m_request != nullptr && m_request->notify) {
        {
            std::lock_guard lock(NotificationLock());
            m_request->notify(m_request->owner, WM_TASK_DONE, 0, 0);
        }
        m_worker.StopEvent().Wait();
    }
}

void CFtpThread::StopAndDelete(std::unique_ptr<CFtpThread>& thread) {
    if (thread == nullptr)
        return;
    thread->m_worker.StopAndJoin();
    thread.reset();
}

void ReportState(ftpUpdateStruct* request, const std::string* text, uint32_t percent) {
    Notify(request, WM_TASK_STATE, reinterpret_cast<uintptr_t>(text), percent);
}

void ReportDone(ftpUpdateStruct* request) {
    Notify(request, WM_TASK_DONE, 0, 0);
}

} // namespace pinsum
