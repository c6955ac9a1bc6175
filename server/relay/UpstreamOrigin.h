#pragma once
// The one API server a relay forwards to, and the check that keeps every
// forwarded request on it: the relay builds each upstream URL from this
// origin and a request target it has accepted, never from anything else the
// client sent (its Host header, an absolute URL on the request line).
#include <optional>
#include <string>
#include <string_view>

#include "net/HttpUrl.h"

class UpstreamOrigin {
public:
    // "http://host:port" or "https://host[:port]", a trailing "/" allowed;
    // nothing for another scheme, a path, a query, user information or a
    // URL that cannot be split.
    static std::optional<UpstreamOrigin> parse(std::string_view url);

    // The upstream URL for a client's request target, or nothing when the
    // target could reach anything but this origin's own paths: an absolute
    // URL or "//authority" form, a path with characters other than letters,
    // digits and "/_.-" (so no escaped "/", "." or ":"), or a "." or ".."
    // segment. The query is passed on as it came, escaped where a request
    // target may not hold a byte.
    std::optional<HttpUrl> forwardUrl(std::string_view requestTarget) const;

    // The URL of a path and query the relay itself composes.
    HttpUrl urlOf(std::string_view pathAndQuery) const;

    const std::string& text() const { return text_; }  // "http://host:port"

private:
    explicit UpstreamOrigin(HttpUrl base, std::string text) : base_(std::move(base)), text_(std::move(text)) {}
    HttpUrl base_;
    std::string text_;
};
