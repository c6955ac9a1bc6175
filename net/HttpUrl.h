#pragma once
// Splitting an http(s) URL into what one exchange needs: scheme, host, port
// and the request target sent on the request line.
#include <optional>
#include <string>
#include <string_view>

struct HttpUrl {
    bool secure = false;
    std::string host;    // lowercased; an IPv6 address without brackets
    int port = 0;        // the URL's port, or the scheme's default
    std::string target;  // path and query, illegal characters percent-encoded

    // The URL handed to libcurl: no user information, no fragment, an
    // explicit port and the escaped target.
    std::string curlUrl() const;
};

// Splits `url`. The scheme must be http or https (any case); when
// `schemeOptional` a URL without "://" is taken as http. A URL without a path
// is requested as "/" and any query it has is then not sent. User information
// and the fragment are dropped. Empty when the URL cannot be split: another
// scheme, no host, a host with characters no host can hold, a bad port.
std::optional<HttpUrl> splitHttpUrl(std::string_view url, bool schemeOptional = false);

// Percent-encodes the bytes that may not appear in a request target
// (controls, space, non-ASCII, " < > \ ^ ` { | }) and a "%" that starts no
// escape; reserved characters and existing escapes are kept.
std::string escapeRequestTarget(std::string_view target);
