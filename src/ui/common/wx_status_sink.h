#pragma once

// wx/weakref.h uses std::is_base_of without including its header.
#include <type_traits>

#include <wx/weakref.h>
#include <wx/window.h>

#include "host/notification.h"

namespace pinsum::ui {

// The host's status window as the engine's progress sink: each message is sent to the window at
// once, on the loading thread, as a wxThreadEvent whose id is the message number (UPDBAR), whose
// int is the first word (the percentage, -1 at the end) and whose extra long is the second.
class WindowStatusSink : public ProgressSink {
public:
    void SetWindow(wxWindow* window) { m_window = window; }
    wxWindow* Window() const { return m_window.get(); }
    void Send(uint32_t message, uint32_t first, int32_t second) override;

private:
    wxWeakRef<wxWindow> m_window;
};

} // namespace pinsum::ui
