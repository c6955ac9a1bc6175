// The lyric engine: the agent string stands for the User-Agent header, its
// default headers follow normalisation, no time-out of its own, bytes out and
// no failure messages; a broken-off body keeps what arrived.
#include <string_view>

#include "net/CurlExchange.h"
#include "net/HeaderUtils.h"
#include "net/HttpAsciiCase.h"
#include "net/HttpClient.h"
#include "net/HttpRequestParts.h"
#include "net/HttpUrl.h"
#include "text/TextUtils.h"

namespace {

constexpr const char* kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
// The platform's own limits, as no time-out is set.
constexpr long kPlatformConnectTimeoutSeconds = 60;
constexpr long kPlatformIdleTimeoutSeconds = 30;

// The value of the block's User-Agent line, or the default agent without one.
// Cut at a line break: the agent goes on the wire as one header line.
std::string agentString(const std::string& block) {
    if (!containsIgnoringCase(block, "User-Agent:")) return kDefaultAgent;
    std::string agent = trimText(textBetween(block + "\r\n", "User-Agent:", "\r\n"));
    if (agent.empty()) agent = headerLineValue(block);
    return agent.substr(0, agent.find_first_of("\r\n"));
}

std::string withDefaultHeaders(std::string block, const HttpRequest& request, bool post) {
    if (block.empty()) block = "Accept: */*";
    auto add = [&](std::string_view search, std::string_view line) {
        if (!containsIgnoringCase(block, search)) block.append("\r\n").append(line);
    };
    add("Accept:", "Accept: */*");
    add("Referer:", "Referer: " + request.url);
    add("Accept-Language:", "Accept-Language: zh-cn");
    if (post) add("Content-Type:", "Content-Type: application/x-www-form-urlencoded");
    return block;
}

bool isUserAgentLine(const std::string& line) { return equalsIgnoringCase(headerLineName(line), "User-Agent"); }

}  // namespace

namespace HttpClient {

HttpResponse executeWithWinInet(const HttpRequest& request) {
    HttpResponse response;
    std::optional<HttpUrl> url = splitHttpUrl(request.url, true);
    if (!url) return response;

    CurlExchangeSpec spec;
    spec.url = *url;
    spec.method = methodName(request.method);
    spec.body = spec.method == "GET" ? std::string() : requestBody(request);
    spec.sendBody = spec.method != "GET" && sendsBody(spec.method, spec.body);

    std::string block = request.normalizeHeaders ? normalizeHeaderNames(request.extraHeaders) : request.extraHeaders;
    spec.userAgent = agentString(block);
    if (request.addDefaultHeaders) block = withDefaultHeaders(block, request, spec.method == "POST");
    if (!request.cookies.empty()) {
        block += "\r\n";
        if (request.cookies.find("Cookie:") == std::string::npos) block += "Cookie: ";
        block += request.cookies;
    }
    spec.headerLines = headerBlockLines(block);
    std::erase_if(spec.headerLines, isUserAgentLine);

    spec.proxy = request.proxy;
    spec.socksProxy = request.socksProxy;
    spec.connectTimeoutSeconds = kPlatformConnectTimeoutSeconds;
    spec.idleTimeoutSeconds = kPlatformIdleTimeoutSeconds;
    spec.followRedirects = !request.noRedirect;

    CURL* handle = curl_easy_init();
    if (!handle) return response;
    CurlExchangeResult result = runCurlExchange(handle, spec);
    curl_easy_cleanup(handle);
    using Outcome = CurlExchangeResult::Outcome;
    if (result.outcome == Outcome::Complete || result.outcome == Outcome::BodyBroken) {
        response.bodyBytes = std::move(result.body);
        response.headers = std::move(result.headers);
    }
    response.cookies = responseCookies(response.headers, request.cookies,
                                       request.mergeReceivedCookies && cookiesSupplied(request));
    return response;
}

}  // namespace HttpClient
