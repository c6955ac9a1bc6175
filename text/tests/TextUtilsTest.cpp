#include "text/TextUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

// The first code unit of "中" split off: a byte that sits inside a character.
const std::string kInsideZhong = "\xB8";

TEST(UrlEncodeTest, EncodesBytesAsListed) {
    struct Case {
        std::string text;
        bool keepUnreserved;
        bool asUtf8;
        std::string expected;
    };
    const Case cases[] = {
        {"a b", false, false, "%61+%62"},
        {"a b", true, false, "a+b"},
        {"ab 1", false, false, "%61%62+%31"},
        {"!~'()*-._", true, false, "%21%7E'()*-._"},
        {"中", false, true, "%E4%B8%AD"},
        {"中", false, false, "%D6%D0"},
        {"中", true, false, "%D6%D0"},
        {"€", true, false, "%80"},
        {"한", true, false, "%3F"},  // not in GBK: encoded as the "?" it becomes
        {"한", true, true, "%ED%95%9C"},
        {"a\0b"s, true, true, "ab"},
        {"a\0b"s, true, false, "ab"},
        {"\xFF", false, true, "%FF"},
        {"", false, false, ""},
        {"a/b?c=d&e", true, true, "a%2Fb%3Fc%3Dd%26e"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(urlEncode(c.text, c.keepUnreserved, c.asUtf8), c.expected)
            << "text '" << c.text << "' keep " << c.keepUnreserved << " utf8 " << c.asUtf8;
}

TEST(UrlEncodeTest, KeepsExactlyTheUnreservedSet) {
    const std::string kept = "'()*-.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz";
    for (int byte = 1; byte < 256; ++byte) {
        std::string text(1, static_cast<char>(byte));
        std::string encoded = urlEncode(text, true, true);
        if (kept.find(text) != std::string::npos)
            EXPECT_EQ(encoded, text);
        else if (byte == ' ')
            EXPECT_EQ(encoded, "+");
        else
            EXPECT_EQ(encoded.size(), 3u) << "byte " << byte << " gave " << encoded;
    }
}

TEST(Base64EncodeTest, MatchesRfc4648) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {"\0\0\0"s, "AAAA"},
        {"\0"s, "AA=="},
        {"\xFB\xFF", "+/8="},
        {"\xFF\xFF\xFF", "////"},
    };
    for (const auto& [bytes, expected] : cases) EXPECT_EQ(base64Encode(bytes), expected);
}

TEST(TextSliceTest, AfterLastAndBeforeFirst) {
    struct Case {
        std::string text;
        std::string separator;
        std::string afterLast;
        std::string beforeFirst;
    };
    const Case cases[] = {
        {"a: b: c", ": ", "c", "a"},
        {"abc", "x", "", ""},  // absent separator gives the empty text, not the whole
        {"", ":", "", ""},
        {"abc", "", "", ""},
        {"a:", ":", "", "a"},
        {":a", ":", "a", ""},
        {"aaa", "aa", "", ""},  // the last occurrence starts at the second "a"
        {"中文中", "文", "中", "中"},
        {"中", kInsideZhong, "", ""},  // never matches inside a character
        {"中x", "\xAD", "", ""},
        {"中", "\xE4\xB8", "", ""},          // nor ends inside one
        {"\xE4\xB8x", "\xE4\xB8", "x", ""},  // stray bytes are characters of their own
        {"\xE4x\xB8y", kInsideZhong, "y", "\xE4x"},
        {"a\0b\0c"s, "\0"s, "c", "a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(textAfterLast(c.text, c.separator), c.afterLast) << c.text << " / " << c.separator;
        EXPECT_EQ(textBeforeFirst(c.text, c.separator), c.beforeFirst) << c.text << " / " << c.separator;
    }
}

TEST(TextSliceTest, Between) {
    struct Case {
        std::string text;
        std::string left;
        std::string right;
        std::string expected;
    };
    const Case cases[] = {
        {"x[a]y", "[", "]", "a"},
        {"x[a]y[b]", "[", "]", "a"},
        {"xa]y", "[", "]", ""},
        {"]x[a", "[", "]", ""},    // a right marker before the left one does not count
        {"abXb", "ab", "b", "X"},  // the right marker is searched after the whole left one
        {"ab", "ab", "b", ""},
        {"[]", "[", "]", ""},
        {R"({"id":5,"n":1})", "#引号id#引号:", ",", "5"},
        {R"(say "hi" now)", "#引号", "#引号", "hi"},
        {"#pica#http://p/1.jpg#picb#", "#pica#", "#picb#", "http://p/1.jpg"},
        {"中文中", "中", "中", "文"},
        {"中x中", kInsideZhong, "x", ""},
        {"abc", "", "c", ""},
        {"abc", "a", "", ""},
        {"", "a", "b", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(textBetween(c.text, c.left, c.right), c.expected) << c.text << " / " << c.left << " / " << c.right;
}

TEST(HeaderLineTest, NameAndValue) {
    struct Case {
        std::string line;
        std::string name;
        std::string value;
    };
    const Case cases[] = {
        {"Content-Type: text/html; charset=utf-8", "Content-Type", "text/html; charset=utf-8"},
        {"Cookie:a=1", "Cookie", "a=1"},
        {"no colon", "", ""},
        {"", "", ""},
        {":", "", ""},
        {"a:b:c", "a", "b:c"},
        {"  X :  y  ", "X", "y"},
        {"\u3000X\u3000:\u3000 y\u3000", "X", "y"},
        {"X:\ty\r", "X", "\ty\r"},  // only spaces and full-width spaces are trimmed
    };
    for (const Case& c : cases) {
        EXPECT_EQ(headerLineName(c.line), c.name) << c.line;
        EXPECT_EQ(headerLineValue(c.line), c.value) << c.line;
    }
}

TEST(SplitTextTest, ItemsBetweenSeparators) {
    struct Case {
        std::string text;
        std::string separator;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"", "; ", {}},
        {"a", "; ", {"a"}},
        {"a; b", "; ", {"a", "b"}},
        {"a; ; b", "; ", {"a", "", "b"}},
        {"; a", "; ", {"", "a"}},
        {"a; b; ", "; ", {"a", "b"}},  // a trailing separator gives no empty last item
        {"; ", "; ", {""}},
        {"a; b", "", {"a; b"}},
        {"中;文", ";", {"中", "文"}},
        {"中", kInsideZhong, {"中"}},
        {"a\r\nb\r\n\r\nc", "\r\n", {"a", "b", "", "c"}},
    };
    for (const Case& c : cases) EXPECT_EQ(splitText(c.text, c.separator), c.items) << c.text;
}

TEST(TrimTextTest, RemovesSpacesAndFullWidthSpacesOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"  a b  ", "a b"}, {"\u3000 a\u3000 \u3000", "a"}, {"\ta\r\n", "\ta\r\n"}, {"", ""}, {"   ", ""},
        {"\u3000", ""},     {"\xE3\x80", "\xE3\x80"},  // a cut-off full-width space is not one
        {" 中 ", "中"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(trimText(text), expected) << "'" << text << "'";
}

TEST(RemoveDuplicateItemsTest, KeepsFirstOfEqualItems) {
    struct Case {
        std::string text;
        std::string separator;
        std::string expected;
    };
    const Case cases[] = {
        {"a=1; b=2; a=1", "; ", "a=1; b=2"}, {"", "; ", ""},        {"a; A; a", "; ", "a; A"},
        {"a; ; ; b", "; ", "a; ; b"},        {"x; x; ", "; ", "x"}, {"b,a,b,c,a", ",", "b,a,c"},
    };
    for (const Case& c : cases) EXPECT_EQ(removeDuplicateItems(c.text, c.separator), c.expected) << c.text;
}

std::vector<std::uint8_t> utf16le(std::u16string_view units) {
    std::vector<std::uint8_t> bytes;
    for (char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

TEST(ToolkitFontTest, LaysOutFaceAndIntegers) {
    ToolkitFont font = makeToolkitFont("微软雅黑", 12, 1, 4, 0, static_cast<std::int32_t>(0xFFF5F5F5));
    std::vector<std::uint8_t> expected = utf16le(u"微软雅黑");
    expected.resize(64, 0);
    for (std::uint8_t byte : {12, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0xF5, 0xF5, 0xF5, 0xFF})
        expected.push_back(byte);
    EXPECT_EQ(std::vector<std::uint8_t>(font.begin(), font.end()), expected);
}

TEST(ToolkitFontTest, FaceIsCutToThirtyOneUnitsWithoutSplittingAPair) {
    struct Case {
        std::string face;
        std::u16string stored;
    };
    const Case cases[] = {
        {std::string(40, 'x'), std::u16string(31, u'x')},
        {std::string(30, 'x') + "😀", std::u16string(30, u'x')},
        {std::string(29, 'x') + "😀", std::u16string(29, u'x') + u"😀"},
        {"맑은 고딕", u"맑은 고딕"},  // kept although GBK cannot hold it
        {"", u""},
        {"a\0b"s, u"a"},
    };
    for (const Case& c : cases) {
        ToolkitFont font = makeToolkitFont(c.face, 0, 0, 0, 0, 0);
        std::vector<std::uint8_t> expected = utf16le(c.stored);
        expected.resize(84, 0);
        EXPECT_EQ(std::vector<std::uint8_t>(font.begin(), font.end()), expected) << c.face;
    }
}

}  // namespace
