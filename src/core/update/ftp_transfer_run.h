#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "update/ftp_connection.h"
#include "update/ftp_update_struct.h"

namespace pinsum {

// What one run of a download and of an upload share: the request, the remote file's bare name,
// the session and the logged-in connection, the local file and the chunk buffer. Runs on the
// thread that runs the request.
class FtpTransferRun {
protected:
    explicit FtpTransferRun(ftpUpdateStruct& request) : m_request(request) {}
    FtpTransferRun(const FtpTransferRun&) = delete;
    FtpTransferRun& operator=(const FtpTransferRun&) = delete;

    bool CancelRequested() const { return m_request.cancelRequested; }
    void SetResult(UpdateResult result) { m_request.result = result; }

    // Reports the remote name, opens the session and logs in, checking for a cancel before and
    // after the login (cancelResult). False when the run must stop: the result is then set, or
    // left as it was when the login failed.
    bool Connect(UpdateResult cancelResult);
    // The chunk buffer for a file of fileSize bytes; false with kUpdateNoMemory.
    bool AllocateChunk(uint32_t fileSize);
    // The result of a transfer that was neither cancelled nor stopped by the local file: a failed
    // one keeps the network library's reason, a complete one reports 100 %.
    UpdateResult EndOfTransfer(TransferEnd end);
    // Closes the local file, logs out and reports the end, in that order.
    void Release();

    ftpUpdateStruct& m_request;
    // Only the bare name: the download looks the file up in the login directory, and a local
    // folder in the name would put it elsewhere or be refused.
    std::string m_remoteName;
    std::unique_ptr<FtpSession> m_session;
    std::unique_ptr<FtpConnection> m_connection;
    int m_localFile = -1;
    uint32_t m_size = 0;
    uint32_t m_chunk = 0;
    std::unique_ptr<uint8_t[]> m_buffer;
    uint32_t m_filled = 0;
    uint32_t m_total = 0;
    bool m_cancelled = false;
};

} // namespace pinsum
