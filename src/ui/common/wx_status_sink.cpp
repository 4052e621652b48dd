#include "common/wx_status_sink.h"

namespace pinsum::ui {

void WindowStatusSink::Send(uint32_t message, uint32_t first, int32_t second) {
    wxWindow* window = m_window.get();
    if (window == nullptr)
        return;
    wxThreadEvent event(wxEVT_THREAD, static_cast<int>(message));
    event.SetInt(static_cast<int>(first));
    event.SetExtraLong(second);
    event.SetEventObject(window);
    // Sent, not posted: the load runs on the window's thread and the window shows each step.
    window->GetEventHandler()->ProcessEvent(event);
}

} // namespace pinsum::ui
