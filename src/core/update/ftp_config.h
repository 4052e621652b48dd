#pragma once

#include <string>
#include <string_view>

#include "host/engine_error.h"

namespace pinsum {

// The configuration file in the program folder. Lines "ftp.url = ...", "ftp.user = ...",
// "ftp.password = ...", "ftp.passive = yes|no"; blank lines and lines starting with '#' are
// skipped. A value runs to the end of its line, so a password may hold '#' or '='.
constexpr const char* kFtpConfigFileName = "pinsum.conf";

// The update server. It holds the password: never print or log it.
struct FtpConfig {
    std::string url;
    std::string user;
    std::string password;
    bool passive = false;
};

// Says which file and line is wrong, never the value written there.
class FtpConfigError : public EngineError {
public:
    using EngineError::EngineError;
};

// Reads kFtpConfigFileName in the folder (a missing file configures nothing), then lets the
// environment variables PINSUM_FTP_URL, PINSUM_FTP_USER, PINSUM_FTP_PASSWORD and
// PINSUM_FTP_PASSIVE override it. Throws FtpConfigError for a file that cannot be read, a
// malformed server address and a user name or password holding CR or LF, wherever they are set.
FtpConfig LoadFtpConfig(const std::string& programFolder);

// Applies the lines of one configuration text; fileName only names the text in errors.
void ParseFtpConfig(std::string_view text, const std::string& fileName, FtpConfig& config);

} // namespace pinsum
