#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace pinsum {

// An event that stays set until reset, as workers use for their stop request.
class ManualResetEvent {
public:
    void Set();
    void Reset();
    bool IsSet() const { return m_set.load(std::memory_order_acquire); }
    void Wait();

private:
    std::atomic<bool> m_set{false};
    std::mutex m_mutex;
    std::condition_variable m_changed;
};

} // namespace pinsum
