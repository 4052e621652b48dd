#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "host/notification.h"
#include "update/ftp_update_struct.h"

namespace pinsum::test {

// Records the notify calls of an FTP request; the worker thread calls it.
class NotifyRecorder {
public:
    struct Call {
        uint32_t message;
        std::optional<std::string> text; // WM_TASK_STATE with a status text
        uintptr_t second;
    };

    FtpNotify Callback() {
        return [this](void*, uint32_t message, uintptr_t first, uintptr_t second) {
            std::optional<std::string> text;
            if (message == WM_TASK_STATE && first != 0)
                text = *reinterpret_cast<const std::string*>(first);
            {
                std::lock_guard lock(m_mutex);
                m_calls.push_back({message, std::move(text), second});
            }
            m_changed.notify_all();
        };
    }

    std::vector<Call> Calls() {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }

    // The percentages of the WM_TASK_STATE calls without a text, in order.
    std::vector<uintptr_t> Percents() {
        std::vector<uintptr_t> percents;
        for (const Call& call : Calls())
            if (call.message == WM_TASK_STATE && !call.text)
                percents.push_back(call.second);
        return percents;
    }

    bool WaitForDone(int count) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(30), [&] {
            int done = 0;
            for (const Call& call : m_calls)
                done += call.message == WM_TASK_DONE ? 1 : 0;
            return done >= count;
        });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Call> m_calls;
};

} // namespace pinsum::test
