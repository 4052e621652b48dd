#include "solver/compile_progress.h"

#include "host/notification.h"
#include "solver/cio_compile_thread.h"

namespace pinsum {

CompileProgress::CompileProgress(CompileProgressView& view, CioProject* project, int thoroughness,
                                 Messenger* messenger)
    : m_view(view), m_project(project), m_thoroughness(thoroughness), m_messenger(messenger) {}

CompileProgress::~CompileProgress() {
    CioCompileThread::StopAndDelete(m_worker);
}

void CompileProgress::OnInitDialog() {
    if (m_project != nullptr)
        m_view.PostTaskDone();
}

void CompileProgress::OnTaskDone() {
    if (m_worker != nullptr) {
        CioCompileThread::StopAndDelete(m_worker);
        m_view.EndDialog(true);
        return;
    }
    m_view.SetStatusText("");
    m_request = CompileRequest{};
    m_request.project = m_project;
    m_request.thoroughness = m_thoroughness;
    m_request.userData = this;
    m_request.messenger = m_messenger;
    m_request.exact = m_exact;
    m_request.exactOnly = m_exactOnly;
    m_request.callback = [](void* userData, uint32_t message, uintptr_t first, uintptr_t) {
        static_cast<CompileProgress*>(userData)->OnNotify(message, first);
    };
    m_worker = std::make_unique<CioCompileThread>(&m_request);
    if (!m_worker->Start()) {
        m_worker.reset();
        m_view.EndDialog(false);
    }
}

void CompileProgress::OnCancel() {
    if (m_worker != nullptr)
        m_worker->RequestStop();
}

void CompileProgress::OnNotify(uint32_t message, uintptr_t first) {
    if (message == WM_TASK_DONE)
        m_view.PostTaskDone();
    else if (message == WM_TASK_STATE && first != 0)
        m_view.SetStatusText(*reinterpret_cast<const std::string*>(first));
}

} // namespace pinsum
