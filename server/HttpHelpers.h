#pragma once
// Small pieces every route uses: JSON answers, query values, paging, and the
// origin the client reached the server by.
#include <httplib.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "server/json/JsonContext.h"

// Answers compact UTF-8 JSON with status 200.
void replyJson(httplib::Response& response, const Json& json);
// Answers a small HTML page.
void replyHtml(httplib::Response& response, int status, const std::string& title, const std::string& bodyHtml);
// Escapes the five characters HTML gives a meaning.
std::string escapeHtml(const std::string& text);

// "http://" + the request's Host header, or + `fallbackHostPort` when the
// header is missing or holds characters a host name cannot have.
std::string requestOrigin(const httplib::Request& request, const std::string& fallbackHostPort);

// A query value, read from the request line itself: the server library
// splits a value at every "=", and the client sends values such as the
// account cookie with "=" inside, unencoded. The key ends at the first "=",
// the value runs to the next "&"; %XX escapes and "+" (a space) are decoded.
// Nothing when the key is missing.
std::optional<std::string> queryValue(const httplib::Request& request, const std::string& key);
// The same, with the empty text for a missing key.
std::string queryText(const httplib::Request& request, const std::string& key);

// A whole number written in decimal; nothing for anything else.
std::optional<long long> parseInteger(const std::string& text);
// A whole-number query value; nothing when it is missing or not a number.
std::optional<long long> integerParam(const httplib::Request& request, const std::string& key);

// The rest of the raw query after the first "key=", with %XX escapes decoded
// and nothing split at "&". For values the client appends unencoded as the
// last key (the QR text, the player's stream URL).
std::string rawQueryTail(const httplib::Request& request, const std::string& key);

// "limit" and "offset" of a list request.
struct Page {
    std::size_t offset = 0;
    std::size_t limit = 0;
};
Page pageOf(const httplib::Request& request, std::size_t defaultLimit);

// The members of `items` inside the page, and whether more follow.
template <typename T>
std::vector<T> sliceOf(const std::vector<T>& items, const Page& page, bool* more = nullptr) {
    const std::size_t begin = std::min(page.offset, items.size());
    const std::size_t end = std::min(items.size(), begin + std::min(page.limit, items.size() - begin));
    if (more) *more = end < items.size();
    return std::vector<T>(items.begin() + static_cast<std::ptrdiff_t>(begin),
                          items.begin() + static_cast<std::ptrdiff_t>(end));
}
