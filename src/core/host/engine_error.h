#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace pinsum {

// Where a problem is: the file, the byte offset in it and the object or JSON path concerned; each
// part is optional.
struct ErrorPlace {
    std::string file;
    std::optional<uint64_t> offset;
    std::string object;
};

// The base of every error the engine raises for bad input or a failed operation. The message
// starts with the place ("iodb.pp: offset 120: ...") so that the edge shows it once, as it is.
class EngineError : public std::runtime_error {
public:
    explicit EngineError(const std::string& detail) : EngineError(detail, ErrorPlace{}) {}
    EngineError(const std::string& detail, ErrorPlace place);

    const ErrorPlace& Place() const { return m_place; }
    // The message without the place.
    const std::string& Detail() const { return m_detail; }

protected:
    // For errors whose message names the place in its own words.
    EngineError(const std::string& message, const std::string& detail, const ErrorPlace& place);

private:
    ErrorPlace m_place;
    std::string m_detail;
};

// A file that cannot be read or written; carries the system's error code.
class FileError : public EngineError {
public:
    FileError(const std::string& what, const std::string& path, int code);
    int Code() const { return m_code; }

private:
    int m_code;
};

} // namespace pinsum
