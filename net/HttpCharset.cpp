#include "net/HttpCharset.h"

#include <iconv.h>

#include <cerrno>

#include "data/RegexMatcher.h"
#include "net/HttpAsciiCase.h"

std::string declaredCharset(std::string_view body) {
    // The matcher accepts subjects that are not valid UTF-8, so a GBK page
    // or one cut inside a character is searched all the same.
    RegexMatcher matcher;
    if (!matcher.execute("<meta.+?charset=[^\\w]?([-\\w]+)", body.substr(0, 1024)) || matcher.matchCount() == 0)
        return "";
    return matcher.subMatchText(1, 1);
}

bool isUtf8Charset(std::string_view charset) {
    return equalsIgnoringCase(charset, "utf-8") || equalsIgnoringCase(charset, "utf8");
}

std::optional<std::string> decodeCharset(std::string_view bytes, const std::string& charset) {
    // Pages labelled gb2312 routinely hold GBK characters; GBK covers both.
    std::string from = equalsIgnoringCase(charset, "gb2312") ? "GBK" : charset;
    iconv_t converter = iconv_open("UTF-8", from.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;

    std::string out;
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outAt = buffer;
        size_t outLeft = sizeof buffer;
        size_t done = iconv(converter, &in, &inLeft, &outAt, &outLeft);
        out.append(buffer, outAt - buffer);
        if (done == static_cast<size_t>(-1) && errno != E2BIG) {
            out += "\xEF\xBF\xBD";
            ++in;
            --inLeft;
        }
    }
    char* outAt = buffer;
    size_t outLeft = sizeof buffer;
    iconv(converter, nullptr, nullptr, &outAt, &outLeft);
    out.append(buffer, outAt - buffer);
    iconv_close(converter);
    return out;
}
