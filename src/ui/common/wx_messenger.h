#pragma once

// wx/weakref.h uses std::is_base_of without including its header.
#include <atomic>
#include <type_traits>

#include <wx/weakref.h>
#include <wx/window.h>

#include "host/messenger.h"

namespace pinsum::ui {

// Message boxes for the engine. A call from a worker (the search's messages) is shown on the
// user-interface thread while the worker waits for the answer.
class WxMessenger : public Messenger {
public:
    // The boxes are centred on parent while it exists.
    explicit WxMessenger(wxWindow* parent = nullptr) : m_parent(parent) {}
    void SetParent(wxWindow* parent) { m_parent = parent; }
    // From now on every message is answered at once with its default (OK, No, Cancel) and shows
    // nothing: for an owner that is going away while a worker may still ask.
    void Silence() { m_silent = true; }

    MessageAnswer Show(const std::string& text, MessageIcon icon, MessageButtons buttons) override;

private:
    wxWeakRef<wxWindow> m_parent;
    std::atomic<bool> m_silent{false};
};

} // namespace pinsum::ui
