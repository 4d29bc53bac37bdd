#include "network/HttpText.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace {

const char *const UserAgent =
    "Mozilla/5.0 (Windows NT 6.3; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/42.0.2311.135 Safari/537.36";

struct TSink {
    std::string Body;
    std::size_t MaxBytes;
};

size_t Collect(char *data, size_t size, size_t count, void *user)
{
    auto *sink = static_cast<TSink *>(user);
    const size_t n = size * count;
    if (sink->Body.size() + n > sink->MaxBytes)
        return 0; // makes curl fail the transfer: the page is too large
    sink->Body.append(data, n);
    return n;
}

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::string FirstToken(const std::string &text)
{
    const auto begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return {};
    const auto end = text.find_first_of(" \t\r\n", begin);
    return text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

} // namespace

std::string FetchText(const std::string &address, const TFetchLimits &limits)
{
    const std::string url = FirstToken(address);
    if (url.empty())
        return {};
    InitCurlOnce();
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl)
        return {};
    TSink sink{{}, limits.MaxBytes};
    CURL *c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, limits.ConnectTimeoutMs);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, limits.TotalTimeoutMs);
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.MaxBytes));
    curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, UserAgent);
    curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, ""); // every encoding curl can inflate
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    if (curl_easy_perform(c) != CURLE_OK)
        return {};
    return std::move(sink.Body);
}
