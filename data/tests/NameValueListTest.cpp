#include "data/NameValueList.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs pairsOf(const NameValueList& list) {
    Pairs pairs;
    for (std::size_t i = 0; i < list.names().size(); ++i) {
        pairs.emplace_back(list.names()[i], list.values()[i]);
    }
    return pairs;
}

NameValueList listOf(const Pairs& pairs) {
    NameValueList list;
    for (const auto& [name, value] : pairs) {
        list.add(name, value);
    }
    return list;
}

TEST(NameValueListTest, ParseQuerySplitsItemsAtTheFirstAndLastEqualsSign) {
    const std::pair<const char*, Pairs> cases[] = {
        {"x=1&y=2&x=3", {{"x", "1"}, {"y", "2"}, {"x", "3"}}},
        {"a=b=c", {{"a", "c"}}},
        {"flag&k=", {{"", ""}, {"k", ""}}},
        {"k=v&", {{"k", "v"}}},
        {"&&k=v", {{"", ""}, {"", ""}, {"k", "v"}}},
        {"名=值", {{"名", "值"}}},
        {"", {}},
    };
    for (const auto& [query, pairs] : cases) {
        SCOPED_TRACE(query);
        NameValueList list;
        list.parseQuery(query);
        EXPECT_EQ(pairsOf(list), pairs);
    }
}

TEST(NameValueListTest, GetSetAndRemoveActOnTheFirstPairOfAName) {
    NameValueList list;
    list.parseQuery("x=1&y=2&x=3");
    EXPECT_EQ(list.get("x"), "1");
    EXPECT_EQ(list.get("X"), "");
    EXPECT_EQ(list.get("z"), "");

    EXPECT_EQ(list.set("x", "9"), "9");
    EXPECT_EQ(list.set("z", "new"), "new");
    EXPECT_EQ(pairsOf(list), (Pairs{{"x", "9"}, {"y", "2"}, {"x", "3"}, {"z", "new"}}));

    list.remove("x");
    list.remove("missing");
    EXPECT_EQ(pairsOf(list), (Pairs{{"y", "2"}, {"x", "3"}, {"z", "new"}}));
    EXPECT_EQ(list.get("x"), "3");

    NameValueList copy = list;
    list.clear();
    EXPECT_EQ(pairsOf(list), Pairs{});
    EXPECT_EQ(copy.get("z"), "new");
}

TEST(NameValueListTest, HeaderBlockJoinsLinesWithoutATrailingBreak) {
    const std::string userAgent =
        "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/50.0.2661.87 "
        "Safari/537.36";
    EXPECT_EQ(listOf({{"User-Agent", userAgent}}).toHeaderBlock(), "User-Agent: " + userAgent);
    EXPECT_EQ(listOf({{"A", "1"}, {"B", "2"}}).toHeaderBlock(), "A: 1\r\nB: 2");
    EXPECT_EQ(NameValueList().toHeaderBlock(), "");
    EXPECT_EQ(listOf({{"X-Name", "a b/中"}}).toHeaderBlock(true), "X-Name: a+b%2F%D6%D0");
}

TEST(NameValueListTest, QueryStringEncodesGbkOrUtf8BytesAsThePairWasAdded) {
    EXPECT_EQ(listOf({{"q", "a b"}}).toQueryString(true), "q=a+b");
    EXPECT_EQ(listOf({{"q", "a b"}, {"n", "1"}}).toQueryString(false), "q=a b&n=1");
    EXPECT_EQ(NameValueList().toQueryString(true), "");

    NameValueList list;
    list.add("关键", "中", false);
    list.add("词", "中&(x)", true);
    EXPECT_EQ(list.toQueryString(true), "%B9%D8%BC%FC=%D6%D0&%E8%AF%8D=%E4%B8%AD%26(x)");
    EXPECT_EQ(list.toHeaderBlock(true), "关键: %D6%D0\r\n词: %E4%B8%AD%26(x)");
    list.set("词", "中");  // a value set later is a plain text again
    EXPECT_EQ(list.toQueryString(true), "%B9%D8%BC%FC=%D6%D0&%E8%AF%8D=%D6%D0");

    NameValueList parsed;
    parsed.parseQuery("k=中", true);
    EXPECT_EQ(parsed.toQueryString(true), "k=%E4%B8%AD");
}

TEST(NameValueListTest, JsonObjectEscapesOnlyTheQuotesOfValues) {
    EXPECT_EQ(NameValueList().toJsonObject(), "{}");
    EXPECT_EQ(listOf({{"a", "1"}, {"b", "x\"y"}}).toJsonObject(), R"({"a":"1","b":"x\"y"})");
    EXPECT_EQ(listOf({{"n", "a\\b\n"}}).toJsonObject(), "{\"n\":\"a\\b\n\"}");
}

TEST(NameValueListTest, EscapeQuotesAndStripSeparator) {
    EXPECT_EQ(NameValueList::escapeQuotes(R"("a"b"")"), R"(\"a\"b\"\")");
    EXPECT_EQ(NameValueList::escapeQuotes("中文'"), "中文'");
    const struct {
        const char* text;
        const char* separator;
        const char* result;
    } cases[] = {
        {"a,b,", ",", "a,b"}, {",a,b,", ",", "a,b"}, {",a,b", ",", "a,b"}, {",,", ",", ""},    {",", ",", ""},
        {"a;;", ";;", "a"},   {"abc", "", "abc"},    {"", ",", ""},        {"a,,", ",", "a,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.separator);
        EXPECT_EQ(NameValueList::stripSeparator(c.text, c.separator), c.result);
    }
}

}  // namespace
