#include "player/LyricTimeline.h"

#include <gtest/gtest.h>

namespace {

// A lyric as the raw answer holds it (line breaks escaped) and as parsed.
struct Lyric {
    std::string raw;
    std::string parsed;
};

Lyric lyricOf(std::initializer_list<const char*> lines) {
    Lyric lyric;
    for (const char* line : lines) {
        lyric.raw += std::string(line) + "\\n";
        lyric.parsed += std::string(line) + "\n";
    }
    return lyric;
}

TEST(LyricTimelineTest, TimeKeysAreMinutesAndSecondsOfTwoDigitsAtLeast) {
    struct Row {
        int seconds;
        const char* key;
    };
    for (Row row : {Row{0, "00:00"}, Row{9, "00:09"}, Row{83, "01:23"}, Row{5999, "99:59"}, Row{6000, "100:00"}})
        EXPECT_EQ(LyricTimeline::timeKey(row.seconds), row.key) << row.seconds;
}

TEST(LyricTimelineTest, LineAtFindsTheLastLineOfAKeyAndDropsItsLineBreak) {
    struct Row {
        const char* text;
        const char* key;
        const char* line;
    };
    for (Row row : {
             Row{"[00:01.00]one\\n[01:23.45]two\\n", "01:23", "two"},
             Row{"[01:23.10]early\\n[01:23.90]late\\n", "01:23", "late"},
             Row{"[00:01.00]第一\n[01:23.45]第二\n", "01:23", "第二"},
             Row{"[00:01.00]one\\n[01:23.45]last line", "01:23", "last line"},
             Row{"[00:01.00]one\\n", "02:00", ""},
             Row{"", "00:00", ""},
         })
        EXPECT_EQ(LyricTimeline::lineAt(row.text, row.key), row.line) << row.text;
}

TEST(LyricTimelineTest, PlainLyricMakesOneItemPerTaggedLine) {
    Lyric lyric = lyricOf({"[00:01.00]one", "[00:02.00][00:03.00]twice", "[01:23.45]four"});
    LyricTimeline timeline(lyric.raw, lyric.parsed, "");
    ASSERT_EQ(timeline.items().size(), 4u);
    EXPECT_EQ(timeline.items()[0].text, "one");
    EXPECT_EQ(timeline.items()[1].text, "") << "the first of two tags on one line gets an empty text";
    EXPECT_EQ(timeline.items()[2].text, "twice");
    EXPECT_EQ(timeline.items()[3].height, 50);
    EXPECT_EQ(timeline.listHeight(), 5 * 50 + 50);
}

TEST(LyricTimelineTest, TickShowsTheLineOfTheCurrentSecondAndSelectsItsFirstItem) {
    Lyric lyric = lyricOf({"[00:01.00]one", "[01:23.10]early", "[01:23.90]late"});
    LyricTimeline timeline(lyric.raw, lyric.parsed, "");

    LyricTick at83 = timeline.tick(83);
    EXPECT_EQ(at83.desktopText, "late") << "the desktop shows the last line of the second";
    EXPECT_EQ(at83.selectedItem, 1) << "the list selects the first line of the second";

    LyricTick between = timeline.tick(30);
    EXPECT_FALSE(between.desktopText.has_value());
    EXPECT_FALSE(between.selectedItem.has_value());
}

TEST(LyricTimelineTest, TranslationIsMergedAfterDroppingItsCreditLine) {
    Lyric lyric = lyricOf({"[00:01.00]one", "[00:02.00]two", "[00:03.00]three"});
    std::string translation = "[by:someone]\n[00:01.00]壹\n[00:02.00]贰\n";
    LyricTimeline timeline(lyric.raw, lyric.parsed, translation);

    ASSERT_EQ(timeline.items().size(), 3u);
    EXPECT_EQ(timeline.items()[0].text, "one\r\n壹\n");
    EXPECT_EQ(timeline.items()[1].text, "two\r\n贰\n");
    EXPECT_EQ(timeline.items()[2].text, "three") << "a line without a translated counterpart stands alone";
    for (const LyricItem& item : timeline.items()) EXPECT_EQ(item.height, 75);
    EXPECT_EQ(timeline.listHeight(), 4 * 75 + 50);

    EXPECT_EQ(timeline.tick(2).desktopText, "two\r\n贰");
    EXPECT_EQ(timeline.tick(3).desktopText, "three\r\n");
}

TEST(LyricTimelineTest, MissingOrUntimedLyricsShowTheirMessages) {
    LyricTimeline none("", "", "");
    EXPECT_TRUE(none.items().empty());
    EXPECT_EQ(none.tick(10).desktopText, LyricTimeline::kNoLyric);
    EXPECT_FALSE(none.tick(10).selectedItem.has_value());

    LyricTimeline untimed("just words\\nno tags", "just words\nno tags", "");
    EXPECT_TRUE(untimed.items().empty());
    EXPECT_EQ(untimed.tick(0).desktopText, LyricTimeline::kNotScrollable);
}

}  // namespace
