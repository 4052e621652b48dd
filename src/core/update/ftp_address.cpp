#include "update/ftp_address.h"

#include <curl/curl.h>

#include <memory>

namespace pinsum {
namespace {

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;

UrlHandle ParseUrl(const std::string& text) {
    UrlHandle url(curl_url());
    if (url == nullptr || curl_url_set(url.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK)
        return nullptr;
    return url;
}

std::string Part(CURLU* url, CURLUPart part) {
    char* value = nullptr;
    if (curl_url_get(url, part, &value, 0) != CURLUE_OK)
        return {};
    std::string text = value;
    curl_free(value);
    return text;
}

} // namespace

std::optional<FtpAddress> ParseFtpAddress(const std::string& text) {
    UrlHandle url = ParseUrl(text);
    // Only a text without a scheme gets one; "ftp://" before "sftp://host" would make "sftp" the
    // server name.
    if (url == nullptr && text.find("://") == std::string::npos)
        url = ParseUrl("ftp://" + text);
    if (url == nullptr)
        return std::nullopt;
    // The parser gives the scheme in lower case.
    const std::string scheme = Part(url.get(), CURLUPART_SCHEME);
    const std::string host = Part(url.get(), CURLUPART_HOST);
    if ((scheme != "ftp" && scheme != "ftps") || host.empty())
        return std::nullopt;
    const std::string port = Part(url.get(), CURLUPART_PORT);
    return FtpAddress{scheme + "://" + host + (port.empty() ? "" : ":" + port) + "/"};
}

} // namespace pinsum
