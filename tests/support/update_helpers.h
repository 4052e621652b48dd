#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/ftp_test_server.h"
#include "support/recorders.h"
#include "update/ftp_config.h"
#include "update/headless_update_dialog.h"

namespace pinsum::test {

// A catalogue file; the two editions differ by one IO point kind.
std::vector<uint8_t> CatalogueBytes(int edition = 1);

FtpConfig ServerConfig(const FtpTestServer& server);

// The messages shown so far, in UTF-8.
std::vector<std::string> ShownUtf8(const RecordingMessenger& messenger);

// The progress dialog without a display, counting its shows; it can press "Storno" once the
// first chunk has been reported.
class ScriptedDialog : public FtpUpdateDialogRunner {
public:
    int ShowModal(ftpUpdateStruct& request, FtpWork work) override;

    bool cancelAfterFirstChunk = false;
    int shows = 0;
    std::vector<std::string> statuses;
    int lastPercent = -1;
};

} // namespace pinsum::test
