#pragma once

#include <cstdint>

namespace pinsum {

// Window message numbers that workers and loaders send to their owner.
constexpr uint32_t WM_TASK_DONE = 1048;
constexpr uint32_t WM_TASK_STOP = 1049;
constexpr uint32_t WM_TASK_STATE = 1050;
constexpr uint32_t UPDBAR = 37228;
constexpr uint32_t UPDSTREE = 37229;
constexpr uint32_t SCRM = 40204;

// Receives load progress (UPDBAR): a window in the GUI, a recorder in tests; the CLI has none.
// Called on the thread that runs the load.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void Send(uint32_t message, uint32_t first, int32_t second) = 0;
};

} // namespace pinsum
