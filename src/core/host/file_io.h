#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/engine_error.h"

namespace pinsum {

// Reads a whole file; throws FileError when it cannot be read.
std::vector<uint8_t> ReadFileBytes(const std::string& path);

// A new file that takes the place of a target in one step. It is created beside the target,
// exclusively and under a unique name, so that no file or link already there is touched. When the
// target is a symbolic link, the file the link leads to is replaced and the link stays. The
// target keeps its permission bits; a new one gets 0666 less the umask. Until Commit succeeds
// the target is unchanged, and the new file is removed when this object goes.
class ReplacementFile {
public:
    // Throws FileError when the target is no regular file or the new file cannot be created.
    explicit ReplacementFile(const std::string& target);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Where the new file is until the commit.
    const std::string& Path() const { return m_path; }
    // The file the commit replaces: the target, or the file its links lead to.
    const std::string& Target() const { return m_target; }

    // Throws FileError.
    void Write(const uint8_t* data, size_t size);
    // Writes the new file to the disk and renames it over the target. Throws FileError; the
    // target is then unchanged.
    void Commit();

private:
    void Discard();
    [[noreturn]] void Fail(const char* what, int code);

    std::string m_shownPath;
    std::string m_target;
    std::string m_path;
    int m_fd = -1;
    // The target's permission bits, given to the new file at the commit.
    std::optional<mode_t> m_mode;
};

// Writes all the bytes to a descriptor, again after an interrupted call; false when a write
// fails, with errno set.
bool WriteAllTo(int fd, const void* data, size_t size);

// Writes the bytes through a ReplacementFile, so that a failed write leaves the old file whole.
// Throws FileError.
void WriteFileAtomic(const std::string& path, const std::vector<uint8_t>& bytes);

// The system calls with which a ReplacementFile creates, writes, flushes and renames. Tests put
// in their own to make each step fail; the program always uses the system's.
struct FileWriteCalls {
    int (*create)(const char* path, int flags, mode_t mode);
    ssize_t (*write)(int fd, const void* data, size_t size);
    int (*sync)(int fd);
    int (*rename)(const char* from, const char* to);
};
const FileWriteCalls& SystemFileWriteCalls();
// Until it is reset with nullptr, every ReplacementFile uses these calls. The calls must outlive
// that time. For tests only; not thread-safe.
void SetFileWriteCalls(const FileWriteCalls* calls);

} // namespace pinsum
