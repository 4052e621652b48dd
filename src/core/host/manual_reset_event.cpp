#include "host/manual_reset_event.h"

namespace pinsum {

void ManualResetEvent::Set() {
    {
        std::lock_guard lock(m_mutex);
        m_set.store(true, std::memory_order_release);
    }
    m_changed.notify_all();
}

void ManualResetEvent::Reset() {
    std::lock_guard lock(m_mutex);
    m_set.store(false, std::memory_order_release);
}

void ManualResetEvent::Wait() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_set.load(std::memory_order_acquire); });
}

} // namespace pinsum
