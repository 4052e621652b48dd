#include "host/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>

namespace pinsum {
namespace {

// The same limit as the system's own path resolution.
constexpr int kMaxLinkHops = 40;
constexpr int kNameAttempts = 100;

FileError ErrnoError(const std::string& what, const std::string& path) {
    return FileError(what, path, errno);
}

int SystemCreate(const char* path, int flags, mode_t mode) {
    return open(path, flags, mode);
}

const FileWriteCalls kSystemCalls = {SystemCreate, ::write, ::fsync, std::rename};
const FileWriteCalls* g_calls = &kSystemCalls;

// The path the last of a chain of symbolic links leads to; the path itself when it is no link
// (or does not exist: the file is then created there).
std::string ResolveLinks(const std::string& path) {
    std::filesystem::path current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(current, error))
            return current.string();
        const std::filesystem::path link = std::filesystem::read_symlink(current, error);
        if (error)
            throw FileError("nelze přečíst odkaz", current.string(), error.value());
        current = link.is_absolute() ? link : current.parent_path() / link;
    }
    throw FileError("nelze přepsat soubor", path, ELOOP);
}

// Six letters or digits, as mkstemp uses.
std::string UniqueSuffix() {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string suffix = ".";
    for (int i = 0; i < 6; ++i)
        suffix += kLetters[pick(random)];
    return suffix;
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

const FileWriteCalls& SystemFileWriteCalls() {
    return kSystemCalls;
}

void SetFileWriteCalls(const FileWriteCalls* calls) {
    g_calls = calls != nullptr ? calls : &kSystemCalls;
}

ReplacementFile::ReplacementFile(const std::string& target)
    : m_shownPath(target), m_target(ResolveLinks(target)) {
    struct stat status {};
    const bool exists = stat(m_target.c_str(), &status) == 0;
    if (exists && S_ISDIR(status.st_mode))
        throw FileError("nelze přepsat soubor", target, EISDIR);
    // Renaming over a device or a pipe would put a plain file in its place.
    if (exists && !S_ISREG(status.st_mode))
        throw FileError("není obyčejný soubor, nelze přepsat", target, ENOTSUP);
    // Until the commit the new file is its owner's alone: the target's bits may be looser than
    // they should be while it is written, or leave no room for writing it. A new target's file
    // gets the umask's bits from the start.
    for (int attempt = 0; attempt < kNameAttempts && m_fd < 0; ++attempt) {
        m_path = m_target + UniqueSuffix();
        m_fd = g_calls->create(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                               exists ? 0600 : 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        const int code = errno;
        m_path.clear();
        throw FileError("nelze vytvořit dočasný soubor pro", target, code);
    }
    if (!exists)
        return;
    m_mode = status.st_mode & 0777;
    // A user who cannot give the file the target's owner or group keeps his own.
    if ((status.st_uid != geteuid() || status.st_gid != getegid()) &&
        fchown(m_fd, status.st_uid, status.st_gid) != 0)
        (void)!fchown(m_fd, static_cast<uid_t>(-1), status.st_gid);
}

ReplacementFile::~ReplacementFile() {
    Discard();
}

void ReplacementFile::Discard() {
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
    if (!m_path.empty())
        unlink(m_path.c_str());
    m_path.clear();
}

void ReplacementFile::Fail(const char* what, int code) {
    throw FileError(what, m_shownPath, code);
}

void ReplacementFile::Write(const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t n = g_calls->write(m_fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fail("chyba zápisu souboru", errno);
        data += n;
        size -= static_cast<size_t>(n);
    }
}

void ReplacementFile::Commit() {
    if (m_mode && fchmod(m_fd, *m_mode) != 0)
        Fail("chyba zápisu souboru", errno);
    if (g_calls->sync(m_fd) != 0)
        Fail("chyba zápisu souboru", errno);
    const int fd = m_fd;
    m_fd = -1;
    if (close(fd) != 0)
        Fail("chyba zápisu souboru", errno);
    if (g_calls->rename(m_path.c_str(), m_target.c_str()) != 0)
        Fail("nelze přepsat soubor", errno);
    m_path.clear();
}

void WriteFileAtomic(const std::string& path, const std::vector<uint8_t>& bytes) {
    ReplacementFile file(path);
    file.Write(bytes.data(), bytes.size());
    file.Commit();
}

bool WriteAllTo(int fd, const void* data, size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

} // namespace pinsum
