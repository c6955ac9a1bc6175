#include "TextFuzzChecks.h"

#include "net/HeaderUtils.h"
#include "text/TextCodec.h"
#include "text/TextUtils.h"

#include <QByteArray>
#include <QUtf8StringView>
#include <set>
#include <vector>

namespace {

constexpr std::size_t kEncodingCheckLimit = 64 * 1024;

// Qt's validator is strict (no overlongs or surrogates), so a text it accepts
// splits into characters exactly as the routines under test see them.
bool isValidUtf8(std::string_view text) { return QUtf8StringView(text.data(), text.size()).isValidUtf8(); }

bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

std::string withoutZeroBytes(std::string_view bytes) {
    std::string out;
    for (char c : bytes)
        if (c != '\0') out += c;
    return out;
}

class Checker {
public:
    // Records the first failed property.
    void expect(bool holds, const char* property) {
        if (!holds && failure_.empty()) failure_ = property;
    }
    const std::string& failure() const { return failure_; }

private:
    std::string failure_;
};

void checkSlicing(Checker& check, std::string_view text, std::string_view a, std::string_view b) {
    bool validInputs = isValidUtf8(text) && isValidUtf8(a) && isValidUtf8(b);

    std::string between = textBetween(text, a, b);
    check.expect(contains(text, between), "textBetween gives a part of the text");
    std::string after = textAfterLast(text, a);
    check.expect(text.ends_with(after), "textAfterLast gives a suffix");
    std::string before = textBeforeFirst(text, a);
    check.expect(text.starts_with(before), "textBeforeFirst gives a prefix");
    check.expect(!validInputs || (isValidUtf8(between) && isValidUtf8(after) && isValidUtf8(before)),
                 "slicing valid UTF-8 never cuts a character");

    std::vector<std::string> items = splitText(text, a);
    std::string joined;
    for (std::size_t i = 0; i < items.size(); ++i) joined += (i ? std::string(a) : "") + items[i];
    check.expect(joined == text || joined + std::string(a) == text, "split items join back to the text");
    for (const std::string& item : items)
        check.expect(!validInputs || isValidUtf8(item), "split keeps characters whole");

    std::string unique = removeDuplicateItems(text, a);
    check.expect(unique.size() <= text.size(), "removing duplicates never grows the text");

    std::string trimmed = trimText(text);
    check.expect(contains(text, trimmed), "trimming gives a part of the text");
    for (std::string_view space : {std::string_view(" "), std::string_view("\u3000")})
        check.expect(!trimmed.starts_with(space) && !trimmed.ends_with(space), "trimming leaves no space at the ends");

    std::string name = headerLineName(text);
    std::string value = headerLineValue(text);
    check.expect(name.find(':') == std::string::npos, "a header line name holds no colon");
    check.expect(contains(text, name) && contains(text, value), "header line parts come from the line");
}

void checkEncodings(Checker& check, std::string_view text) {
    for (bool keepUnreserved : {false, true}) {
        for (bool asUtf8 : {false, true}) {
            QByteArray encoded = QByteArray::fromStdString(urlEncode(text, keepUnreserved, asUtf8));
            encoded.replace('+', "%20");
            std::string decoded = QByteArray::fromPercentEncoding(encoded).toStdString();
            std::string bytes = withoutZeroBytes(asUtf8 ? std::string(text) : TextCodec::utf8ToGbk(text));
            check.expect(decoded == bytes, "urlEncode decodes back to the text's bytes");
        }
    }
    std::string base64 = base64Encode(text);
    check.expect(QByteArray::fromBase64(QByteArray::fromStdString(base64)).toStdString() == text,
                 "base64Encode decodes back to the bytes");
    check.expect(base64.size() == (text.size() + 2) / 3 * 4, "base64Encode has the padded length");

    check.expect(isValidUtf8(TextCodec::gbkToUtf8(text)), "gbkToUtf8 gives valid UTF-8");
    std::string utf16 = TextCodec::gbkToUtf16(text, true);
    check.expect(utf16.empty() || (utf16.size() % 2 == 0 && utf16.ends_with(std::string_view("\0\0", 2))),
                 "gbkToUtf16 ends in one zero unit");
    TextCodec::utf16ToGbk(text);

    ToolkitFont font = makeToolkitFont(text, 1, 2, 3, 4, 5);
    check.expect(font[62] == 0 && font[63] == 0 && font[64] == 1 && font[80] == 5, "the font record keeps its layout");
}

void checkCookieText(Checker& check, const std::string& cookies, const char* what) {
    std::set<std::string> seen;
    for (const std::string& item : splitText(cookies, "; ")) {
        check.expect(!trimText(item).empty(), what);
        check.expect(!item.ends_with("=deleted"), what);
        check.expect(seen.insert(item).second, what);
    }
    check.expect(!cookies.ends_with("; "), what);
}

void checkHeaders(Checker& check, std::string_view block, std::string_view a, std::string_view b) {
    std::string normalized = normalizeHeaderNames(block);
    check.expect(!normalized.ends_with("\r\n"), "a normalised block has no trailing line break");
    for (const std::string& line : splitText(normalized, "\r\n")) {
        check.expect(contains(line, ":"), "every normalised line has a colon");
        check.expect(line.empty() || line[0] < 'a' || line[0] > 'z', "normalised names start with a capital");
    }

    std::string value = headerValue(block, a);
    check.expect(contains(block, value) && !contains(value, "\n"), "a header value is part of one line");

    std::string collected = collectSetCookies(block);
    check.expect(!contains(collected, "\r") && !contains(collected, "\n"), "collected cookies hold no line break");
    for (const std::string& item : splitText(collected, "; ")) {
        check.expect(!item.empty() && trimText(item) == item, "a collected cookie is trimmed and not empty");
        check.expect(!contains(item, ";"), "a collected cookie has no attributes");
    }

    check.expect(!contains(cookieName(a), "="), "a cookie name holds no equals sign");

    std::string merged = mergeCookies(a, b);
    checkCookieText(check, merged, "merged cookies have no empty, deleted or repeated items");
    for (const std::string& item : splitText(merged, "; "))
        check.expect(contains(a, item) || contains(b, item), "merged cookies come from the inputs");
    checkCookieText(check, mergeCookies(a, collected), "merging collected cookies keeps the cookie text clean");
}

}  // namespace

std::string checkTextRoutines(std::string_view text, std::string_view first, std::string_view second) {
    Checker check;
    checkSlicing(check, text, first, second);
    // Huge header blocks are there for the header routines; the encoders'
    // round trips on them would only slow the run down.
    if (text.size() <= kEncodingCheckLimit) checkEncodings(check, text);
    checkHeaders(check, text, first, second);
    return check.failure();
}
