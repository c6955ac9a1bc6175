#include "net/HttpUrl.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "net/HttpAsciiCase.h"

namespace {

bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// Bytes RFC 3986 allows nowhere in a URL.
bool isIllegalInUrl(unsigned char c) {
    return c <= 0x20 || c >= 0x7F ||
           std::string_view("\"<>\\^`{|}").find(static_cast<char>(c)) != std::string_view::npos;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::optional<int> parsePort(std::string_view text, int defaultPort) {
    if (text.empty()) return defaultPort;
    int port = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port < 1 || port > 65535) return std::nullopt;
    return port;
}

}  // namespace

std::string escapeRequestTarget(std::string_view target) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(target.size());
    for (size_t i = 0; i < target.size(); ++i) {
        auto c = static_cast<unsigned char>(target[i]);
        bool escapeAlready = c == '%' && i + 2 < target.size() && isHex(target[i + 1]) && isHex(target[i + 2]);
        if (isIllegalInUrl(c) || (c == '%' && !escapeAlready)) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::optional<HttpUrl> splitHttpUrl(std::string_view url, bool schemeOptional) {
    HttpUrl result;
    size_t schemeEnd = url.find("://");
    if (schemeEnd != std::string_view::npos && startsWithIgnoringCase(url, "https://")) {
        result.secure = true;
    } else if (schemeEnd == std::string_view::npos ? !schemeOptional : !startsWithIgnoringCase(url, "http://")) {
        return std::nullopt;
    }
    std::string_view rest = schemeEnd == std::string_view::npos ? url : url.substr(schemeEnd + 3);

    size_t authorityEnd = std::min(rest.find_first_of("/?#"), rest.size());
    std::string_view authority = rest.substr(0, authorityEnd);
    std::string_view pathAndMore = rest.substr(authorityEnd);
    if (size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);

    std::string_view host, port;
    if (authority.starts_with('[')) {
        size_t close = authority.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        host = authority.substr(1, close - 1);
        std::string_view after = authority.substr(close + 1);
        if (!after.empty() && !after.starts_with(':')) return std::nullopt;
        port = after.empty() ? after : after.substr(1);
    } else {
        size_t colon = authority.rfind(':');
        host = authority.substr(0, colon);
        port = colon == std::string_view::npos ? std::string_view() : authority.substr(colon + 1);
    }
    if (host.empty() ||
        std::any_of(host.begin(), host.end(), [](unsigned char c) { return c < 0x80 && isIllegalInUrl(c); }))
        return std::nullopt;
    std::optional<int> portNumber = parsePort(port, result.secure ? 443 : 80);
    if (!portNumber) return std::nullopt;

    result.host = lowercaseAscii(host);
    result.port = *portNumber;
    std::string_view target = pathAndMore.starts_with('/') ? pathAndMore.substr(0, pathAndMore.find('#')) : "/";
    result.target = escapeRequestTarget(target);
    return result;
}

std::string HttpUrl::curlUrl() const {
    bool ipv6 = host.find(':') != std::string::npos;
    return std::string(secure ? "https://" : "http://") + (ipv6 ? "[" + host + "]" : host) + ":" +
           std::to_string(port) + target;
}
