#pragma once
// Header blocks ("Name: value" lines joined by CR LF) and cookie texts
// ("name=value" items joined by "; ") as the HTTP engines exchange them.
#include <string>
#include <string_view>

// Capitalises the first letter of each header name and each letter after a
// "-"; drops lines without ":". No trailing CR LF.
std::string normalizeHeaderNames(std::string_view block);

// Value of the first line that starts with `name` (case-sensitive prefix),
// read after "name: "; empty when absent.
std::string headerValue(std::string_view block, std::string_view name);

// The cookies set by "Set-Cookie" lines of a raw response header block,
// attributes dropped, joined by "; ".
std::string collectSetCookies(std::string_view headerBlock);

// The trimmed text before the first "=" of a cookie item.
std::string cookieName(std::string_view item);

// Received cookies first, then sent cookies whose names were not received;
// "=deleted" items and exact duplicates removed.
std::string mergeCookies(std::string_view sent, std::string_view received);
