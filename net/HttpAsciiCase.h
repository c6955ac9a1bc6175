#pragma once
// ASCII case-insensitive comparisons for header names, schemes and charset
// names; bytes outside ASCII compare exactly.
#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

inline char lowerAscii(unsigned char c) { return c < 0x80 ? static_cast<char>(std::tolower(c)) : static_cast<char>(c); }

inline std::string lowercaseAscii(std::string_view text) {
    std::string out(text.size(), '\0');
    std::transform(text.begin(), text.end(), out.begin(), [](unsigned char c) { return lowerAscii(c); });
    return out;
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

inline bool containsIgnoringCase(std::string_view text, std::string_view part) {
    return std::search(text.begin(), text.end(), part.begin(), part.end(),
                       [](unsigned char x, unsigned char y) { return lowerAscii(x) == lowerAscii(y); }) != text.end() ||
           part.empty();
}
