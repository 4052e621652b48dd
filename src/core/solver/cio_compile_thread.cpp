#include "solver/cio_compile_thread.h"

#include "host/notification.h"
#include "model/cio_project.h"
#include "solver/compile_request.h"

namespace pinsum {

std::mutex& CioCompileThread::NotificationLock() {
    static std::mutex lock;
    return lock;
}

CioCompileThread::CioCompileThread(CompileRequest* request) : m_request(request) {}

bool CioCompileThread::Start() {
    return m_worker.Start([this] { Run(); });
}

void CioCompileThread::Notify(uint32_t message, uintptr_t first, uintptr_t second) {
    if (m_request == nullptr || !m_request->callback)
        return;
    std::lock_guard lock(NotificationLock());
    m_request->callback(m_request->userData, message, first, second);
}

void CioCompileThread::ReportState(const std::string& text) {
    Notify(WM_TASK_STATE, reinterpret_cast<uintptr_t>(&text), 0);
}

void CioCompileThread::Run() {
    if (m_request != nullptr && m_request->project != nullptr) {
        m_request->thread = this;
        m_request->stopEvent = &m_worker.StopEvent();
        // Compile reports its own failures; nothing may keep the worker from saying it is done.
        try {
            m_request->project->Compile(m_request);
        } catch (...) {
        }
    }
    Notify(WM_TASK_DONE, 0, 0);
    m_worker.StopEvent().Wait();
}

void CioCompileThread::StopAndDelete(std::unique_ptr<CioCompileThread>& worker) {
    if (worker == nullptr)
        return;
    worker->m_worker.StopAndJoin();
    worker.reset();
}

} // namespace pinsum
