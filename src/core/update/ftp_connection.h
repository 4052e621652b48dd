#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pinsum {

struct FtpAddress;
struct ftpUpdateStruct;

// The internet session: the network library set up for the process, and the agent text.
class FtpSession {
public:
    explicit FtpSession(std::string agent) : m_agent(std::move(agent)) {}
    const std::string& Agent() const { return m_agent; }

private:
    std::string m_agent;
};

// How a transfer ended.
enum class TransferEnd { Complete, Aborted, Failed };

// A logged-in connection to the login directory of an FTP server. Operations name files by their
// bare name in that directory. Not for use by two threads at once.
class FtpConnection {
public:
    // Takes each piece of a download as it arrives; false aborts the transfer.
    using DataSink = std::function<bool(const uint8_t* data, size_t size)>;
    // Fills up to room bytes of an upload and returns the count, 0 at the end; nothing aborts.
    using DataSource = std::function<std::optional<size_t>(uint8_t* into, size_t room)>;
    // Polled while a transfer waits or moves data; true aborts it at once.
    using AbortPoll = std::function<bool()>;

    struct FileFacts {
        int64_t time = 0; // last write, seconds since 1970; 0 when the server does not say
        int64_t size = 0; // 0 when the server does not say
    };

    ~FtpConnection();
    FtpConnection(const FtpConnection&) = delete;
    FtpConnection& operator=(const FtpConnection&) = delete;

    // Connects and logs in (active data connections unless passive); nothing on any failure,
    // with the reason in failure.
    static std::unique_ptr<FtpConnection> Open(const FtpSession& session, const FtpAddress& address,
                                               std::string user, std::string password, bool passive,
                                               std::string& failure);

    // The names in the login directory in listing order; nothing when it cannot be listed.
    std::optional<std::vector<std::string>> ListNames();
    FileFacts Facts(const std::string& name);
    // Binary transfers.
    TransferEnd Retrieve(const std::string& name, const DataSink& sink, const AbortPoll& abort);
    TransferEnd Store(const std::string& name, const DataSource& source, const AbortPoll& abort);
    bool Remove(const std::string& name);

    // Why the last operation failed, in the network library's words with the credentials masked.
    const std::string& LastError() const { return m_lastError; }

private:
    FtpConnection(void* handle, std::string agent, std::string loginDirectoryUrl, std::string user,
                  std::string password, bool passive);
    // Clears every option of the previous operation; the open connection is kept for reuse.
    void Prepare(const std::string& name);
    bool Perform();
    // Runs a prepared transfer whose callbacks share the given context.
    TransferEnd Transfer(void* context);

    // A CURL easy handle; opaque here so that the network library stays out of this header.
    void* m_handle;
    std::string m_agent;
    std::string m_loginDirectoryUrl;
    std::string m_user;
    std::string m_password;
    bool m_passive;
    std::string m_url;
    std::array<char, 256> m_errorBuffer{};
    std::string m_lastError;
};

// Nothing when the network library cannot be set up.
std::unique_ptr<FtpSession> OpenFtpSession(const std::string& agentName);

// Parses the request's url (again with "ftp://" in front when that fails) and logs in with its
// user name and password; nothing when the address is no FTP address or the login fails, with the
// reason in the request's failureDetail.
std::unique_ptr<FtpConnection> ConnectFtp(const FtpSession& session, ftpUpdateStruct& request);

// Lists the login directory and takes the first entry whose name equals name ignoring letter
// case: returns the low 32 bits of its size and sets time and the name as listed. Returns 0
// when name is empty or nothing matches, with the reason in failure.
uint32_t FindRemoteFile(FtpConnection& connection, const std::string& name, int64_t& time,
                        std::string& listedName, std::string& failure);

} // namespace pinsum
