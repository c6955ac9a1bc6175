// The update log's entries, its line splitting and the height estimate the
// update-log window sizes its items with.
#include "maintenance/UpdateLog.h"

#include <gtest/gtest.h>

namespace {

struct HeightCase {
    const char* name;
    std::string content;
    std::int64_t estimate;
};

// Named in test listings by the case's name.
void PrintTo(const HeightCase& c, std::ostream* out) { *out << c.name; }

class LogTextHeight : public ::testing::TestWithParam<HeightCase> {};

TEST_P(LogTextHeight, EstimatesWrappedLines) {
    const HeightCase& c = GetParam();
    EXPECT_EQ(estimateLogTextHeight(c.content), c.estimate);
    EXPECT_EQ(updateLogItemHeight(c.content), c.estimate + 80);
}

std::string repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LogTextHeight,
    ::testing::Values(
        // 60 x 7 = 420 pixels: one wrapped line.
        HeightCase{"SixtyAsciiCharacters", std::string(60, 'x'), 14},
        // 40 x 7 = 280 pixels fit the first line.
        HeightCase{"FortyAsciiCharacters", std::string(40, 'x'), 0}, HeightCase{"Empty", "", 0},
        // Two one-letter lines: 2 x 14, neither wraps.
        HeightCase{"TwoShortLinesCrLf", "a\r\nb", 28}, HeightCase{"TwoShortLinesBareLf", "a\nb", 28},
        HeightCase{"TwoShortLinesBareCr", "a\rb", 28},
        // 25 ideographs x 14 = 350: exactly one more line; 24 do not wrap.
        HeightCase{"TwentyFiveIdeographs", repeat("新", 25), 14},
        HeightCase{"TwentyFourIdeographs", repeat("新", 24), 0},
        // In a text of several lines other characters count 6: 59 x 6 = 354
        // wraps, 58 x 6 = 348 does not.
        HeightCase{"SeveralLinesCountSixPerCharacter", std::string(59, 'x') + "\r\n" + std::string(58, 'x'), 28 + 14},
        // Characters just outside the range count as others.
        HeightCase{"OutsideTheIdeographRange", repeat("\xe9\xbe\xa6", 50), 14}),  // U+9FA6
    [](const ::testing::TestParamInfo<HeightCase>& info) { return std::string(info.param.name); });

TEST(UpdateLogItemHeight, IsHeldBelowTheLargestListHeight) {
    const std::string huge = repeat("新\n", 2'000'000);
    EXPECT_EQ(updateLogItemHeight(huge), 16777215);
}

TEST(UpdateLog, EntriesKeepTheirOrderWithLineBreaks) {
    const auto entries = parseUpdateLog(
        R"({"code":200,"data":[{"title":"Beta V1.1.5","content":"新增：频谱\\n修复：列表"},{"title":"Beta V1.1.4","content":"a\\nb\\"}]})");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].title, "Beta V1.1.5");
    EXPECT_EQ(entries[0].content, "新增：频谱\r\n修复：列表");
    EXPECT_EQ(entries[1].content, "a\r\nb\\");
}

TEST(UpdateLog, NotJsonOrNoMembersGivesNoEntry) {
    EXPECT_TRUE(parseUpdateLog("").empty());
    EXPECT_TRUE(parseUpdateLog("<html>").empty());
    EXPECT_TRUE(parseUpdateLog(R"({"data":[]})").empty());
    EXPECT_TRUE(parseUpdateLog(R"({"data":{}})").empty());
}

TEST(UpdateLog, LinesSplitAtEveryKindOfBreak) {
    EXPECT_EQ(splitLogLines("a\r\nb\nc\rd"), (std::vector<std::string_view>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLogLines("a\n\nb"), (std::vector<std::string_view>{"a", "", "b"}));
    EXPECT_EQ(splitLogLines("a\r\n"), (std::vector<std::string_view>{"a", ""}));
    EXPECT_TRUE(splitLogLines("").empty());
}

}  // namespace
