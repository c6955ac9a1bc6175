#include "server/relay/RelayContext.h"

#include "text/TextUtils.h"

std::optional<Json> RelayContext::fetchJson(const std::string& pathAndQuery, bool withAccountCookie) const {
    std::string target = pathAndQuery;
    if (withAccountCookie) {
        const std::string cookie = account.current();
        if (!cookie.empty()) {
            target += (target.find('?') == std::string::npos ? "?" : "&");
            target += "cookie=" + urlEncode(cookie, true, true);
        }
    }
    UpstreamRequest request;
    request.url = upstream.urlOf(target);
    const UpstreamAnswer answer = callUpstream(request, phaseSeconds);
    if (answer.outcome != UpstreamAnswer::Outcome::Answered) return std::nullopt;
    Json json = Json::parse(answer.body, nullptr, false);
    if (json.is_discarded() || !json.is_object()) return std::nullopt;
    return json;
}
