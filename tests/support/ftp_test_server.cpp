#include "support/ftp_test_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "host/file_io.h"

extern char** environ;

namespace pinsum::test {
namespace {

constexpr int kStartTimeoutMs = 20000;

std::string ServerScript() {
    return PINSUM_FTP_SERVER_SCRIPT;
}

// Debian's interpreter, which has pyftpdlib, unless the environment names another.
std::string Python() {
    const char* chosen = std::getenv("PINSUM_TEST_PYTHON");
    return chosen != nullptr ? chosen : "/usr/bin/python3";
}

// Reads the "PORT n" line the server prints once it listens.
uint16_t ReadPort(int fd) {
    std::string line;
    char c = 0;
    while (line.find('\n') == std::string::npos) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, kStartTimeoutMs) != 1 || read(fd, &c, 1) != 1)
            throw std::runtime_error("the FTP test server did not start (needs " + Python() +
                                     " with pyftpdlib): '" + line + "'");
        line += c;
    }
    if (line.rfind("PORT ", 0) != 0)
        throw std::runtime_error("unexpected first line of the FTP test server: " + line);
    return static_cast<uint16_t>(std::stoi(line.substr(5)));
}

} // namespace

FtpTestServer::FtpTestServer(uint32_t throttle) {
    char home[] = "/tmp/pinsum-ftp-XXXXXX";
    if (mkdtemp(home) == nullptr)
        throw std::runtime_error("cannot create the FTP test server's home folder");
    m_home = home;

    int toServer[2];
    int fromServer[2];
    if (pipe2(toServer, O_CLOEXEC) != 0 || pipe2(fromServer, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot create pipes for the FTP test server");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toServer[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromServer[1], STDOUT_FILENO);
    const std::string python = Python();
    const std::string script = ServerScript();
    const std::string rate = std::to_string(throttle);
    const char* argv[] = {python.c_str(), script.c_str(), "--home",     home,
                          "--user",       kUser,          "--password", kPassword,
                          "--throttle",   rate.c_str(),   nullptr};
    const int spawned = posix_spawn(&m_pid, python.c_str(), &actions, nullptr,
                                    const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(toServer[0]);
    close(fromServer[1]);
    m_stdin = toServer[1];
    if (spawned != 0) {
        close(fromServer[0]);
        m_pid = -1;
        Stop();
        throw std::runtime_error("cannot start " + python);
    }
    try {
        m_port = ReadPort(fromServer[0]);
    } catch (...) {
        close(fromServer[0]);
        Stop();
        throw;
    }
    close(fromServer[0]);
}

FtpTestServer::~FtpTestServer() {
    Stop();
}

void FtpTestServer::Stop() {
    // The server ends when its standard input closes; the signal covers a server that hangs.
    if (m_stdin >= 0)
        close(m_stdin);
    m_stdin = -1;
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    m_pid = -1;
    std::error_code error;
    std::filesystem::remove_all(m_home, error);
}

std::string FtpTestServer::Url() const {
    return "ftp://127.0.0.1:" + std::to_string(m_port) + "/";
}

void FtpTestServer::PutFile(const std::string& name, const std::vector<uint8_t>& bytes,
                            std::optional<int64_t> time) const {
    WriteFile(m_home + "/" + name, bytes, time);
}

bool FtpTestServer::HasFile(const std::string& name) const {
    return std::filesystem::exists(m_home + "/" + name);
}

std::vector<uint8_t> FtpTestServer::FileBytes(const std::string& name) const {
    return ReadFileBytes(m_home + "/" + name);
}

int64_t FtpTestServer::FileTime(const std::string& name) const {
    return test::FileTime(m_home + "/" + name);
}

TempFolder::TempFolder() {
    char path[] = "/tmp/pinsum-test-XXXXXX";
    if (mkdtemp(path) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    m_path = path;
}

TempFolder::~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

std::vector<uint8_t> PatternBytes(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i % 251);
    return bytes;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes,
               std::optional<int64_t> time) {
    WriteFileAtomic(path, bytes);
    if (time) {
        const timespec times[2] = {{*time, 0}, {*time, 0}};
        if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
            throw std::runtime_error("cannot set the time of " + path);
    }
}

int64_t FileTime(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        throw std::runtime_error("cannot read the time of " + path);
    return status.st_mtime;
}

uint16_t UnusedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

} // namespace pinsum::test
