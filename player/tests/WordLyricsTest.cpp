// Word-timed lyrics as a value: parsing the service's text (credit lines,
// damaged lines, lines out of order), which line is sung and how much of it
// at a moment, and when the lyric timer must wake next.
#include "player/LyricSchedule.h"
#include "player/WordLyrics.h"

#include <gtest/gtest.h>

namespace {

// Two lines of a song, the second before the first in the text, a credit
// line, a line too damaged to read and a blank line.
const char* const kText =
    "{\"t\":0,\"c\":[{\"tx\":\"作词: \"},{\"tx\":\"林夏\",\"li\":\"http://p/1.jpg\"}]}\n"
    "[5000,2000](5000,1000,0)Hold (6000,1000,0)on\r\n"
    "[1000,3000](1000,1000,0)晚(2000,500,0)风(2500,1500,0)吹\n"
    "[oops](1,2,0)x\n"
    "\n";

TEST(WordLyricsTest, ParsesLinesInTimeOrderWithTheirWords) {
    const WordLyrics lyrics = WordLyrics::parse(kText);
    ASSERT_EQ(lyrics.lines().size(), 3u);
    EXPECT_EQ(lyrics.lines()[0].text(), "作词: 林夏");
    EXPECT_EQ(lyrics.lines()[1].text(), "晚风吹");
    EXPECT_EQ(lyrics.lines()[1].startMs, 1000);
    EXPECT_EQ(lyrics.lines()[1].lengthMs, 3000);
    ASSERT_EQ(lyrics.lines()[1].words.size(), 3u);
    EXPECT_EQ(lyrics.lines()[1].words[2].startMs, 2500);
    EXPECT_EQ(lyrics.lines()[1].words[2].lengthMs, 1500);
    EXPECT_EQ(lyrics.lines()[2].text(), "Hold on");
    EXPECT_TRUE(WordLyrics::parse("").empty());
    EXPECT_TRUE(WordLyrics::parse("[00:01.00]a line lyric\n").empty());
}

TEST(WordLyricsTest, TheClockDecidesTheLineAndItsFill) {
    const WordLyrics lyrics = WordLyrics::parse(kText);
    struct Case {
        int ms;
        std::optional<int> line;
        double fill;
    };
    // "晚", "风", "吹" are three bytes each: each word is a third of the line.
    const Case cases[] = {
        {-300, std::nullopt, 0.0},
        {0, 0, 1.0},  // a credit line has no timed words: shown whole
        {999, 0, 1.0},
        {1000, 1, 0.0},
        {1500, 1, 1.0 / 6},
        {2000, 1, 1.0 / 3},
        {2250, 1, 0.5},
        {3250, 1, 2.0 / 3 + 1.0 / 6},
        {4000, 1, 1.0},
        {4999, 1, 1.0},
        {5000, 2, 0.0},
        {6500, 2, 5.0 / 7 + 1.0 / 7},  // "Hold " is five bytes of seven, "on" half sung
        {99000, 2, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        EXPECT_EQ(lyrics.lineAt(c.ms), c.line);
        if (c.line) {
            EXPECT_NEAR(lyrics.fillAt(*c.line, c.ms), c.fill, 1e-9);
        }
    }
    EXPECT_EQ(lyrics.fillAt(7, 1000), 0.0);
}

// A list or window shows a line lyric; the fill goes to it only while it is
// the line being sung, whether it carries a translation or not.
TEST(WordLyricsTest, TheFillGoesOnlyToTheShownLineThatIsSung) {
    const WordLyrics lyrics = WordLyrics::parse(kText);
    struct Case {
        const char* shown;
        int line;
        std::optional<double> part;
    };
    const Case cases[] = {
        {"晚风吹", 1, 0.25},
        {"晚风吹\r\nThe evening wind", 1, 0.25},
        {"晚风吹\nThe evening wind\n", 1, 0.25},
        {"Hold on", 1, std::nullopt},  // the line after the one sung
        {"晚风吹过", 1, std::nullopt},
        {"", 1, std::nullopt},
        {"晚风吹", 5, std::nullopt},  // no such line
        {"晚风吹", -1, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        EXPECT_EQ(lyrics.sungPartOf(c.shown, c.line, 0.25), c.part);
    }
    EXPECT_EQ(WordLyrics().sungPartOf("晚风吹", 0, 0.5), std::nullopt) << "line lyrics alone fill nothing";
}

TEST(WordLyricsTest, TheTimerWakesJustAfterTheNextChange) {
    const WordLyrics words = WordLyrics::parse(kText);
    const WordLyrics none;
    struct Case {
        const char* name;
        const WordLyrics& lyrics;
        int ms;
        int wait;
    };
    const Case cases[] = {
        {"line lyrics: the next whole second", none, 4700, 300 + LyricSchedule::kWakeAfterMs},
        {"line lyrics: a second further than the longest wait", none, 4300, LyricSchedule::kLongestWaitMs},
        {"line lyrics: just after a second", none, 5001, 500},
        {"line lyrics: before the start", none, -200, 200 + LyricSchedule::kWakeAfterMs},
        {"words: the credit line waits for the first line", words, 600, 400 + LyricSchedule::kWakeAfterMs},
        {"words: a line filling redraws", words, 1200, LyricSchedule::kFillFrameMs},
        {"words: a frame never passes the next line", words, 4990, 10 + LyricSchedule::kWakeAfterMs},
        {"words: after the last line", words, 9000, LyricSchedule::kLongestWaitMs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LyricSchedule::msUntilNextChange(c.ms, c.lyrics), c.wait);
    }
}

}  // namespace
