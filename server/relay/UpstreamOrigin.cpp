#include "server/relay/UpstreamOrigin.h"

#include <algorithm>
#include <cctype>

namespace {

bool plainPathCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '/' || c == '_' || c == '.' || c == '-';
}

bool hasDotSegment(std::string_view path) {
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view segment = path.substr(start, end - start);
        if (segment == "." || segment == "..") return true;
        start = end + 1;
    }
    return false;
}

}  // namespace

std::optional<UpstreamOrigin> UpstreamOrigin::parse(std::string_view url) {
    const std::size_t schemeEnd = url.find("://");
    if (schemeEnd == std::string_view::npos) return std::nullopt;
    // Only an authority may follow the scheme, with one "/" at most.
    std::string_view authority = url.substr(schemeEnd + 3);
    if (authority.ends_with('/')) authority.remove_suffix(1);
    if (authority.empty() || authority.find_first_of("/?#@\\") != std::string_view::npos) return std::nullopt;
    std::optional<HttpUrl> split = splitHttpUrl(url);
    if (!split) return std::nullopt;
    split->target = "/";
    const bool ipv6 = split->host.find(':') != std::string::npos;
    std::string text = std::string(split->secure ? "https://" : "http://") +
                       (ipv6 ? "[" + split->host + "]" : split->host) + ":" + std::to_string(split->port);
    return UpstreamOrigin(std::move(*split), std::move(text));
}

std::optional<HttpUrl> UpstreamOrigin::forwardUrl(std::string_view requestTarget) const {
    const std::string_view path = requestTarget.substr(0, requestTarget.find('?'));
    if (!path.starts_with('/') || path.starts_with("//")) return std::nullopt;
    if (!std::all_of(path.begin(), path.end(), plainPathCharacter) || hasDotSegment(path)) return std::nullopt;
    return urlOf(requestTarget);
}

HttpUrl UpstreamOrigin::urlOf(std::string_view pathAndQuery) const {
    HttpUrl url = base_;
    url.target = escapeRequestTarget(pathAndQuery);
    return url;
}
