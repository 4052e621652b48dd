#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace pinsum {

class CFtpThread;
struct ftpUpdateStruct;

// The outcome of one FTP request; the work routines write exactly these values.
enum UpdateResult : int32_t {
    kUpdateOk = 0,         // transfer complete; with checkOnly: the server copy is newer
    kUpdateCurrent = 1,    // download: the local copy is not older than the server's
    kUpdateNoSession = 2,  // no session; upload also: cancelled before the transfer
    kUpdateNotFound = 3,   // download: no such file in the login directory, or it is empty
    kUpdateLocalFile = 4,  // the local file could not be opened, read or written
    kUpdateNoMemory = 5,   // the transfer buffer could not be allocated
    kUpdateRemoteOpen = 6, // the remote file could not be opened or its transfer broke off
    kUpdateCancelled = 7,  // cancelled; an upload has removed its partial remote file
    kUpdateNotRun = 8,     // initial value; stays when the connection could not be made
};

// Tells the owner about a request (WM_TASK_STATE, WM_TASK_DONE). Called on the worker thread,
// always inside CFtpThread::NotificationLock(); it must not wait for the owner's thread.
using FtpNotify =
    std::function<void(void* owner, uint32_t message, uintptr_t first, uintptr_t second)>;

// DownloadDatabase or UploadDatabase.
using FtpWork = void (*)(ftpUpdateStruct* request);

// One FTP request. The starter owns it; it must outlive the run.
struct ftpUpdateStruct {
    ftpUpdateStruct() = default;
    ftpUpdateStruct(const ftpUpdateStruct&) = delete;
    ftpUpdateStruct& operator=(const ftpUpdateStruct&) = delete;
    virtual ~ftpUpdateStruct() = default;

    // Server address; without a scheme it is read as "ftp://" followed by the text.
    std::string url;
    std::string userName;
    std::string password;
    // Its last component ("/" or "\") is the remote file name, looked up in the login directory.
    std::optional<std::string> remotePath;
    // No agent makes the work routines do nothing.
    std::optional<std::string> agentName;
    // Download: receives the data (none: the data is thrown away). Upload: the file sent.
    std::optional<std::string> localFile;
    // Last-write time of the local copy in seconds since 1970; a download stops with
    // kUpdateCurrent when it is not earlier than the server file's time.
    std::optional<int64_t> localTime;
    // Download only: stop after the newer-test with kUpdateOk.
    bool checkOnly = false;
    UpdateResult result = kUpdateNotRun;
    // Why the run failed, in the network library's words or ours, for a detail under the flow's
    // message; never holds the user name or the password. Empty when nothing more is known.
    std::string failureDetail;
    // Set by the owner to stop the run; cleared by the thread just before it calls work.
    std::atomic<bool> cancelRequested{false};
    // Handed back as the first argument of every notify call.
    void* owner = nullptr;
    // The thread that runs the request; none for a run on the calling thread, which reports
    // nothing.
    CFtpThread* thread = nullptr;
    FtpNotify notify;
    FtpWork work = nullptr;
    // Passive data connections instead of the default active mode.
    bool passiveMode = false;
};

} // namespace pinsum
