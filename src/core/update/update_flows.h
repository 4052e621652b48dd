#pragma once

#include <functional>
#include <optional>
#include <string>

#include "host/file_io.h"
#include "host/messenger.h"
#include "host/program_texts.h"
#include "update/database_install.h"
#include "update/ftp_config.h"
#include "update/ftp_update_struct.h"

namespace pinsum {

class FtpUpdateDialogRunner;

constexpr const char* kDatabaseFileName = "iodb.pp";
constexpr const char* kAgentName = "pinsum";

// How a flow ended; its message, if any, has been shown.
enum class FlowEnd {
    Done,    // check: the server holds a newer catalogue; update: installed; export: sent
    Current, // the installed catalogue is as new as the server's
    Failed,  // anything else, cancels included
};

enum class FlowKind { Check, Update, Export };

// The message a flow shows for a request's result; no text shows nothing.
struct ResultWording {
    std::optional<TextId> text;
    MessageIcon icon;
};
ResultWording WordResult(FlowKind flow, UpdateResult result);

// The update flows of the calculator and the planner: check for a newer catalogue, download and
// install it, send a catalogue to the server. They run on the user-interface thread and show
// every outcome through the messenger.
class UpdateFlows {
public:
    // dataFolder holds "iodb.pp"; the dialog runs transfers with progress.
    UpdateFlows(FtpConfig server, std::string dataFolder, Messenger& messenger,
                FtpUpdateDialogRunner& dialog);

    // Asks the server, on the calling thread and without a dialog, whether it holds a newer
    // "iodb.pp" than the data folder (any, when there is none locally).
    FlowEnd CheckForUpdate();
    // Unless skipCheck, checks first and stops with the check's message. Then downloads into a
    // new file of a unique name beside "iodb.pp" (beside the file it links to, when it is a
    // link) behind the progress dialog and, only when that loads as a catalogue, renames it over
    // "iodb.pp" with its permission bits. Any other end removes the download. Installing shows
    // no message: the caller asks about the restart.
    FlowEnd UpdateDatabase(bool skipCheck);
    // Has the document saved (false stops without a message), then sends it behind the progress
    // dialog under its bare file name.
    FlowEnd ExportDatabase(const std::string& documentPath,
                           const std::function<bool()>& saveDocument);

    // After an installed update: true when the user wants the project restarted.
    bool AskRestart();
    // After the automatic check found a newer catalogue: true when the user wants it installed.
    bool AskInstallFound();

    // A download of "iodb.pp" into nothing, carrying the local copy's last-write time when it
    // exists and can be read.
    void FillDownloadRequest(ftpUpdateStruct& request, bool checkOnly) const;

    // Why the last flow failed, when more is known than its message says (the network library's
    // words, why a download is no catalogue); empty otherwise. Never holds the credentials.
    const std::string& FailureDetail() const { return m_failureDetail; }

private:
    void FillServer(ftpUpdateStruct& request) const;
    std::string DataPath(const char* fileName) const;
    FlowEnd Install(ReplacementFile& download);
    // Shows the request's result and keeps its failure detail.
    FlowEnd Finish(FlowKind flow, const ftpUpdateStruct& request);
    void Show(ResultWording wording);

    FtpConfig m_server;
    std::string m_dataFolder;
    Messenger& m_messenger;
    FtpUpdateDialogRunner& m_dialog;
    std::string m_failureDetail;
};

} // namespace pinsum
