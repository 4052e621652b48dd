#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pinsum::test {

// A real FTP server on 127.0.0.1 (ftp_server.py beside this file, on Debian's pyftpdlib) with one
// user and a temporary home folder; it stops and its folder goes when the object is destroyed.
class FtpTestServer {
public:
    static constexpr const char* kUser = "pinsum-test";
    static constexpr const char* kPassword = "pass#word=1";

    // throttle: bytes per second on the data channel in both directions; 0 for none.
    explicit FtpTestServer(uint32_t throttle = 0);
    ~FtpTestServer();
    FtpTestServer(const FtpTestServer&) = delete;
    FtpTestServer& operator=(const FtpTestServer&) = delete;

    uint16_t Port() const { return m_port; }
    // "ftp://127.0.0.1:PORT/".
    std::string Url() const;
    const std::string& Home() const { return m_home; }

    // Files in the home folder; time in seconds since 1970.
    void PutFile(const std::string& name, const std::vector<uint8_t>& bytes,
                 std::optional<int64_t> time = std::nullopt) const;
    bool HasFile(const std::string& name) const;
    std::vector<uint8_t> FileBytes(const std::string& name) const;
    int64_t FileTime(const std::string& name) const;

private:
    void Stop();

    std::string m_home;
    pid_t m_pid = -1;
    int m_stdin = -1;
    uint16_t m_port = 0;
};

// A folder under the system's temporary folder, removed with everything in it when destroyed.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Bytes 0, 1, 2 ... in a repeating pattern that no shifted copy matches.
std::vector<uint8_t> PatternBytes(size_t size);
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes,
               std::optional<int64_t> time = std::nullopt);
// Last-write time in seconds since 1970.
int64_t FileTime(const std::string& path);
// A port on 127.0.0.1 where nothing listens.
uint16_t UnusedPort();

} // namespace pinsum::test
