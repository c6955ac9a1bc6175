#include "data/JsonNumberOverflow.h"

#include <double-conversion/string-to-double.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Locale-independent, and infinite for a number beyond the double range.
double readNumber(std::string_view token) {
    static const double_conversion::StringToDoubleConverter converter(
        double_conversion::StringToDoubleConverter::NO_FLAGS, 0.0, std::numeric_limits<double>::quiet_NaN(), nullptr,
        nullptr);
    int processed = 0;
    return converter.StringToDouble(token.data(), static_cast<int>(token.size()), &processed);
}

// The length of the number token (JSON grammar, loosely: sign, digits,
// fraction, exponent) that starts at `at`.
std::size_t numberLength(std::string_view text, std::size_t at) {
    std::size_t end = at;
    if (end < text.size() && text[end] == '-') ++end;
    while (end < text.size() && isDigit(text[end])) ++end;
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && isDigit(text[end])) ++end;
    }
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        ++end;
        if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
        while (end < text.size() && isDigit(text[end])) ++end;
    }
    return end - at;
}

// The end of the string whose opening quote is at `at` (past the closing
// quote, or the end of the text).
std::size_t stringEnd(std::string_view text, std::size_t at) {
    for (std::size_t i = at + 1; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == '"') {
            return i + 1;
        }
    }
    return text.size();
}

}  // namespace

std::optional<std::string> markOverflowingNumbers(std::string_view text) {
    std::string marked;
    std::size_t copied = 0;  // text before this is in `marked`
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '"') {
            i = stringEnd(text, i);
            continue;
        }
        if (c != '-' && !isDigit(c)) {
            ++i;
            continue;
        }
        const std::size_t length = numberLength(text, i);
        const double value = readNumber(text.substr(i, length));
        if (std::isinf(value)) {
            marked.append(text.substr(copied, i - copied));
            marked += value > 0 ? "\"\\u0000Infinity\"" : "\"\\u0000-Infinity\"";
            copied = i + length;
        }
        i += std::max<std::size_t>(length, 1);
    }
    if (copied == 0) return std::nullopt;
    marked.append(text.substr(copied));
    return marked;
}
