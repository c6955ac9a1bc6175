#include "net/HeaderUtils.h"

#include "text/TextSearch.h"
#include "text/TextUtils.h"

#include <unordered_set>
#include <vector>

namespace {

constexpr std::string_view kSetCookieLine = "Set-Cookie: ";
constexpr std::string_view kCookieSeparator = "; ";
constexpr std::string_view kDeletedMark = "=deleted";

// The lines of a header block. Lines end in CR LF; a bare LF also ends a line,
// so a lenient server cannot smuggle a second header into one line's value.
std::vector<std::string_view> headerLines(std::string_view block) {
    std::vector<std::string_view> lines;
    while (!block.empty()) {
        std::size_t end = block.find('\n');
        std::string_view line = block.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        block.remove_prefix(end + 1);
    }
    return lines;
}

// True when `line` begins with `prefix` and the prefix ends on a character boundary.
bool startsWithWhole(std::string_view line, std::string_view prefix) {
    return line.starts_with(prefix) && TextSearch(line, prefix).next(0) == 0;
}

// A cookie holding a control character other than tab is malformed, and
// sending it back could break the request's header block apart.
bool isMalformedCookie(std::string_view cookie) {
    for (char c : cookie)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) return true;
    return false;
}

// The items of a cookie text; a trailing ";" counts as a trailing separator.
std::vector<std::string> cookieItems(std::string_view cookies) {
    std::string trimmed = trimText(cookies);
    if (trimmed.ends_with(';')) trimmed += ' ';
    return splitText(trimmed, kCookieSeparator);
}

}  // namespace

std::string normalizeHeaderNames(std::string_view block) {
    std::string out;
    for (std::string_view line : headerLines(block)) {
        std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        if (!out.empty()) out += "\r\n";
        std::size_t nameStart = out.size();
        out += line;
        for (std::size_t i = 0; i < colon; ++i) {
            char& c = out[nameStart + i];
            bool startsWord = i == 0 || out[nameStart + i - 1] == '-';
            if (startsWord && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

std::string headerValue(std::string_view block, std::string_view name) {
    if (name.empty()) return {};
    for (std::string_view line : headerLines(block)) {
        // Only the first line that starts with the name counts, even when it
        // turns out to be a longer name such as "Connection-X".
        if (startsWithWhole(line, name)) return textAfterLast(line, std::string(name) + ": ");
    }
    return {};
}

std::string collectSetCookies(std::string_view headerBlock) {
    std::string cookies;
    for (std::string_view line : headerLines(headerBlock)) {
        // The header name must be exactly "Set-Cookie", in this case.
        if (!line.starts_with(kSetCookieLine)) continue;
        std::string_view value = line.substr(kSetCookieLine.size());
        // Attributes (path, expiry, domain, flags) follow the first ";".
        std::string cookie = trimText(value.substr(0, value.find(';')));
        if (cookie.empty() || isMalformedCookie(cookie)) continue;
        if (!cookies.empty()) cookies += kCookieSeparator;
        cookies += cookie;
    }
    return cookies;
}

std::string cookieName(std::string_view item) { return trimText(item.substr(0, item.find('='))); }

std::string mergeCookies(std::string_view sent, std::string_view received) {
    std::vector<std::string> merged = cookieItems(received);
    std::unordered_set<std::string> names;
    for (const std::string& item : merged) names.insert(cookieName(item));
    for (std::string& item : cookieItems(sent))
        if (names.insert(cookieName(item)).second) merged.push_back(std::move(item));

    std::string out;
    std::unordered_set<std::string_view> kept;
    for (const std::string& item : merged) {
        if (item.ends_with(kDeletedMark) || trimText(item).empty() || isMalformedCookie(item)) continue;
        if (!kept.insert(item).second) continue;
        if (kept.size() > 1) out += kCookieSeparator;
        out += item;
    }
    return out;
}
