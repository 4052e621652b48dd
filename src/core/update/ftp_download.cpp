#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "host/file_io.h"
#include "update/ftp_connection.h"
#include "update/ftp_thread.h"
#include "update/ftp_transfer.h"
#include "update/ftp_transfer_run.h"
#include "update/ftp_update_struct.h"
#include "update/transfer_chunks.h"

namespace pinsum {
namespace {

// One run of DownloadDatabase. The network delivers data in pieces of its own size; they are
// gathered into chunks so that writing, progress and the cancel check happen once per chunk.
class DatabaseDownload : FtpTransferRun {
public:
    explicit DatabaseDownload(ftpUpdateStruct& request) : FtpTransferRun(request) {}

    void Run() {
        Transfer();
        CleanUp();
    }

private:
    void Transfer();
    UpdateResult Receive(const std::string& listedName);
    bool TakeData(const uint8_t* data, size_t size);
    bool FinishChunk();
    void CleanUp();

    int64_t m_serverTime = 0;
    bool m_writeFailed = false;
};

void DatabaseDownload::Transfer() {
    if (!Connect(kUpdateCancelled))
        return;
    std::string listedName;
    m_size = FindRemoteFile(*m_connection, m_remoteName, m_serverTime, listedName,
                            m_request.failureDetail);
    if (m_size == 0)
        return SetResult(kUpdateNotFound);
    if (CancelRequested())
        return SetResult(kUpdateCancelled);
    if (m_request.localTime && *m_request.localTime >= m_serverTime)
        return SetResult(kUpdateCurrent);
    if (m_request.checkOnly)
        return SetResult(kUpdateOk);
    if (m_request.localFile) {
        // A link in the local file's place would send the data into whatever file it names.
        m_localFile = open(m_request.localFile->c_str(),
                           O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (m_localFile < 0) {
            m_request.failureDetail = LocalFileFailure("cannot create", *m_request.localFile);
            return SetResult(kUpdateLocalFile);
        }
    }
    if (AllocateChunk(m_size))
        SetResult(Receive(listedName));
}

// Fetches the file by the name the listing gave, which may differ in letter case from the one
// asked for on a server that tells the two apart.
UpdateResult DatabaseDownload::Receive(const std::string& listedName) {
    const TransferEnd end = m_connection->Retrieve(
        listedName, [this](const uint8_t* data, size_t size) { return TakeData(data, size); },
        [this] { return CancelRequested(); });
    // The end of the data is the last, short read; it is written and reported like the others.
    if (end == TransferEnd::Complete)
        FinishChunk();
    if (m_writeFailed)
        return kUpdateLocalFile;
    if (m_cancelled || end == TransferEnd::Aborted)
        return kUpdateCancelled;
    return EndOfTransfer(end);
}

bool DatabaseDownload::TakeData(const uint8_t* data, size_t size) {
    while (size > 0) {
        const size_t take = std::min<size_t>(size, m_chunk - m_filled);
        std::memcpy(m_buffer.get() + m_filled, data, take);
        m_filled += static_cast<uint32_t>(take);
        data += take;
        size -= take;
        if (m_filled == m_chunk && !FinishChunk())
            return false;
    }
    return true;
}

// False ends the transfer: the local file could not take the data, or a cancel was requested.
bool DatabaseDownload::FinishChunk() {
    m_total += m_filled;
    if (m_localFile >= 0 && !WriteAllTo(m_localFile, m_buffer.get(), m_filled)) {
        m_request.failureDetail = LocalFileFailure("cannot write", *m_request.localFile);
        m_writeFailed = true;
        return false;
    }
    m_filled = 0;
    ReportState(&m_request, nullptr, ProgressPercent(m_total, m_size));
    m_cancelled = CancelRequested();
    return !m_cancelled;
}

void DatabaseDownload::CleanUp() {
    if (m_localFile >= 0) {
        // The local copy carries the server's time, so that the next check compares like with like.
        const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(m_serverTime), 0}};
        futimens(m_localFile, times);
    }
    Release();
}

} // namespace

void DownloadDatabase(ftpUpdateStruct* request) {
    if (request == nullptr || !request->agentName)
        return;
    DatabaseDownload(*request).Run();
}

} // namespace pinsum
