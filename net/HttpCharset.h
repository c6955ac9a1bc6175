#pragma once
// The charset an HTML answer declares in a meta tag, and decoding a body from
// that charset to the program's UTF-8.
#include <optional>
#include <string>
#include <string_view>

// The charset named by the first "<meta ... charset=NAME" within the first
// 1024 bytes of `body`; empty when there is none.
std::string declaredCharset(std::string_view body);

// `bytes` decoded from `charset` to UTF-8; bytes the charset cannot decode
// become U+FFFD. Empty when the charset is unknown.
std::optional<std::string> decodeCharset(std::string_view bytes, const std::string& charset);

// True for the names of UTF-8 itself, whose bodies need no decoding.
bool isUtf8Charset(std::string_view charset);
