#include "update/ftp_transfer_run.h"

#include <unistd.h>

#include <new>
#include <string>

#include "update/ftp_thread.h"
#include "update/transfer_chunks.h"

namespace pinsum {

bool FtpTransferRun::Connect(UpdateResult cancelResult) {
    if (m_request.remotePath) {
        m_remoteName = LastPathComponent(*m_request.remotePath);
        ReportState(&m_request, &m_remoteName, 0);
    }
    m_session = OpenFtpSession(*m_request.agentName);
    if (m_session == nullptr) {
        m_request.failureDetail = "the network library cannot start a session";
        SetResult(kUpdateNoSession);
        return false;
    }
    if (CancelRequested()) {
        SetResult(cancelResult);
        return false;
    }
    m_connection = ConnectFtp(*m_session, m_request);
    if (m_connection == nullptr)
        return false;
    if (CancelRequested()) {
        SetResult(cancelResult);
        return false;
    }
    return true;
}

bool FtpTransferRun::AllocateChunk(uint32_t fileSize) {
    m_chunk = ChunkSize(fileSize);
    m_buffer.reset(new (std::nothrow) uint8_t[m_chunk]);
    if (m_buffer != nullptr)
        return true;
    m_request.failureDetail =
        "no memory for a transfer buffer of " + std::to_string(m_chunk) + " bytes";
    SetResult(kUpdateNoMemory);
    return false;
}

UpdateResult FtpTransferRun::EndOfTransfer(TransferEnd end) {
    if (end == TransferEnd::Failed) {
        m_request.failureDetail = m_connection->LastError();
        return kUpdateRemoteOpen;
    }
    ReportState(&m_request, nullptr, 100);
    return kUpdateOk;
}

void FtpTransferRun::Release() {
    if (m_localFile >= 0)
        close(m_localFile);
    m_localFile = -1;
    m_buffer.reset();
    m_connection.reset();
    m_session.reset();
    ReportDone(&m_request);
}

} // namespace pinsum
