#include "update/ftp_config.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "host/input_quote.h"

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

void SetValue(FtpConfig& config, std::string_view key, std::string_view value,
              const std::string& where) {
    if (key == "ftp.url")
        config.url = value;
    else if (key == "ftp.user")
        config.user = value;
    else if (key == "ftp.password")
        config.password = value;
    else if (key == "ftp.passive") {
        const std::optional<bool> passive = ParseYesNo(value);
        if (!passive)
            throw FtpConfigError(where + ": ftp.passive must be yes or no");
        config.passive = *passive;
    } else
        throw FtpConfigError(where + ": unknown setting " + QuoteInput(key));
}

std::string ReadConfigFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw FtpConfigError("cannot read " + path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void ApplyEnvironment(FtpConfig& config) {
    constexpr std::pair<const char*, std::string FtpConfig::*> kTexts[] = {
        {"PINSUM_FTP_URL", &FtpConfig::url},
        {"PINSUM_FTP_USER", &FtpConfig::user},
        {"PINSUM_FTP_PASSWORD", &FtpConfig::password},
    };
    for (const auto& [name, field] : kTexts)
        if (const char* value = std::getenv(name))
            config.*field = value;
    if (const char* value = std::getenv("PINSUM_FTP_PASSIVE")) {
        const std::optional<bool> passive = ParseYesNo(value);
        if (!passive)
            throw FtpConfigError("PINSUM_FTP_PASSIVE must be yes or no");
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
        const std::string where = fileName + " line " + std::to_string(lineNumber);
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            throw FtpConfigError(where + ": expected 'setting = value'");
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
