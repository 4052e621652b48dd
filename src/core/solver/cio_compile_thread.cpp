#include "solver/cio_compile_thread.h"

#include <pthread.h>
#include <sched.h>

#include "host/notification.h"
#include "model/cio_project.h"
#include "solver/compile_request.h"

namespace pinsum {

void LowerToIdlePriority() {
    sched_param param{};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
}

void RaiseToNormalPriority(std::thread& thread) {
    if (!thread.joinable())
        return;
    sched_param param{};
    pthread_setschedparam(thread.native_handle(), SCHED_OTHER, &param);
}

std::mutex& CioCompileThread::NotificationLock() {
    static std::mutex lock;
    return lock;
}

CioCompileThread::CioCompileThread(CompileRequest* request) : m_request(request) {}

CioCompileThread::~CioCompileThread() {
    if (m_thread.joinable()) {
        m_stop.Set();
        m_thread.join();
    }
}

bool CioCompileThread::Start() {
    try {
        m_thread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
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
    LowerToIdlePriority();
    if (m_request != nullptr && m_request->project != nullptr) {
        m_request->thread = this;
        m_request->stopEvent = &m_stop;
        m_request->project->Compile(m_request);
    }
    Notify(WM_TASK_DONE, 0, 0);
    m_stop.Wait();
}

void CioCompileThread::StopAndDelete(std::unique_ptr<CioCompileThread>& worker) {
    if (worker == nullptr)
        return;
    if (!worker->m_stop.IsSet())
        worker->m_stop.Set();
    RaiseToNormalPriority(worker->m_thread);
    if (worker->m_thread.joinable())
        worker->m_thread.join();
    worker.reset();
}

} // namespace pinsum
