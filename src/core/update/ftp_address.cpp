#include "update/ftp_address.h"

#include <curl/curl.h>

#include <memory>
#include <string>
#include <utility>

#include "host/message_language.h"
#include "host/program_texts.h"

namespace pinsum {
namespace {

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;

UrlHandle ParseUrl(const std::string& text, CURLUcode& code) {
    UrlHandle url(curl_url());
    code = url == nullptr ? CURLUE_OUT_OF_MEMORY
                          : curl_url_set(url.get(), CURLUPART_URL, text.c_str(), 0);
    if (code != CURLUE_OK)
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

std::optional<FtpAddress> ParseFtpAddress(const std::string& text, std::string* problem) {
    const auto refuse = [problem](std::string why) {
        if (problem != nullptr)
            *problem = std::move(why);
        return std::nullopt;
    };
    if (text.empty())
        return refuse(Translate("is empty"));
    CURLUcode code = CURLUE_OK;
    UrlHandle url = ParseUrl(text, code);
    // Only a text without a scheme gets one; "ftp://" before "sftp://host" would make "sftp" the
    // server name.
    if (url == nullptr && text.find("://") == std::string::npos)
        url = ParseUrl("ftp://" + text, code);
    if (url == nullptr)
        return refuse(FormatText(Translate("is no valid address (%s)"), {curl_url_strerror(code)}));
    // The parser gives the scheme in lower case.
    const std::string scheme = Part(url.get(), CURLUPART_SCHEME);
    const std::string host = Part(url.get(), CURLUPART_HOST);
    if (scheme != "ftp" && scheme != "ftps")
        return refuse(FormatText(Translate("starts with %s://, not ftp:// or ftps://"), {scheme}));
    if (host.empty())
        return refuse(Translate("names no server"));
    const std::string port = Part(url.get(), CURLUPART_PORT);
    return FtpAddress{scheme + "://" + host + (port.empty() ? "" : ":" + port) + "/"};
}

} // namespace pinsum
