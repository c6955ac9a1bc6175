#include "text/TextCodec.h"

#include <iconv.h>
#include <algorithm>
#include <cerrno>

namespace {

// Length of the character that starts at `at`, for resuming after a
// conversion failure. Returns 1 for a byte that starts no valid character.
using CharLength = size_t (*)(const unsigned char* at, size_t left);

size_t utf8CharLength(const unsigned char* at, size_t left) {
    unsigned char lead = at[0];
    size_t len = lead >= 0xF0 && lead <= 0xF4   ? 4
                 : lead >= 0xE0 && lead <= 0xEF ? 3
                 : lead >= 0xC2 && lead <= 0xDF ? 2
                                                : 1;
    if (len > left) return 1;
    for (size_t i = 1; i < len; ++i)
        if ((at[i] & 0xC0) != 0x80) return 1;
    return len;
}

size_t gbkCharLength(const unsigned char* at, size_t left) {
    return at[0] >= 0x81 && at[0] <= 0xFE && left >= 2 ? 2 : 1;
}

size_t utf16CharLength(const unsigned char* at, size_t left) {
    bool highSurrogate = left >= 4 && at[1] >= 0xD8 && at[1] <= 0xDB && at[3] >= 0xDC && at[3] <= 0xDF;
    return std::min<size_t>(highSurrogate ? 4 : 2, left);
}

// Converts `in` between two iconv encodings. Each character that is invalid
// in the source or missing from the target is written as `replacement`.
std::string convert(std::string_view in, const char* from, const char* to, std::string_view replacement,
                    CharLength charLength) {
    std::string out;
    if (in.empty()) return out;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return out;

    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[4096];
    auto flush = [&](char* dst) { out.append(buffer, dst - buffer); };
    // glibc converts in two steps; when the second one meets an unconvertible
    // character it decodes the first step's whole chunk again. Small input
    // windows bound that rework, so text full of such characters converts in
    // linear rather than quadratic time.
    constexpr size_t kWindow = 256;
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t window = std::min(srcLeft, kWindow);
        size_t windowLeft = window;
        size_t rc = iconv(cd, &src, &windowLeft, &dst, &dstLeft);
        bool windowEndsEarly = window < srcLeft;
        srcLeft -= window - windowLeft;
        flush(dst);
        if (rc != static_cast<size_t>(-1) || errno == E2BIG) continue;
        if (errno == EINVAL && windowEndsEarly) continue;  // a character cut by the window's end
        // EILSEQ (invalid or unrepresentable) or EINVAL (cut-off sequence).
        out.append(replacement);
        size_t step = charLength(reinterpret_cast<const unsigned char*>(src), srcLeft);
        src += step;
        srcLeft -= step;
    }
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    flush(dst);
    iconv_close(cd);
    return out;
}

std::string_view untilZero(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace

namespace TextCodec {

std::string gbkToUtf16(std::string_view gbk, bool withTerminator) {
    std::string out = convert(untilZero(gbk), "CP936", "UTF-16LE", std::string_view("\xFD\xFF", 2), gbkCharLength);
    if (withTerminator && !out.empty()) out.append(2, '\0');
    return out;
}

std::string utf16ToGbk(std::string_view utf16) {
    size_t units = utf16.size() / 2;
    for (size_t i = 0; i < units; ++i) {
        if (utf16[2 * i] == '\0' && utf16[2 * i + 1] == '\0') {
            units = i;
            break;
        }
    }
    return convert(utf16.substr(0, units * 2), "UTF-16LE", "CP936", "?", utf16CharLength);
}

std::string gbkToUtf8(std::string_view gbk) {
    return convert(untilZero(gbk), "CP936", "UTF-8", "\xEF\xBF\xBD", gbkCharLength);
}

std::string utf8ToGbk(std::string_view utf8) { return convert(utf8, "UTF-8", "CP936", "?", utf8CharLength); }

}  // namespace TextCodec
