// The service engine: a session of its own per call, the default header
// block, numbered failure messages and charset decoding.
#include "net/HttpClient.h"

#include "net/CurlExchange.h"
#include "net/HeaderUtils.h"
#include "net/HttpAsciiCase.h"
#include "net/HttpCharset.h"
#include "net/HttpRequestParts.h"
#include "net/HttpTransfer.h"
#include "text/TextUtils.h"

namespace {

constexpr const char* kUrlFailure = "701 解析URL地址失败!";
constexpr const char* kSessionFailure = "702 创建WinHttp会话失败!";
constexpr const char* kTimeoutFailure = "705 设置超时时间失败!";
constexpr const char* kCredentialFailure = "707 设置代理凭证失败!";
constexpr const char* kRedirectFailure = "709 重定向设置失败!";
constexpr const char* kHeaderFailure = "710 设置协议头失败!";
constexpr const char* kSendFailure = "711 发送请求失败!";
constexpr const char* kNoResponseFailure = "712 服务器未响应!";
constexpr const char* kBodyTooLargeFailure = "714 应答数据过大!";
constexpr const char* kStoppedFailure = "715 请求已停止!";
constexpr long kDefaultTimeoutSeconds = 30;

const char* setupFailureMessage(CurlSetupStep step) {
    switch (step) {
        case CurlSetupStep::Session: return kSessionFailure;
        case CurlSetupStep::Timeouts: return kTimeoutFailure;
        case CurlSetupStep::Credentials: return kCredentialFailure;
        case CurlSetupStep::Redirects: return kRedirectFailure;
        case CurlSetupStep::Headers: return kHeaderFailure;
    }
    return kSessionFailure;
}

struct DefaultHeader {
    const char* search;  // present when found anywhere in the block, ignoring case
    const char* line;
    bool postOnly;
};

// Note the trailing spaces: "User-Agent:value" is not found.
constexpr DefaultHeader kDefaultHeaders[] = {
    {"User-Agent: ", "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)", false},
    {"Accept: ", "Accept: text/html, application/xhtml+xml, */*", false},
    {"Accept-Encoding: ", "Accept-Encoding: identity", false},
    {"Accept-Language: ", "Accept-Language: zh-cn", false},
    {"Content-Type:", "Content-Type: application/x-www-form-urlencoded", true},
    {"Cache-Control: ", "Cache-Control: no-cache", false},
};

void removeAll(std::string& text, std::string_view part) {
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at)) text.erase(at, part.size());
}

std::string headerBlock(const HttpRequest& request, bool post) {
    std::string block = request.extraHeaders;
    if (!block.empty()) block += "\r\n";
    if (request.addDefaultHeaders) {
        for (const DefaultHeader& header : kDefaultHeaders)
            if ((post || !header.postOnly) && !containsIgnoringCase(block, header.search))
                block.append(header.line).append("\r\n");
    }
    if (request.normalizeHeaders) block = normalizeHeaderNames(block);
    // Only a keep-alive line followed by a line break goes.
    if (block.find("Connection") != std::string::npos && headerValue(block, "Connection") == "keep-alive")
        removeAll(block, "Connection: keep-alive\r\n");
    // A Set-Cookie line counts as a cookie line too.
    if (!containsIgnoringCase(block, "Cookie:") && !request.cookies.empty()) {
        block += "\r\n";
        if (!containsIgnoringCase(request.cookies, "Cookie:")) block += "Cookie: ";
        block.append(request.cookies).append("\r\n");
    }
    return block;
}

TransferSettings transferSettings(const HttpRequest& request, const ServiceOptions& options) {
    TransferSettings settings;
    settings.headerLines = headerBlockLines(headerBlock(request, methodName(request.method) == "POST"));
    if (!options.user.empty() && !options.password.empty())
        settings.serverCredentials = gbkCredentials(options.user, options.password);
    if (!request.proxyUser.empty() && !request.proxyPassword.empty())
        settings.proxyCredentials = gbkCredentials(request.proxyUser, request.proxyPassword);
    long timeout = request.timeoutSeconds < 1 ? kDefaultTimeoutSeconds : request.timeoutSeconds;
    settings.connectTimeoutSeconds = timeout;
    settings.idleTimeoutSeconds = timeout;
    settings.totalTimeoutSeconds = totalBoundOf(request, HttpClient::kServiceTotalSeconds);
    settings.bodyLimit = HttpClient::kServiceBodyLimit;
    return settings;
}

// The value of the last "Location: " line (name ignoring case).
std::string locationOf(std::string_view headers) {
    std::string location;
    for (const std::string& line : splitText(headers, "\r\n"))
        if (line.size() >= 10 && containsIgnoringCase(line.substr(0, 10), "Location: ")) location = line.substr(10);
    return location;
}

// The status line from its tenth character: "200 OK".
std::string statusOf(std::string_view headers) {
    if (headers.size() < 9) return "";
    std::string_view rest = headers.substr(9);
    return std::string(rest.substr(0, rest.find_first_of("\r\n")));
}

// The body up to its first zero byte; an HTML page declaring another charset
// than UTF-8 is decoded to UTF-8, one in an unknown charset left as it is.
std::string bodyTextOf(const std::string& bodyBytes) {
    std::string text = bodyBytes.substr(0, bodyBytes.find('\0'));
    std::string charset = declaredCharset(text);
    if (charset.empty() || isUtf8Charset(charset)) return text;
    std::optional<std::string> decoded = decodeCharset(bodyBytes, charset);
    return decoded ? decoded->substr(0, decoded->find('\0')) : text;
}

}  // namespace

namespace HttpClient {

HttpResponse fetchService(const HttpRequest& request, const ServiceOptions& options) {
    using Outcome = CurlExchangeResult::Outcome;
    HttpResponse response;
    CurlExchangeResult result = runTransfer(request, transferSettings(request, options));
    switch (result.outcome) {
        case Outcome::SetupFailed: response.status = setupFailureMessage(result.failedStep); return response;
        case Outcome::UrlRejected: response.status = kUrlFailure; return response;
        case Outcome::NotSent: response.status = kSendFailure; return response;
        case Outcome::NoResponse: response.status = kNoResponseFailure; return response;
        case Outcome::BodyTooLarge: response.status = kBodyTooLargeFailure; return response;
        case Outcome::Stopped: response.status = kStoppedFailure; return response;
        case Outcome::Complete:
        case Outcome::BodyBroken: break;  // a broken body is kept; the status line stands
    }
    response.headers = std::move(result.headers);
    response.status = statusOf(response.headers);
    response.cookies =
        responseCookies(response.headers, request.cookies, request.mergeReceivedCookies && !request.cookies.empty());
    response.location = locationOf(response.headers);
    response.bodyBytes = std::move(result.body);
    response.bodyText = bodyTextOf(response.bodyBytes);
    return response;
}

}  // namespace HttpClient
