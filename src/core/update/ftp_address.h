#pragma once

#include <optional>
#include <string>

namespace pinsum {

// Where a connection goes: the login directory of a server.
struct FtpAddress {
    // "ftp://" or "ftps://" (TLS), the server name and the port when the address gives one, and
    // "/". User names, paths and queries in the address are not used.
    std::string loginDirectoryUrl;
};

// Parses the text as an internet address, and when that fails and the text has no scheme, once
// more with "ftp://" in front. Nothing when neither parses, when the service is not FTP (ftps
// included) or when the server name is empty; then problem, when given, says which in a few
// words that never repeat the text (it may hold a password).
std::optional<FtpAddress> ParseFtpAddress(const std::string& text, std::string* problem = nullptr);

} // namespace pinsum
