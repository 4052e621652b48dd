#include "host/file_settings.h"

#include <cerrno>
#include <fstream>
#include <sstream>
#include <system_error>

#include "host/file_io.h"
#include "host/hex_digit.h"

namespace pinsum {
namespace {

std::optional<std::vector<uint8_t>> ParseHexBytes(const std::string& text) {
    std::vector<uint8_t> bytes;
    std::istringstream tokens(text);
    std::string token;
    while (tokens >> token) {
        if (token.size() != 2 || HexDigitValue(token[0]) < 0 || HexDigitValue(token[1]) < 0)
            return std::nullopt;
        bytes.push_back(
            static_cast<uint8_t>(HexDigitValue(token[0]) * 16 + HexDigitValue(token[1])));
    }
    return bytes;
}

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

long ErrorCode(int code) {
    return code != 0 ? code : EIO;
}

} // namespace

FileSettings::FileSettings(std::filesystem::path file) : m_file(std::move(file)) {}

std::optional<std::vector<uint8_t>> FileSettings::ReadValue(const std::string& keyPath,
                                                            const std::string& name) {
    const Values values = Load();
    const auto it = values.find({keyPath, name});
    if (it == values.end())
        return std::nullopt;
    return it->second;
}

long FileSettings::WriteUInt32(const std::string& keyPath, const std::string& name,
                               uint32_t value) {
    if (keyPath.find('|') != std::string::npos || HasLineBreak(keyPath) || HasLineBreak(name))
        return EINVAL;
    Values values = Load();
    values[{keyPath, name}] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                               static_cast<uint8_t>(value >> 16),
                               static_cast<uint8_t>(value >> 24)};
    return Save(values);
}

FileSettings::Values FileSettings::Load() const {
    Values values;
    std::ifstream in(m_file, std::ios::binary);
    std::string line;
    while (in && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // The value holds no '=', so the last one ends the name even when the name has one.
        const std::size_t equals = line.rfind('=');
        const std::size_t bar = line.find('|');
        if (equals == std::string::npos || bar == std::string::npos || bar > equals)
            continue;
        std::string name = line.substr(bar + 1, equals - bar - 1);
        if (!name.empty() && name.back() == ' ')
            name.pop_back();
        auto bytes = ParseHexBytes(line.substr(equals + 1));
        if (!bytes)
            continue;
        values[{line.substr(0, bar), std::move(name)}] = std::move(*bytes);
    }
    return values;
}

long FileSettings::Save(const Values& values) const {
    std::string text;
    static const char kHex[] = "0123456789abcdef";
    for (const auto& [key, bytes] : values) {
        text += key.first + '|' + key.second + " =";
        for (uint8_t b : bytes) {
            text += ' ';
            text += kHex[b >> 4];
            text += kHex[b & 0x0F];
        }
        text += '\n';
    }

    std::error_code ec;
    if (m_file.has_parent_path())
        std::filesystem::create_directories(m_file.parent_path(), ec);
    if (ec)
        return ErrorCode(ec.value());

    try {
        WriteFileAtomic(m_file.string(), std::vector<uint8_t>(text.begin(), text.end()));
    } catch (const FileError& e) {
        return ErrorCode(e.Code());
    }
    return 0;
}

} // namespace pinsum
