#include "support/update_helpers.h"

#include "host/text_codec.h"
#include "model/archive.h"
#include "model/catalogue_file.h"
#include "support/small_catalogue.h"

namespace pinsum::test {

std::vector<uint8_t> CatalogueBytes(int edition) {
    SmallCatalogue catalogue = BuildSmallCatalogue();
    if (edition == 2)
        AddKind(*catalogue.db, "DI 24V");
    ArchiveWriter writer;
    StoreDatabaseFile(writer, catalogue.db.get());
    return writer.TakeBytes();
}

FtpConfig ServerConfig(const FtpTestServer& server) {
    return {server.Url(), FtpTestServer::kUser, FtpTestServer::kPassword, false};
}

std::vector<std::string> ShownUtf8(const RecordingMessenger& messenger) {
    std::vector<std::string> shown;
    for (const std::string& text : messenger.shown)
        shown.push_back(Cp1250ToUtf8(text));
    return shown;
}

int ScriptedDialog::ShowModal(ftpUpdateStruct& request, FtpWork work) {
    ++shows;
    HeadlessUpdateDialog dialog(
        [this](const std::string& status, int percent) {
            if (statuses.empty() || statuses.back() != status)
                statuses.push_back(status);
            lastPercent = percent;
        },
        [this] { return cancelAfterFirstChunk && lastPercent > 0; });
    return dialog.ShowModal(request, work);
}

} // namespace pinsum::test
