#include "data/RegexMatcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* kCharsetPattern = R"(<meta.+?charset=[^\w]?([-\w]+))";

struct Options {
    bool caseSensitive = false;
    bool multiline = true;
    bool global = true;
    bool quotePlaceholder = false;
};
constexpr Options kDefaults{};
constexpr Options kCaseSensitive{true, true, true, false};
constexpr Options kSingleLine{false, false, true, false};
constexpr Options kFirstOnly{false, true, false, false};
constexpr Options kCounting{true, false, true, true};  // how the update log counts characters

std::vector<std::string> allMatches(const RegexMatcher& matcher) {
    std::vector<std::string> texts;
    for (int i = 1; i <= matcher.matchCount(); ++i) {
        texts.push_back(matcher.matchText(i));
    }
    return texts;
}

struct MatchCase {
    const char* pattern;
    std::string subject;
    Options options;
    std::vector<std::string> matches;
};

TEST(RegexMatcherTest, FindsMatchesAsEcmaScriptWould) {
    const MatchCase cases[] = {
        {"[\\u4e00-\\u9fa5]", "ab中文c", kCounting, {"中", "文"}},
        {"[^\\u4e00-\\u9fa5]", "ab中文c", kCounting, {"a", "b", "c"}},
        {"[^\\u4e00-\\u9fa5]", "é😀", kCounting, {"é", "😀"}},
        {"a", "aaa", kFirstOnly, {"a"}},
        {"abc", "ABC abc", kCaseSensitive, {"abc"}},
        {"abc", "ABC abc", kDefaults, {"ABC", "abc"}},
        {"ñ", "Ñ", kDefaults, {"Ñ"}},
        {"^b", "a\nb", kDefaults, {"b"}},
        {"^b", "a\r\nb", kDefaults, {"b"}},
        {"a$", "a\r\nb", kDefaults, {"a"}},
        {"^b", "a\nb", kSingleLine, {}},
        {"a$", "a\n", kSingleLine, {}},
        {"a$", "a\n", kDefaults, {"a"}},
        {"x*", "abc", kDefaults, {"", "", "", ""}},
        {"x*", "中", kDefaults, {"", ""}},
        {"\\w+", "héllo wörld", kDefaults, {"h", "llo", "w", "rld"}},
        {"\\x41\\u0042", "xABx", kCaseSensitive, {"AB"}},
        {"a[]", "a", kDefaults, {}},
        {"a[^]b", "a\nb", kDefaults, {"a\nb"}},
        {"(a)?b\\1", "b", kDefaults, {"b"}},
        {"<.+?>", "<a><b>", kDefaults, {"<a>", "<b>"}},
        {"b",
         "a\xFF"
         "b\xE4",
         kDefaults,
         {"b"}},
        {"", "ab", kDefaults, {"", "", ""}},
        {"title=#引号([^#引号]*)#引号", "<a title=\"x y\">", kCounting, {"title=\"x y\""}},
        {"#引号", "\"#引号", kDefaults, {"#引号"}},
        {"#引号", "\"#引号", kCounting, {"\""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " over " + c.subject);
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.execute(c.pattern, c.subject, c.options.caseSensitive, c.options.multiline,
                                    c.options.global, c.options.quotePlaceholder));
        EXPECT_EQ(allMatches(matcher), c.matches);
    }
}

TEST(RegexMatcherTest, CharsetPatternReadsTheDeclaredCharset) {
    const std::pair<std::string, std::string> cases[] = {
        {R"(<HTML><META http-equiv="Content-Type" content="text/html; charset=GB2312">)", "GB2312"},
        {R"(<meta charset="utf-8"><title>x</title>)", "utf-8"},
        {R"(<meta content="text/html;charset=gbk"/>)", "gbk"},
        {"<html><body>no declaration</body></html>", ""},
    };
    for (const auto& [body, charset] : cases) {
        SCOPED_TRACE(body);
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.execute(kCharsetPattern, body));
        EXPECT_EQ(matcher.subMatchText(1, 1), charset);
        EXPECT_EQ(matcher.matchCount(), charset.empty() ? 0 : 1);
    }
}

TEST(RegexMatcherTest, PositionsAreByteOffsetsOfMatchesAndGroups) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.execute("a", "中a a"));
    int position = 0;
    EXPECT_EQ(matcher.matchText(2, &position), "a");
    EXPECT_EQ(position, 5);
    EXPECT_EQ(matcher.matchText(1, &position), "a");
    EXPECT_EQ(position, 3);

    // A group's position is where the group matched, even when its text also
    // occurs earlier in the match.
    ASSERT_TRUE(matcher.execute("a(a)(x)?(b)", "中aab"));
    EXPECT_EQ(matcher.subMatchCount(), 3);
    const struct {
        int match, group;
        const char* text;
        int position;
    } groups[] = {
        {1, 1, "a", 4}, {1, 2, "", -1}, {1, 3, "b", 5}, {1, 4, "", -1},
        {1, 0, "", -1}, {2, 1, "", -1}, {0, 1, "", -1}, {-1, -1, "", -1},
    };
    for (const auto& g : groups) {
        SCOPED_TRACE(::testing::Message() << g.match << "/" << g.group);
        position = 0;
        EXPECT_EQ(matcher.subMatchText(g.match, g.group, &position), g.text);
        EXPECT_EQ(position, g.position);
    }
    for (int match : {0, 2, -5}) {
        position = 0;
        EXPECT_EQ(matcher.matchText(match, &position), "");
        EXPECT_EQ(position, -1);
    }
}

TEST(RegexMatcherTest, SubMatchCountIsZeroWithoutAMatch) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.execute("(a)(b)", "xyz"));
    EXPECT_EQ(matcher.subMatchCount(), 0);
    ASSERT_TRUE(matcher.execute("(a)(b)", "ab"));
    EXPECT_EQ(matcher.subMatchCount(), 2);
}

TEST(RegexMatcherTest, ReplaceExpandsEcmaScriptReferences) {
    const struct {
        const char* pattern;
        const char* subject;
        Options options;
        const char* replacement;
        const char* result;
    } cases[] = {
        {R"((\w+) (\w+))", "John Smith", kDefaults, "$2, $1", "Smith, John"},
        {"a", "banana", kDefaults, "[$&]", "b[a]n[a]n[a]"},
        {"a", "banana", kFirstOnly, "[$&]", "b[a]nana"},
        {"b", "abc", kDefaults, "[$`|$']", "a[a|c]c"},
        {"(a)", "a", kDefaults, "$$1 $0 $2 $01 $10 $", "$1 $0 $2 a a0 $"},
        {"(x)?b", "b", kDefaults, "[$1]", "[]"},
        {"x*", "ab", kDefaults, "-", "-a-b-"},
        {"[\\u4e00-\\u9fa5]", "a中b文", kDefaults, "*", "a*b*"},
        {"z", "abc", kDefaults, "*", "abc"},
        {"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)", "abcdefghijk", kDefaults, "$11$10$1", "kja"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pattern) + " -> " + c.replacement);
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.execute(c.pattern, c.subject, c.options.caseSensitive, c.options.multiline,
                                    c.options.global, c.options.quotePlaceholder));
        EXPECT_EQ(matcher.replace(c.replacement), c.result);
    }
}

TEST(RegexMatcherTest, AnUncompilablePatternEmptiesEveryQuery) {
    for (const char* pattern : {"(a", "a)", "[a", "a{2,1}", "\\", "\xFF", "(?<=a+)b"}) {
        SCOPED_TRACE(pattern);
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.execute("(a)", "a a"));
        EXPECT_FALSE(matcher.execute(pattern, "a a"));
        EXPECT_EQ(matcher.pattern(), "");
        EXPECT_EQ(matcher.matchCount(), 0);
        EXPECT_EQ(matcher.subMatchCount(), 0);
        EXPECT_EQ(matcher.matchText(1), "");
        EXPECT_EQ(matcher.subMatchText(1, 1), "");
        EXPECT_EQ(matcher.replace("x"), "");
    }
}

TEST(RegexMatcherTest, PatternIsEmptyUntilSetAndShowsResolvedQuotes) {
    RegexMatcher matcher;
    EXPECT_EQ(matcher.pattern(), "");
    ASSERT_TRUE(matcher.execute("a#引号b", "", true, false, true, true));
    EXPECT_EQ(matcher.pattern(), "a\"b");
    ASSERT_TRUE(matcher.execute("a#引号b", ""));
    EXPECT_EQ(matcher.pattern(), "a#引号b");
}

TEST(RegexMatcherTest, RunawayBacktrackingFailsInsteadOfHanging) {
    RegexMatcher matcher;
    EXPECT_FALSE(matcher.execute("(a+)+$", std::string(40, 'a') + "!"));
    EXPECT_EQ(matcher.matchCount(), 0);
}

}  // namespace
