#include "net/HeaderUtils.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

struct BlockCase {
    std::string input;
    std::string expected;
};

TEST(NormalizeHeaderNamesTest, CapitalisesNameWordsAndDropsLinesWithoutColon) {
    const BlockCase cases[] = {
        {"user-agent: X\r\ncontent-TYPE:y\r\nbroken line\r\n", "User-Agent: X\r\nContent-TYPE:y"},
        {"x-requested-with: a", "X-Requested-With: a"},
        {"cookie:a=b", "Cookie:a=b"},
        {"", ""},
        {"\r\n\r\n", ""},
        {"HTTP/1.1 200 OK\r\nlocation: /x\r\n\r\n", "Location: /x"},
        {"a-b-c: x-y-z", "A-B-C: x-y-z"},  // the value is left exactly as it was
        {"1-a:b", "1-A:b"},
        {"über-x: 1", "über-X: 1"},
        {"a: 1\nb: 2", "A: 1\r\nB: 2"},  // a bare LF ends a line too
        {"x:  spaced  \r\n", "X:  spaced  "},
    };
    for (const BlockCase& c : cases) EXPECT_EQ(normalizeHeaderNames(c.input), c.expected) << c.input;
}

TEST(HeaderValueTest, ReadsTheFirstLineStartingWithTheName) {
    struct Case {
        std::string block;
        std::string name;
        std::string expected;
    };
    const Case cases[] = {
        {"Connection: keep-alive\r\nX: y", "Connection", "keep-alive"},
        {"Connection: keep-alive\r\nX: y", "connection", ""},
        {"Connection-X: 1\r\nConnection: close", "Connection", ""},  // only the first prefix match counts
        {"X: y", "Z", ""},
        {"", "X", ""},
        {"X: y", "", ""},
        {"X:y", "X", ""},
        {"X: a: X: b", "X", "b"},
        {"Set-Cookie: a=1\r\nSet-Cookie: b=2", "Set-Cookie", "a=1"},
        {"HTTP/1.1 302 Found\r\nLocation: http://h/a?b=1\r\n\r\n", "Location", "http://h/a?b=1"},
        // "中" only begins with the byte E4; the later stray E4 is a whole character
        {"中文: 1\r\n\xE4: 2", "\xE4", "2"},
        {"中文: 1", "中文", "1"},
    };
    for (const Case& c : cases) EXPECT_EQ(headerValue(c.block, c.name), c.expected) << c.block << " / " << c.name;
}

TEST(CollectSetCookiesTest, KeepsNameValueOfEachSetCookieLine) {
    const BlockCase cases[] = {
        {"Set-Cookie: a=1; Path=/\r\nContent-Type: x\r\nSet-Cookie: b=2", "a=1; b=2"},
        {"HTTP/1.1 200 OK\r\nContent-Type: x\r\n\r\n", ""},
        {"Set-Cookie: a=1", "a=1"},
        {"set-cookie: a=1", ""},  // the name is compared case-sensitively
        {"Set-Cookie:a=1", ""},
        {"Set-Cookie:  a=1 ; Expires=Wed, 21 Oct 2015 07:28:00 GMT", "a=1"},
        {"Set-Cookie: MUSIC_U=x; Max-Age=0; Path=/\r\n\r\n", "MUSIC_U=x"},
        {"Set-Cookie: \r\nSet-Cookie: ; Path=/\r\nSet-Cookie: a=1", "a=1"},  // no empty items
        {"Set-Cookie: a=1\nX-Other: 2", "a=1"},
        {"Set-Cookie: a=Set-Cookie:x", "a=Set-Cookie:x"},
        {"Set-Cookie: \u3000a=1\u3000", "a=1"},
        {"Set-Cookie: a=1\r\nSet-Cookie: a=1", "a=1; a=1"},
        {"Set-Cookie: a=1\rX: 2\r\nSet-Cookie: b=\0\r\nSet-Cookie: c=\t1"s, "c=\t1"},  // control characters
    };
    for (const BlockCase& c : cases) EXPECT_EQ(collectSetCookies(c.input), c.expected) << c.input;
}

TEST(CookieNameTest, TrimmedTextBeforeFirstEquals) {
    const BlockCase cases[] = {
        {"a=1", "a"}, {" a =1", "a"}, {"noequals ", "noequals"}, {"=v", ""}, {"", ""}, {"a=b=c", "a"},
    };
    for (const BlockCase& c : cases) EXPECT_EQ(cookieName(c.input), c.expected) << c.input;
}

TEST(MergeCookiesTest, ReceivedWinThenSurvivingSentFollow) {
    struct Case {
        std::string sent;
        std::string received;
        std::string expected;
    };
    const Case cases[] = {
        {"uid=1; token=old; lang=zh", "token=new; uid=deleted", "token=new; lang=zh"},
        {"", "a=1; b=deleted; a=1", "a=1"},
        {"a=1; a=1; b=deleted", "", "a=1"},
        {"a=1;", "", "a=1"},
        {"a=1;", "b=2;", "b=2; a=1"},
        {"x=undeleted", "", "x=undeleted"},
        {"deleted; =deleted", "", "deleted"},
        {"", "", ""},
        {"a=1; a=2", "", "a=1"},  // a later sent item loses to an earlier one of the same name
        {"a=1", "a=2; a=3", "a=2; a=3"},
        {" a=1 ", "b=2 ", "b=2; a=1"},
        {" a = 1", "a=2", "a=2"},
        {"a=1; ; b=2", "", "a=1; b=2"},  // empty items are dropped
        {"\u3000a=1\u3000", "", "a=1"},
        {"a=1\r\nX: y; b=2", "c=\x7F", "b=2"},  // items with control characters are never sent back
    };
    for (const Case& c : cases)
        EXPECT_EQ(mergeCookies(c.sent, c.received), c.expected) << "sent " << c.sent << " received " << c.received;
}

}  // namespace
