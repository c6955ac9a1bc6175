#include "server/relay/UpstreamCall.h"

#include <algorithm>
#include <cctype>

#include "net/HttpAsciiCase.h"
#include "net/HttpClient.h"

CurlExchangeSpec upstreamExchange(const UpstreamRequest& request, int phaseSeconds) {
    CurlExchangeSpec spec;
    spec.url = request.url;
    spec.method = request.method;
    if (!request.body.empty()) {
        spec.body = request.body;
        spec.sendBody = true;
        if (!request.contentType.empty()) spec.headerLines.push_back("Content-Type: " + request.contentType);
    }
    if (!request.cookie.empty()) spec.headerLines.push_back("Cookie: " + request.cookie);
    spec.connectTimeoutSeconds = phaseSeconds;
    spec.idleTimeoutSeconds = phaseSeconds;
    spec.totalTimeoutSeconds = phaseSeconds + (phaseSeconds + 1) / 2;
    spec.followRedirects = false;
    spec.bodyLimit = HttpClient::kServiceBodyLimit;
    return spec;
}

UpstreamAnswer::Outcome failureOf(CurlExchangeResult::Outcome outcome) {
    switch (outcome) {
        case CurlExchangeResult::Outcome::NoResponse:
        case CurlExchangeResult::Outcome::BodyBroken: return UpstreamAnswer::Outcome::Silent;
        case CurlExchangeResult::Outcome::BodyTooLarge: return UpstreamAnswer::Outcome::TooLarge;
        default: return UpstreamAnswer::Outcome::Unreachable;
    }
}

int statusOf(std::string_view head) {
    const std::size_t space = head.find(' ');
    int status = 0;
    for (std::size_t i = space == std::string_view::npos ? head.size() : space + 1;
         i < head.size() && std::isdigit(static_cast<unsigned char>(head[i])); ++i)
        status = status * 10 + (head[i] - '0');
    return status;
}

std::string contentTypeOf(std::string_view head) {
    constexpr std::string_view kName = "content-type:";
    for (std::size_t start = head.find('\n'); start != std::string_view::npos && start + 1 < head.size();) {
        const std::size_t end = std::min(head.find('\n', start + 1), head.size());
        std::string_view line = head.substr(start + 1, end - start - 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.size() > kName.size() && equalsIgnoringCase(line.substr(0, kName.size()), kName)) {
            line.remove_prefix(kName.size());
            while (line.starts_with(' ') || line.starts_with('\t')) line.remove_prefix(1);
            return std::string(line);
        }
        start = end;
    }
    return {};
}

UpstreamAnswer callUpstream(const UpstreamRequest& request, int phaseSeconds) {
    CurlSession session;
    const CurlExchangeResult result = runCurlExchange(session, upstreamExchange(request, phaseSeconds));
    UpstreamAnswer answer;
    if (result.outcome != CurlExchangeResult::Outcome::Complete) {
        answer.outcome = failureOf(result.outcome);
        return answer;
    }
    answer.outcome = UpstreamAnswer::Outcome::Answered;
    answer.status = result.statusCode;
    answer.contentType = contentTypeOf(result.headers);
    answer.body = result.body;
    return answer;
}
