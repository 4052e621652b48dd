#include "update/ftp_config.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

#include "host/file_io.h"
#include "host/input_quote.h"
#include "host/message_language.h"
#include "host/program_texts.h"
#include "update/ftp_address.h"

namespace pinsum {
namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<bool> ParseYesNo(std::string_view text) {
    std::string lower(Trim(text));
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "yes")
        return true;
    if (lower == "no")
        return false;
    return std::nullopt;
}

// The user name and password go into the server's command lines as they are: a line break in
// them would end a command early and send the rest as a command of its own.
void CheckCredential(std::string_view value, const std::string& where, const char* what) {
    if (value.find_first_of("\r\n") != std::string_view::npos)
        throw FtpConfigError(
            where + ": " +
            FormatText(Translate("%s must not hold a line break (CR or LF)"), {Translate(what)}));
}

// A malformed address is a configuration error, found before any connection is tried.
void CheckAddress(const std::string& url, const std::string& where) {
    std::string problem;
    if (!url.empty() && !ParseFtpAddress(url, &problem))
        throw FtpConfigError(where + ": " +
                             FormatText(Translate("the update server address %s"), {problem}));
}

void SetValue(FtpConfig& config, std::string_view key, std::string_view value,
              const std::string& where) {
    if (key == "ftp.url") {
        config.url = value;
        CheckAddress(config.url, where);
    } else if (key == "ftp.user") {
        CheckCredential(value, where, N_("the user name"));
        config.user = value;
    } else if (key == "ftp.password") {
        CheckCredential(value, where, N_("the password"));
        config.password = value;
    } else if (key == "ftp.passive") {
        const std::optional<bool> passive = ParseYesNo(value);
        if (!passive)
            throw FtpConfigError(where + ": " +
                                 FormatText(Translate("%s must be yes or no"), {"ftp.passive"}));
        config.passive = *passive;
    } else
        throw FtpConfigError(where + ": " +
                             FormatText(Translate("unknown setting %s"), {QuoteInput(key)}));
}

// A folder or an unreadable file in the configuration's place is named as such; a stream would
// only say that reading failed.
std::string ReadConfigFile(const std::string& path) {
    try {
        const std::vector<uint8_t> bytes = ReadFileBytes(path);
        return std::string(bytes.begin(), bytes.end());
    } catch (const FileError& e) {
        throw FtpConfigError(FormatText(Translate("cannot read the configuration file %s: %s"),
                                        {path, std::strerror(e.Code())}));
    }
}

void ApplyEnvironment(FtpConfig& config) {
    if (const char* value = std::getenv("PINSUM_FTP_URL")) {
        config.url = value;
        CheckAddress(config.url, "PINSUM_FTP_URL");
    }
    if (const char* value = std::getenv("PINSUM_FTP_USER")) {
        CheckCredential(value, "PINSUM_FTP_USER", N_("the user name"));
        config.user = value;
    }
    if (const char* value = std::getenv("PINSUM_FTP_PASSWORD")) {
        CheckCredential(value, "PINSUM_FTP_PASSWORD", N_("the password"));
        config.password = value;
    }
    if (const char* value = std::getenv("PINSUM_FTP_PASSIVE")) {
        const std::optional<bool> passive = ParseYesNo(value);
        if (!passive)
            throw FtpConfigError(
                FormatText(Translate("%s must be yes or no"), {"PINSUM_FTP_PASSIVE"}));
        config.passive = *passive;
    }
}

} // namespace

void ParseFtpConfig(std::string_view text, const std::string& fileName, FtpConfig& config) {
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        ++lineNumber;
        if (line.empty() || line.front() == '#')
            continue;
        const std::string where = FormatText(Translate("%s line %d"), {fileName, lineNumber});
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            throw FtpConfigError(where + ": " + Translate("expected 'setting = value'"));
        SetValue(config, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), where);
    }
}

FtpConfig LoadFtpConfig(const std::string& programFolder) {
    FtpConfig config;
    const std::string path = (std::filesystem::path(programFolder) / kFtpConfigFileName).string();
    std::error_code error;
    if (std::filesystem::exists(path, error))
        ParseFtpConfig(ReadConfigFile(path), path, config);
    ApplyEnvironment(config);
    return config;
}

} // namespace pinsum
