#include "update/ftp_connection.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>

#include "update/ftp_address.h"
#include "update/ftp_update_struct.h"

namespace pinsum {
namespace {

constexpr long kConnectTimeoutSeconds = 20;
constexpr long kResponseTimeoutSeconds = 60;
// A transfer slower than one byte a second for this long counts as broken off.
constexpr long kStallSeconds = 60;

bool NetworkLibraryReady() {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ready;
}

CURL* Handle(void* handle) {
    return static_cast<CURL*>(handle);
}

size_t Discard(char*, size_t size, size_t count, void*) {
    return size * count;
}

size_t AppendText(char* data, size_t size, size_t count, void* text) {
    static_cast<std::string*>(text)->append(data, size * count);
    return size * count;
}

// What the callbacks of one transfer share.
struct TransferContext {
    const FtpConnection::DataSink* sink = nullptr;
    const FtpConnection::DataSource* source = nullptr;
    const FtpConnection::AbortPoll* abort = nullptr;
    bool aborted = false;
};

size_t DeliverData(char* data, size_t size, size_t count, void* userData) {
    auto& context = *static_cast<TransferContext*>(userData);
    if (!(*context.sink)(reinterpret_cast<const uint8_t*>(data), size * count)) {
        context.aborted = true;
        return 0;
    }
    return size * count;
}

size_t FetchData(char* into, size_t size, size_t count, void* userData) {
    auto& context = *static_cast<TransferContext*>(userData);
    const std::optional<size_t> filled =
        (*context.source)(reinterpret_cast<uint8_t*>(into), size * count);
    if (!filled) {
        context.aborted = true;
        return CURL_READFUNC_ABORT;
    }
    return *filled;
}

int PollAbort(void* userData, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto& context = *static_cast<TransferContext*>(userData);
    if (!(*context.abort)())
        return 0;
    context.aborted = true;
    return 1;
}

std::vector<std::string> SplitListing(const std::string& listing) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start < listing.size()) {
        size_t end = listing.find('\n', start);
        if (end == std::string::npos)
            end = listing.size();
        std::string line = listing.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // Some servers list names with a path in front.
        const size_t slash = line.find_last_of('/');
        if (slash != std::string::npos)
            line.erase(0, slash + 1);
        if (!line.empty())
            names.push_back(std::move(line));
        start = end + 1;
    }
    return names;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// A name with control characters could smuggle commands into the control connection.
bool SafeName(const std::string& name) {
    return std::none_of(name.begin(), name.end(),
                        [](char c) { return std::iscntrl(static_cast<unsigned char>(c)); });
}

// The network library's own words may echo the address, which may carry the user name.
void MaskText(std::string& text, const std::string& secret) {
    if (secret.empty())
        return;
    for (size_t at = text.find(secret); at != std::string::npos; at = text.find(secret, at + 3))
        text.replace(at, secret.size(), "***");
}

} // namespace

std::unique_ptr<FtpSession> OpenFtpSession(const std::string& agentName) {
    if (!NetworkLibraryReady())
        return nullptr;
    return std::make_unique<FtpSession>(agentName);
}

FtpConnection::FtpConnection(void* handle, std::string agent, std::string loginDirectoryUrl,
                             std::string user, std::string password, bool passive)
    : m_handle(handle), m_agent(std::move(agent)),
      m_loginDirectoryUrl(std::move(loginDirectoryUrl)), m_user(std::move(user)),
      m_password(std::move(password)), m_passive(passive) {}

FtpConnection::~FtpConnection() {
    curl_easy_cleanup(Handle(m_handle));
}

std::unique_ptr<FtpConnection> FtpConnection::Open(const FtpSession& session,
                                                   const FtpAddress& address, std::string user,
                                                   std::string password, bool passive,
                                                   std::string& failure) {
    CURL* handle = curl_easy_init();
    if (handle == nullptr) {
        failure = "the network library cannot start a connection";
        return nullptr;
    }
    std::unique_ptr<FtpConnection> connection(
        new FtpConnection(handle, session.Agent(), address.loginDirectoryUrl, std::move(user),
                          std::move(password), passive));
    // Asking for no body of the login directory connects and logs in without moving data.
    connection->Prepare("");
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    if (!connection->Perform()) {
        failure = connection->LastError();
        return nullptr;
    }
    return connection;
}

void FtpConnection::Prepare(const std::string& name) {
    CURL* handle = Handle(m_handle);
    curl_easy_reset(handle);
    m_url = m_loginDirectoryUrl;
    if (!name.empty()) {
        char* escaped = curl_easy_escape(handle, name.data(), static_cast<int>(name.size()));
        m_url += escaped != nullptr ? escaped : "";
        curl_free(escaped);
    }
    curl_easy_setopt(handle, CURLOPT_URL, m_url.c_str());
    m_errorBuffer[0] = '\0';
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, m_errorBuffer.data());
    // Replies and file facts would otherwise go to standard output.
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Discard);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, Discard);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "ftp,ftps");
    curl_easy_setopt(handle, CURLOPT_USERNAME, m_user.c_str());
    curl_easy_setopt(handle, CURLOPT_PASSWORD, m_password.c_str());
    curl_easy_setopt(handle, CURLOPT_USERAGENT, m_agent.c_str());
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_SERVER_RESPONSE_TIMEOUT, kResponseTimeoutSeconds);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    if (!m_passive)
        curl_easy_setopt(handle, CURLOPT_FTPPORT, "-");
}

bool FtpConnection::Perform() {
    const CURLcode code = curl_easy_perform(Handle(m_handle));
    if (code == CURLE_OK)
        return true;
    m_lastError = m_errorBuffer[0] != '\0' ? m_errorBuffer.data() : curl_easy_strerror(code);
    MaskText(m_lastError, m_password);
    MaskText(m_lastError, m_user);
    return false;
}

TransferEnd FtpConnection::Transfer(void* context) {
    auto& transfer = *static_cast<TransferContext*>(context);
    CURL* handle = Handle(m_handle);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, PollAbort);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
    if (Perform())
        return TransferEnd::Complete;
    return transfer.aborted ? TransferEnd::Aborted : TransferEnd::Failed;
}

std::optional<std::vector<std::string>> FtpConnection::ListNames() {
    std::string listing;
    Prepare("");
    curl_easy_setopt(Handle(m_handle), CURLOPT_DIRLISTONLY, 1L);
    curl_easy_setopt(Handle(m_handle), CURLOPT_WRITEFUNCTION, AppendText);
    curl_easy_setopt(Handle(m_handle), CURLOPT_WRITEDATA, &listing);
    if (!Perform())
        return std::nullopt;
    return SplitListing(listing);
}

FtpConnection::FileFacts FtpConnection::Facts(const std::string& name) {
    FileFacts facts;
    if (name.empty())
        return facts;
    Prepare(name);
    CURL* handle = Handle(m_handle);
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(handle, CURLOPT_FILETIME, 1L);
    if (!Perform())
        return facts;
    curl_off_t time = -1;
    curl_off_t size = -1;
    curl_easy_getinfo(handle, CURLINFO_FILETIME_T, &time);
    curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size);
    facts.time = std::max<curl_off_t>(time, 0);
    facts.size = std::max<curl_off_t>(size, 0);
    return facts;
}

TransferEnd FtpConnection::Retrieve(const std::string& name, const DataSink& sink,
                                    const AbortPoll& abort) {
    TransferContext context;
    context.sink = &sink;
    context.abort = &abort;
    Prepare(name);
    CURL* handle = Handle(m_handle);
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, DeliverData);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &context);
    return Transfer(&context);
}

TransferEnd FtpConnection::Store(const std::string& name, const DataSource& source,
                                 const AbortPoll& abort) {
    TransferContext context;
    context.source = &source;
    context.abort = &abort;
    Prepare(name);
    CURL* handle = Handle(m_handle);
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_READFUNCTION, FetchData);
    curl_easy_setopt(handle, CURLOPT_READDATA, &context);
    return Transfer(&context);
}

bool FtpConnection::Remove(const std::string& name) {
    if (name.empty() || !SafeName(name))
        return false;
    const std::string command = "DELE " + name;
    curl_slist* commands = curl_slist_append(nullptr, command.c_str());
    if (commands == nullptr)
        return false;
    Prepare("");
    curl_easy_setopt(Handle(m_handle), CURLOPT_NOBODY, 1L);
    curl_easy_setopt(Handle(m_handle), CURLOPT_QUOTE, commands);
    const bool removed = Perform();
    curl_easy_setopt(Handle(m_handle), CURLOPT_QUOTE, nullptr);
    curl_slist_free_all(commands);
    return removed;
}

std::unique_ptr<FtpConnection> ConnectFtp(const FtpSession& session, ftpUpdateStruct& request) {
    const std::optional<FtpAddress> address = ParseFtpAddress(request.url);
    if (!address) {
        request.failureDetail = "the server address is no ftp:// or ftps:// address";
        return nullptr;
    }
    // The network library sends both as they are; a line break would let the rest of the text
    // through as a server command of its own.
    for (const std::string* credential : {&request.userName, &request.password})
        if (credential->find_first_of("\r\n") != std::string::npos) {
            request.failureDetail = "the user name or password holds a line break (CR or LF)";
            return nullptr;
        }
    return FtpConnection::Open(session, *address, request.userName, request.password,
                               request.passiveMode, request.failureDetail);
}

uint32_t FindRemoteFile(FtpConnection& connection, const std::string& name, int64_t& time,
                        std::string& listedName, std::string& failure) {
    if (name.empty())
        return 0;
    const std::optional<std::vector<std::string>> names = connection.ListNames();
    if (!names) {
        failure = "the login directory cannot be listed: " + connection.LastError();
        return 0;
    }
    const auto match = std::find_if(names->begin(), names->end(), [&](const std::string& n) {
        return EqualIgnoringCase(n, name);
    });
    if (match == names->end()) {
        failure = "the server has no file '" + name + "' in the login directory";
        return 0;
    }
    const FtpConnection::FileFacts facts = connection.Facts(*match);
    time = facts.time;
    listedName = *match;
    if (facts.size == 0)
        failure = "the server's file '" + *match + "' is empty or its size is unknown";
    return static_cast<uint32_t>(facts.size);
}

} // namespace pinsum
