#include "text/TextUtils.h"

#include "text/TextCodec.h"
#include "text/TextSearch.h"

#include <QString>
#include <algorithm>
#include <unordered_set>

namespace {

constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";  // U+3000
constexpr std::string_view kQuotePlaceholder = "#引号";
constexpr std::size_t kNotFound = std::string_view::npos;
constexpr qsizetype kMaxFaceUnits = 31;  // 64 bytes of UTF-16 including the terminator

// The bytes urlEncode copies unchanged when asked to keep unreserved ones.
bool isUnreservedByte(unsigned char byte) {
    return (byte >= 0x27 && byte <= 0x2A) || byte == '-' || byte == '.' || (byte >= '0' && byte <= '9') ||
           (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte == '_';
}

std::size_t findFirst(std::string_view text, std::string_view needle) { return TextSearch(text, needle).next(0); }

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    TextSearch search(text, from);
    std::size_t copied = 0;
    for (std::size_t at = search.next(0); at != kNotFound; at = search.next(copied)) {
        out.append(text.substr(copied, at - copied)).append(to);
        copied = at + from.size();
    }
    return out.append(text.substr(copied));
}

void storeLittleEndian(ToolkitFont& record, std::size_t offset, std::int32_t value) {
    auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) record[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

}  // namespace

std::string urlEncode(std::string_view text, bool keepUnreserved, bool asUtf8) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string gbk = asUtf8 ? std::string() : TextCodec::utf8ToGbk(text);
    std::string_view bytes = asUtf8 ? text : std::string_view(gbk);
    std::string out;
    out.reserve(bytes.size() * 3);
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte == 0) continue;
        if (keepUnreserved && isUnreservedByte(byte)) {
            out += c;
        } else if (byte == ' ') {
            out += '+';
        } else {
            out += '%';
            out += kHexDigits[byte >> 4];
            out += kHexDigits[byte & 0x0F];
        }
    }
    return out;
}

std::string base64Encode(std::string_view bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
        std::size_t left = std::min<std::size_t>(3, bytes.size() - at);
        std::uint32_t group = 0;
        for (std::size_t i = 0; i < 3; ++i)
            group = group << 8 | (i < left ? static_cast<unsigned char>(bytes[at + i]) : 0u);
        for (std::size_t i = 0; i < 4; ++i) out += i <= left ? kAlphabet[(group >> (18 - 6 * i)) & 0x3F] : '=';
    }
    return out;
}

std::string textAfterLast(std::string_view text, std::string_view separator) {
    TextSearch search(text, separator);
    std::size_t last = kNotFound;
    for (std::size_t at = search.next(0); at != kNotFound; at = search.next(at + 1)) last = at;
    return last == kNotFound ? std::string() : std::string(text.substr(last + separator.size()));
}

std::string textBeforeFirst(std::string_view text, std::string_view separator) {
    std::size_t at = findFirst(text, separator);
    return at == kNotFound ? std::string() : std::string(text.substr(0, at));
}

std::string textBetween(std::string_view text, std::string_view left, std::string_view right) {
    std::string leftMarker = replaceAll(left, kQuotePlaceholder, "\"");
    std::string rightMarker = replaceAll(right, kQuotePlaceholder, "\"");
    std::size_t leftAt = findFirst(text, leftMarker);
    if (leftAt == kNotFound) return {};
    std::size_t start = leftAt + leftMarker.size();
    std::size_t rightAt = TextSearch(text, rightMarker).next(start);
    if (rightAt == kNotFound) return {};
    return std::string(text.substr(start, rightAt - start));
}

std::string headerLineName(std::string_view line) {
    std::size_t colon = line.find(':');
    return colon == kNotFound ? std::string() : trimText(line.substr(0, colon));
}

std::string headerLineValue(std::string_view line) {
    std::size_t colon = line.find(':');
    return colon == kNotFound ? std::string() : trimText(line.substr(colon + 1));
}

std::vector<std::string> splitText(std::string_view text, std::string_view separator) {
    std::vector<std::string> items;
    TextSearch search(text, separator);
    std::size_t start = 0;
    for (std::size_t at = search.next(0); at != kNotFound; at = search.next(start)) {
        items.emplace_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    if (start < text.size()) items.emplace_back(text.substr(start));
    return items;
}

std::string trimText(std::string_view text) {
    for (;;) {
        if (text.starts_with(' '))
            text.remove_prefix(1);
        else if (text.starts_with(kFullWidthSpace))
            text.remove_prefix(kFullWidthSpace.size());
        else
            break;
    }
    for (;;) {
        if (text.ends_with(' '))
            text.remove_suffix(1);
        else if (text.ends_with(kFullWidthSpace))
            text.remove_suffix(kFullWidthSpace.size());
        else
            break;
    }
    return std::string(text);
}

std::string removeDuplicateItems(std::string_view text, std::string_view separator) {
    std::vector<std::string> items = splitText(text, separator);
    std::unordered_set<std::string_view> seen;
    std::string out;
    for (const std::string& item : items) {
        if (!seen.insert(item).second) continue;
        if (seen.size() > 1) out.append(separator);
        out.append(item);
    }
    return out;
}

ToolkitFont makeToolkitFont(std::string_view face, std::int32_t size, std::int32_t styleCode, std::int32_t third,
                            std::int32_t fourth, std::int32_t fifth) {
    ToolkitFont record{};
    QString name = QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
    qsizetype units = std::min(name.size(), kMaxFaceUnits);
    if (units < name.size() && name.at(units).isLowSurrogate()) --units;  // never keep half a pair
    for (qsizetype i = 0; i < units && !name.at(i).isNull(); ++i) {
        char16_t unit = name.at(i).unicode();
        record[2 * i] = static_cast<std::uint8_t>(unit);
        record[2 * i + 1] = static_cast<std::uint8_t>(unit >> 8);
    }
    std::size_t offset = 64;
    for (std::int32_t value : {size, styleCode, third, fourth, fifth}) {
        storeLittleEndian(record, offset, value);
        offset += 4;
    }
    return record;
}
