#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace pinsum {

class CioProject;
class CioCompileThread;
class ConfigurationSource;
class ExactStep;
class ManualResetEvent;
class Messenger;

// Notifies the owner of a search: WM_TASK_DONE when it is over, WM_TASK_STATE with a status text
// (first value: a pointer to the text, valid during the call).
// Called on the search worker under CioCompileThread::NotificationLock(); it must not wait for
// the owner's thread.
using CompileCallback =
    std::function<void(void* userData, uint32_t message, uintptr_t first, uintptr_t second)>;

// What the progress dialog hands to the search worker; the worker fills in its stop event and
// itself.
struct CompileRequest {
    CioProject* project = nullptr;
    int32_t reserved = 0;
    int32_t thoroughness = 0;
    ManualResetEvent* stopEvent = nullptr;
    void* userData = nullptr;
    CioCompileThread* thread = nullptr;
    CompileCallback callback;
    // Shows the search's messages; none keeps them silent.
    Messenger* messenger = nullptr;
    // Configures the candidate devices in place of the search's own cache of configurations.
    ConfigurationSource* configurations = nullptr;
    // Finds the proven cheapest configuration as well; its solution is listed first.
    ExactStep* exact = nullptr;
    // With exact: the search itself does not run.
    bool exactOnly = false;
};

} // namespace pinsum
