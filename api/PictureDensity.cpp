#include "api/PictureDensity.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

namespace {

constexpr std::string_view kSizeKey = "param=";
// No picture is asked for larger than this on a side, whatever the ratio.
constexpr int kLargestSide = 4096;

// Where the value of the size parameter starts: after "?param=" or "&param=".
std::optional<std::size_t> sizeValueStart(const std::string& url) {
    const std::size_t query = url.find('?');
    if (query == std::string::npos) return std::nullopt;
    for (std::size_t at = url.find(kSizeKey, query); at != std::string::npos; at = url.find(kSizeKey, at + 1)) {
        if (url[at - 1] == '?' || url[at - 1] == '&') return at + kSizeKey.size();
    }
    return std::nullopt;
}

// A side of at least 1 written in digits only, up to the end of `text` or
// the next "&" (or, for the width, the separator).
std::optional<int> side(std::string_view digits) {
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size() || value < 1) return std::nullopt;
    return value;
}

std::string scaled(int value, double ratio) {
    return std::to_string(std::min<long>(kLargestSide, std::lround(std::ceil(value * ratio))));
}

}  // namespace

std::string pictureUrlForDensity(const std::string& url, double devicePixelRatio) {
    if (!(devicePixelRatio > 1.0)) return url;
    const std::optional<std::size_t> start = sizeValueStart(url);
    if (!start) return url;
    const std::size_t end = std::min(url.find('&', *start), url.size());
    const std::string_view value = std::string_view(url).substr(*start, end - *start);
    const std::size_t separator = value.find_first_of("xy");
    if (separator == std::string_view::npos) return url;
    const std::optional<int> width = side(value.substr(0, separator));
    const std::optional<int> height = side(value.substr(separator + 1));
    if (!width || !height) return url;
    return url.substr(0, *start) + scaled(*width, devicePixelRatio) + value[separator] +
           scaled(*height, devicePixelRatio) + url.substr(end);
}
