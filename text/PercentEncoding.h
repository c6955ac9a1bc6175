#pragma once
// Percent-encoding of one URL or cookie component: ASCII letters and digits
// and the punctuation in `kept` stay as they are, every other byte becomes
// "%XX" with upper-case hex digits.
#include <string>
#include <string_view>

// What JavaScript's encodeURIComponent keeps besides letters and digits.
inline constexpr std::string_view kUriComponentPunctuation = "-_.!~*'()";

std::string percentEncode(std::string_view text, std::string_view kept);
