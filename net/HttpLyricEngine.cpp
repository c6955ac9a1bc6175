// The lyric engine: the agent string stands for the User-Agent header, its
// default headers follow normalisation, no time-out of its own, bytes out and
// no failure messages; a broken-off body keeps what arrived.
#include <string_view>

#include "net/HeaderUtils.h"
#include "net/HttpAsciiCase.h"
#include "net/HttpClient.h"
#include "net/HttpRequestParts.h"
#include "net/HttpTransfer.h"
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

TransferSettings transferSettings(const HttpRequest& request, const LyricOptions& options) {
    TransferSettings settings;
    settings.schemeOptional = true;
    settings.bodyOnGet = false;
    std::string block = request.normalizeHeaders ? normalizeHeaderNames(request.extraHeaders) : request.extraHeaders;
    settings.userAgent = agentString(block);
    if (request.addDefaultHeaders) block = withDefaultHeaders(block, request, methodName(request.method) == "POST");
    if (!request.cookies.empty()) {
        block += "\r\n";
        if (request.cookies.find("Cookie:") == std::string::npos) block += "Cookie: ";
        block += request.cookies;
    }
    settings.headerLines = headerBlockLines(block);
    std::erase_if(settings.headerLines, isUserAgentLine);
    settings.socksProxy = options.socksProxy;
    settings.connectTimeoutSeconds = kPlatformConnectTimeoutSeconds;
    settings.idleTimeoutSeconds = kPlatformIdleTimeoutSeconds;
    settings.totalTimeoutSeconds = totalBoundOf(request, HttpClient::kServiceTotalSeconds);
    settings.bodyLimit = HttpClient::kLyricBodyLimit;
    return settings;
}

}  // namespace

namespace HttpClient {

HttpResponse fetchLyric(const HttpRequest& request, const LyricOptions& options) {
    using Outcome = CurlExchangeResult::Outcome;
    HttpResponse response;
    CurlExchangeResult result = runTransfer(request, transferSettings(request, options));
    // Without a usable URL or session there is no exchange to collect cookies from.
    if (result.outcome == Outcome::UrlRejected || result.outcome == Outcome::SetupFailed) return response;
    if (result.outcome == Outcome::Complete || result.outcome == Outcome::BodyBroken) {
        response.bodyBytes = std::move(result.body);
        response.headers = std::move(result.headers);
    }
    response.cookies =
        responseCookies(response.headers, request.cookies,
                        request.mergeReceivedCookies && cookiesSupplied(request, options.cookiesSupplied));
    return response;
}

}  // namespace HttpClient
