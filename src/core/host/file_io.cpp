#include "host/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pinsum {
namespace {

FileError ErrnoError(const std::string& what, const std::string& path) {
    return FileError(what, path, errno);
}

} // namespace

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        throw ErrnoError("nelze otevřít soubor", path);
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        throw ErrnoError("chyba čtení souboru", path);
    return bytes;
}

void WriteFileAtomic(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        throw ErrnoError("nelze vytvořit dočasný soubor pro", path);
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const auto error = ErrnoError("chyba zápisu souboru", path);
            close(fd);
            unlink(temp.c_str());
            throw error;
        }
        written += static_cast<size_t>(n);
    }
    fchmod(fd, 0644);
    const bool synced = fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!synced || !closed) {
        const auto error = ErrnoError("chyba zápisu souboru", path);
        unlink(temp.c_str());
        throw error;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        const auto error = ErrnoError("nelze přepsat soubor", path);
        unlink(temp.c_str());
        throw error;
    }
}

} // namespace pinsum
