// The picture engine: its own default headers, headers set by name (a later
// header of the same name replaces an earlier one), 15-second time-outs,
// bytes out and no failure messages. Connections are reused between calls.
#include "net/HttpPictureEngine.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "net/HeaderUtils.h"
#include "net/HttpAsciiCase.h"
#include "net/HttpRequestParts.h"
#include "net/HttpTransfer.h"
#include "text/TextUtils.h"

namespace {

constexpr long kDefaultTimeoutSeconds = 15;
// The limits of PictureOptions::platformTimeouts.
constexpr long kPlatformConnectTimeoutSeconds = 60;
constexpr long kPlatformIdleTimeoutSeconds = 30;

// Request headers set one by one by name: setting a name again (ignoring
// case) replaces its value in place, setting it to the empty value removes it.
class NamedHeaders {
public:
    void set(std::string name, std::string value) {
        if (name.empty()) return;
        auto existing = std::find_if(headers_.begin(), headers_.end(),
                                     [&](const auto& header) { return equalsIgnoringCase(header.first, name); });
        if (value.empty()) {
            if (existing != headers_.end()) headers_.erase(existing);
        } else if (existing != headers_.end()) {
            existing->second = std::move(value);
        } else {
            headers_.emplace_back(std::move(name), std::move(value));
        }
    }
    std::vector<std::string> lines() const {
        std::vector<std::string> lines;
        for (const auto& [name, value] : headers_) lines.push_back(name + ": " + value);
        return lines;
    }

private:
    std::vector<std::pair<std::string, std::string>> headers_;
};

std::string headerBlock(const HttpRequest& request, bool post) {
    struct DefaultHeader {
        const char* search;
        std::string line;
    };
    std::vector<DefaultHeader> defaults{
        {"Accept:", "Accept: */*"},
        {"Referer:", "Referer: " + request.url},
        {"Accept-Language:", "Accept-Language: zh-cn"},
        {"User-Agent:", "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"}};
    if (post) defaults.push_back({"Content-Type:", "Content-Type: application/x-www-form-urlencoded"});
    std::string block = request.extraHeaders;
    if (request.addDefaultHeaders) {
        for (const DefaultHeader& header : defaults)
            if (!containsIgnoringCase(block, header.search)) block.append("\r\n").append(header.line);
    }
    return request.normalizeHeaders ? normalizeHeaderNames(block) : block;
}

// The supplied cookie text without any "Cookie:" (ignoring case) in it.
std::string cookieHeaderValue(const std::string& cookies) {
    std::string value = cookies;
    for (size_t at = 0; at + 7 <= value.size();) {
        if (equalsIgnoringCase(std::string_view(value).substr(at, 7), "Cookie:"))
            value.erase(at, 7);
        else
            ++at;
    }
    return trimText(value);
}

std::vector<std::string> requestHeaderLines(const HttpRequest& request, bool cookiesGiven, std::string_view block) {
    NamedHeaders headers;
    if (cookiesGiven) headers.set("Cookie", cookieHeaderValue(request.cookies));
    for (const std::string& line : headerBlockLines(block)) {
        std::string name = headerLineName(line);
        std::string value = headerLineValue(line);
        if (name == "Connection" && value == "keep-alive") continue;
        headers.set(std::move(name), std::move(value));
    }
    return headers.lines();
}

TransferSettings transferSettings(const HttpRequest& request, const PictureOptions& options, CurlSessionPool* pool) {
    TransferSettings settings;
    const bool post = methodName(request.method) == "POST";
    settings.headerLines =
        requestHeaderLines(request, cookiesSupplied(request, options.cookiesSupplied), headerBlock(request, post));
    if (!request.proxy.empty() && !request.proxyUser.empty()) {
        CurlCredentials credentials = gbkCredentials(request.proxyUser, request.proxyPassword);
        (options.credentialsForProxy ? settings.proxyCredentials : settings.serverCredentials) = credentials;
    }
    if (options.platformTimeouts) {
        settings.connectTimeoutSeconds = kPlatformConnectTimeoutSeconds;
        settings.idleTimeoutSeconds = kPlatformIdleTimeoutSeconds;
    } else {
        long timeout = request.timeoutSeconds < 1 ? kDefaultTimeoutSeconds : request.timeoutSeconds;
        settings.connectTimeoutSeconds = timeout;
        settings.idleTimeoutSeconds = timeout;
    }
    settings.totalTimeoutSeconds = totalBoundOf(request, HttpClient::kPictureTotalSeconds);
    settings.bodyLimit = HttpClient::kPictureBodyLimit;
    settings.pool = pool;
    return settings;
}

}  // namespace

HttpResponse fetchPictureWith(CurlSessionPool* pool, const HttpRequest& request, const PictureOptions& options) {
    HttpResponse response;
    CurlExchangeResult result = runTransfer(request, transferSettings(request, options, pool));
    if (result.outcome == CurlExchangeResult::Outcome::Complete) {
        response.bodyBytes = std::move(result.body);
        response.headers = std::move(result.headers);
        response.statusCode = result.statusCode;
    }
    // Like every other step, collecting cookies goes on after a failure.
    response.cookies =
        responseCookies(response.headers, request.cookies,
                        request.mergeReceivedCookies && cookiesSupplied(request, options.cookiesSupplied));
    return response;
}

namespace HttpClient {

HttpResponse fetchPicture(const HttpRequest& request, const PictureOptions& options) {
    // Shared by every thread fetching pictures (the pool locks inside).
    // Never destroyed: picture requests may still run on other threads while
    // the program exits.
    static CurlSessionPool& pool = *new CurlSessionPool(8);
    return fetchPictureWith(&pool, request, options);
}

}  // namespace HttpClient
