#include "update/auto_update_check.h"

#include "host/auto_update_setting.h"
#include "host/notification.h"
#include "host/program_texts.h"
#include "update/ftp_thread.h"
#include "update/ftp_transfer.h"
#include "update/update_flows.h"

namespace pinsum {

AutoUpdateCheck::AutoUpdateCheck(AutoUpdateHost& host, UpdateFlows& flows)
    : m_host(host), m_flows(flows) {}

AutoUpdateCheck::~AutoUpdateCheck() {
    Close();
}

void AutoUpdateCheck::OnHostInitialised(Settings& settings) {
    if (ReadAutoUpdate(settings))
        m_host.PostTaskDone(0);
}

bool AutoUpdateCheck::OnTaskDone(uintptr_t first, uintptr_t second) {
    if (first == 0 && second == 0) {
        Start();
        return true;
    }
    if (m_thread == nullptr || first != reinterpret_cast<uintptr_t>(m_thread.get()))
        return false;
    Finish();
    return true;
}

void AutoUpdateCheck::Start() {
    if (m_thread != nullptr)
        return;
    m_flows.FillDownloadRequest(m_request, true);
    // Without a local copy there is nothing to compare; the manual update still works then.
    if (!m_request.localTime)
        return;
    m_request.owner = this;
    m_request.notify = [](void* owner, uint32_t message, uintptr_t, uintptr_t) {
        static_cast<AutoUpdateCheck*>(owner)->OnNotify(message);
    };
    m_request.work = DownloadDatabase;
    m_endPosted = false;
    m_thread = std::make_unique<CFtpThread>(&m_request);
    m_request.thread = m_thread.get();
    if (!m_thread->CreateThread()) {
        m_thread.reset();
        m_request.thread = nullptr;
        return;
    }
    m_host.SetStatusLine(ProgramText(TextId::CheckingStatus));
}

void AutoUpdateCheck::OnNotify(uint32_t message) {
    if (message == WM_TASK_DONE && !m_endPosted.exchange(true))
        m_host.PostTaskDone(reinterpret_cast<uintptr_t>(m_request.thread));
}

void AutoUpdateCheck::Finish() {
    m_host.SetStatusLine("");
    Close();
    if (m_request.result != kUpdateOk || !m_flows.AskInstallFound())
        return;
    if (m_flows.UpdateDatabase(true) == FlowEnd::Done && m_flows.AskRestart())
        m_host.RestartProject();
}

void AutoUpdateCheck::Close() {
    CFtpThread::StopAndDelete(m_thread);
    m_request.thread = nullptr;
}

} // namespace pinsum
