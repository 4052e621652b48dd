#pragma once

#include <cstdint>
#include <string>

#include "host/engine_error.h"

namespace pinsum {

// The two causes a damaged object stream can end with.
enum class ArchiveCause : int { EndOfFile = 3, BadIndex = 5 };

// Raised when an object stream cannot be read; carries the cause, the file and the offset so that
// the message shown once at the edge says where the file is damaged.
class ArchiveError : public EngineError {
public:
    ArchiveError(ArchiveCause cause, std::string file, uint64_t offset, const std::string& detail);

    ArchiveCause Cause() const { return m_cause; }
    const std::string& File() const { return m_file; }
    uint64_t Offset() const { return m_offset; }

private:
    ArchiveCause m_cause;
    std::string m_file;
    uint64_t m_offset;
};

} // namespace pinsum
