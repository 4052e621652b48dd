#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "update/ftp_connection.h"
#include "update/ftp_thread.h"
#include "update/ftp_transfer.h"
#include "update/ftp_transfer_run.h"
#include "update/ftp_update_struct.h"
#include "update/transfer_chunks.h"

namespace pinsum {
namespace {

// Reads until the buffer is full or the file ends; -1 on a read error.
ssize_t ReadFull(int fd, uint8_t* into, size_t size) {
    size_t total = 0;
    while (total < size) {
        const ssize_t n = read(fd, into + total, size - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        total += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(total);
}

// One run of UploadDatabase. The network asks for data in pieces of its own size; they are served
// from one chunk of the file at a time, and progress and the cancel check follow each chunk.
class DatabaseUpload : FtpTransferRun {
public:
    explicit DatabaseUpload(ftpUpdateStruct& request) : FtpTransferRun(request) {}

    void Run() {
        Transfer();
        Release();
    }

private:
    void Transfer();
    bool OpenLocalFile();
    UpdateResult Send();
    std::optional<size_t> Serve(uint8_t* into, size_t room);
    bool ReadNextChunk();

    uint32_t m_served = 0;
    bool m_chunkRead = false;
    bool m_ended = false;
    bool m_readFailed = false;
};

void DatabaseUpload::Transfer() {
    if (!Connect(kUpdateNoSession))
        return;
    if (!OpenLocalFile()) {
        m_request.failureDetail = LocalFileFailure("cannot read", *m_request.localFile);
        return SetResult(kUpdateLocalFile);
    }
    if (AllocateChunk(m_size))
        SetResult(Send());
}

bool DatabaseUpload::OpenLocalFile() {
    m_localFile = open(m_request.localFile->c_str(), O_RDONLY | O_CLOEXEC);
    if (m_localFile < 0)
        return false;
    struct stat status {};
    if (fstat(m_localFile, &status) != 0) {
        close(m_localFile);
        m_localFile = -1;
        return false;
    }
    m_size = static_cast<uint32_t>(status.st_size);
    return true;
}

UpdateResult DatabaseUpload::Send() {
    const TransferEnd end = m_connection->Store(
        m_remoteName, [this](uint8_t* into, size_t room) { return Serve(into, room); },
        [this] { return CancelRequested(); });
    const bool partial = m_readFailed || m_cancelled || end == TransferEnd::Aborted;
    // A partly written catalogue on the server would be fetched by everybody; remove it.
    if (partial)
        m_connection->Remove(m_remoteName);
    if (m_readFailed)
        return kUpdateLocalFile;
    if (partial)
        return kUpdateCancelled;
    return EndOfTransfer(end);
}

std::optional<size_t> DatabaseUpload::Serve(uint8_t* into, size_t room) {
    while (!m_ended && m_served == m_filled) {
        // The chunk served so far has been handed over whole.
        if (m_chunkRead) {
            ReportState(&m_request, nullptr, ProgressPercent(m_total, m_size));
            m_cancelled = CancelRequested();
            if (m_cancelled)
                return std::nullopt;
            m_ended = m_filled < m_chunk;
            if (m_ended)
                break;
        }
        if (!ReadNextChunk())
            return std::nullopt;
    }
    if (m_ended)
        return 0;
    const size_t count = std::min<size_t>(room, m_filled - m_served);
    std::memcpy(into, m_buffer.get() + m_served, count);
    m_served += static_cast<uint32_t>(count);
    return count;
}

bool DatabaseUpload::ReadNextChunk() {
    const ssize_t count = ReadFull(m_localFile, m_buffer.get(), m_chunk);
    m_readFailed = count < 0;
    if (m_readFailed) {
        m_request.failureDetail = LocalFileFailure("cannot read", *m_request.localFile);
        return false;
    }
    m_filled = static_cast<uint32_t>(count);
    m_served = 0;
    m_total += m_filled;
    m_chunkRead = true;
    return true;
}

} // namespace

void UploadDatabase(ftpUpdateStruct* request) {
    if (request == nullptr || !request->agentName || !request->localFile)
        return;
    DatabaseUpload(*request).Run();
}

} // namespace pinsum
