#include "update/update_flows.h"

#include <sys/stat.h>

#include <filesystem>

#include "host/program_texts.h"
#include "update/ftp_transfer.h"
#include "update/ftp_update_progress.h"

namespace pinsum {
namespace {

constexpr MessageIcon kInfo = MessageIcon::Information;
constexpr MessageIcon kStop = MessageIcon::Stop;
constexpr ResultWording kSilent{std::nullopt, kInfo};
constexpr ResultWording kUnreachable{TextId::ServerUnreachable, kStop};
constexpr ResultWording kCurrent{TextId::DatabaseCurrent, kInfo};
constexpr ResultWording kError{TextId::UpdateError, kStop};
constexpr ResultWording kCancelled{TextId::CancelledByUser, kInfo};

// Rows: results 0 to 8; columns: check, update, export.
constexpr ResultWording kWordings[9][3] = {
    {kSilent, kSilent, {TextId::DatabaseSaved, kInfo}},
    {kCurrent, kCurrent, kCurrent},
    {kUnreachable, kUnreachable, kUnreachable},
    {{TextId::UpdateNotFound, kInfo}, kError, kError},
    {kUnreachable, kError, kError},
    {kUnreachable, kError, kError},
    {kUnreachable, kUnreachable, kUnreachable},
    {kCancelled, kCancelled, {TextId::UploadIncomplete, kStop}},
    {kUnreachable, kUnreachable, kUnreachable},
};

FlowEnd EndOf(UpdateResult result) {
    if (result == kUpdateOk)
        return FlowEnd::Done;
    return result == kUpdateCurrent ? FlowEnd::Current : FlowEnd::Failed;
}

} // namespace

ResultWording WordResult(FlowKind flow, UpdateResult result) {
    if (result < kUpdateOk || result > kUpdateNotRun)
        return kUnreachable;
    return kWordings[result][static_cast<int>(flow)];
}

UpdateFlows::UpdateFlows(FtpConfig server, std::string dataFolder, Messenger& messenger,
                         FtpUpdateDialogRunner& dialog)
    : m_server(std::move(server)), m_dataFolder(std::move(dataFolder)), m_messenger(messenger),
      m_dialog(dialog) {}

std::string UpdateFlows::DataPath(const char* fileName) const {
    return (std::filesystem::path(m_dataFolder) / fileName).string();
}

void UpdateFlows::Show(ResultWording wording) {
    if (wording.text)
        m_messenger.Show(ProgramText(*wording.text), wording.icon, MessageButtons::Ok);
}

void UpdateFlows::FillServer(ftpUpdateStruct& request) const {
    request.url = m_server.url;
    request.userName = m_server.user;
    request.password = m_server.password;
    request.passiveMode = m_server.passive;
    request.agentName = kAgentName;
    request.result = kUpdateNotRun;
    request.cancelRequested = false;
}

void UpdateFlows::FillDownloadRequest(ftpUpdateStruct& request, bool checkOnly) const {
    FillServer(request);
    const std::string database = DataPath(kDatabaseFileName);
    request.remotePath = database;
    request.localFile.reset();
    request.checkOnly = checkOnly;
    struct stat status {};
    if (stat(database.c_str(), &status) == 0)
        request.localTime = status.st_mtime;
    else
        request.localTime.reset();
}

FlowEnd UpdateFlows::CheckForUpdate() {
    m_failureDetail.clear();
    ftpUpdateStruct request;
    FillDownloadRequest(request, true);
    DownloadDatabase(&request);
    return Finish(FlowKind::Check, request);
}

FlowEnd UpdateFlows::Finish(FlowKind flow, const ftpUpdateStruct& request) {
    Show(WordResult(flow, request.result));
    const FlowEnd end = EndOf(request.result);
    if (end == FlowEnd::Failed)
        m_failureDetail = request.failureDetail;
    return end;
}

FlowEnd UpdateFlows::UpdateDatabase(bool skipCheck) {
    if (!skipCheck) {
        const FlowEnd checked = CheckForUpdate();
        if (checked != FlowEnd::Done)
            return checked;
    }
    m_failureDetail.clear();
    // A fixed name could be a link planted to make the download overwrite another file.
    std::optional<ReplacementFile> download;
    try {
        download.emplace(DataPath(kDatabaseFileName));
    } catch (const FileError& e) {
        Show(kError);
        m_failureDetail = e.what();
        return FlowEnd::Failed;
    }
    ftpUpdateStruct request;
    FillDownloadRequest(request, false);
    request.localFile = download->Path();
    if (m_dialog.ShowModal(request, DownloadDatabase) == 0) {
        Show(kError);
        m_failureDetail = request.failureDetail;
        return FlowEnd::Failed;
    }
    if (request.result != kUpdateOk)
        return Finish(FlowKind::Update, request);
    return Install(*download);
}

// A complete download can still be no catalogue (a wrong file, one the server cut short); the
// installed one is replaced only by a file that loads, and only in one step.
FlowEnd UpdateFlows::Install(ReplacementFile& download) {
    if (!IsReadableCatalogue(download.Path(), &m_failureDetail)) {
        Show(kError);
        return FlowEnd::Failed;
    }
    try {
        download.Commit();
    } catch (const FileError& e) {
        Show({TextId::CannotReplaceDatabase, kStop});
        m_failureDetail = e.what();
        return FlowEnd::Failed;
    }
    return FlowEnd::Done;
}

FlowEnd UpdateFlows::ExportDatabase(const std::string& documentPath,
                                    const std::function<bool()>& saveDocument) {
    m_failureDetail.clear();
    if (saveDocument && !saveDocument())
        return FlowEnd::Failed;
    ftpUpdateStruct request;
    FillServer(request);
    request.remotePath = documentPath;
    request.localFile = documentPath;
    if (m_dialog.ShowModal(request, UploadDatabase) == 0) {
        Show(kError);
        m_failureDetail = request.failureDetail;
        return FlowEnd::Failed;
    }
    return Finish(FlowKind::Export, request);
}

bool UpdateFlows::AskRestart() {
    return m_messenger.Show(ProgramText(TextId::RestartQuestion), MessageIcon::Question,
                            MessageButtons::YesNo) == MessageAnswer::Yes;
}

bool UpdateFlows::AskInstallFound() {
    return m_messenger.Show(ProgramText(TextId::InstallQuestion), MessageIcon::Information,
                            MessageButtons::YesNo) == MessageAnswer::Yes;
}

} // namespace pinsum
