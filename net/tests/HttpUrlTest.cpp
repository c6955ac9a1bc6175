#include "net/HttpUrl.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct SplitCase {
    std::string url;
    bool secure;
    std::string host;
    int port;
    std::string target;
};

TEST(HttpUrlTest, SplitsSchemeHostPortAndTarget) {
    const SplitCase cases[] = {
        {"http://Example.COM/a/B?c=D#frag", false, "example.com", 80, "/a/B?c=D"},
        {"HTTPS://Host/a", true, "host", 443, "/a"},
        {"https://host", true, "host", 443, "/"},
        {"https://host?x=1", true, "host", 443, "/"},  // a query without a path is not sent
        {"https://host#top", true, "host", 443, "/"},
        {"http://h:8080/x", false, "h", 8080, "/x"},
        {"http://h:/x", false, "h", 80, "/x"},
        {"http://user:secret@h/x", false, "h", 80, "/x"},
        {"http://[::1]:8080/x", false, "::1", 8080, "/x"},
        {"http://127.0.0.1/", false, "127.0.0.1", 80, "/"},
        {"http://h/a/../b", false, "h", 80, "/a/../b"},
    };
    for (const SplitCase& c : cases) {
        std::optional<HttpUrl> url = splitHttpUrl(c.url);
        ASSERT_TRUE(url) << c.url;
        EXPECT_EQ(url->secure, c.secure) << c.url;
        EXPECT_EQ(url->host, c.host) << c.url;
        EXPECT_EQ(url->port, c.port) << c.url;
        EXPECT_EQ(url->target, c.target) << c.url;
    }
}

TEST(HttpUrlTest, RefusesWhatCannotBeSplit) {
    const char* cases[] = {"ftp://h/x",
                           "h/x",
                           "",
                           "http://",
                           "http:///x",
                           "http://:80/x",
                           "http://h:0/",
                           "http://h:65536/",
                           "http://h:8o/",
                           "http://h h/x",
                           "http://[::1/x",
                           "http://[::1]x/"};
    for (const char* url : cases) EXPECT_FALSE(splitHttpUrl(url)) << url;
}

TEST(HttpUrlTest, SchemeMayBeLeftOutWhenAllowed) {
    std::optional<HttpUrl> url = splitHttpUrl("Lyrics.Host:81/lrc?id=1", true);
    ASSERT_TRUE(url);
    EXPECT_FALSE(url->secure);
    EXPECT_EQ(url->host, "lyrics.host");
    EXPECT_EQ(url->port, 81);
    EXPECT_EQ(url->target, "/lrc?id=1");
    EXPECT_FALSE(splitHttpUrl("gopher://h/", true));
}

TEST(HttpUrlTest, EscapesOnlyWhatMayNotAppearInATarget) {
    const std::pair<std::string, std::string> cases[] = {
        {"/p;a=1,b/c?x=1&y=2;z=%41~!$'()*+:@[]", "/p;a=1,b/c?x=1&y=2;z=%41~!$'()*+:@[]"},
        {"/login?cookie=MUSIC_U=ab cd; __csrf=x", "/login?cookie=MUSIC_U=ab%20cd;%20__csrf=x"},
        {"/q?\"a\"<b>\\^`{|}", "/q?%22a%22%3Cb%3E%5C%5E%60%7B%7C%7D"},
        {"/\t\r\n\x7f", "/%09%0D%0A%7F"},
        {"/歌", "/%E6%AD%8C"},
        {"/100%", "/100%25"},
        {"/%zz%4", "/%25zz%254"},
        {"/%e6%AD", "/%e6%AD"},
    };
    for (const auto& [target, expected] : cases) EXPECT_EQ(escapeRequestTarget(target), expected) << target;
}

TEST(HttpUrlTest, CurlUrlCarriesNoUserInformationAndAnExplicitPort) {
    EXPECT_EQ(splitHttpUrl("https://u:p@H/a b#f")->curlUrl(), "https://h:443/a%20b");
    EXPECT_EQ(splitHttpUrl("http://[::1]/x")->curlUrl(), "http://[::1]:80/x");
}

}  // namespace
