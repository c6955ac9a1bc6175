#pragma once
// One song's timed lyrics: the lines of the lyric list, and for each second
// of playback the text for the desktop window and the list item to select.
// Lines are found by their "mm:ss" time keys, by whole seconds.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct LyricItem {
    std::string text;  // the line, and with a translation "\r\n" and its translated line
    int height = 0;    // 75 with a translation, 50 without
};

// What one tick of the lyric timer shows.
struct LyricTick {
    std::optional<std::string> desktopText;  // empty: the desktop window keeps its text
    std::optional<int> selectedItem;         // 0-based list item to select and scroll to
};

class LyricTimeline {
public:
    static constexpr const char* kNoLyric = "没有歌曲匹配的歌词";
    static constexpr const char* kNotScrollable = "当前歌词不支持滚动";

    LyricTimeline() = default;

    // rawLyric: the lyric as cut from the raw answer, its line breaks real or
    // still escaped ("\n" as two characters); lyric: the same lyric as parsed from the
    // answer; translation: the parsed translation, empty when there is none.
    LyricTimeline(std::string rawLyric, std::string_view lyric, std::string translation);

    const std::vector<LyricItem>& items() const { return items_; }
    // Height of the lyric list holding every item, with room below the last.
    int listHeight() const;
    bool hasTranslation() const { return !translation_.empty(); }

    LyricTick tick(int seconds) const;

    // "mm:ss" for a playback second, each part padded to two digits.
    static std::string timeKey(int seconds);

    // The line of `text` tagged with `key`: the last matching line wins, and
    // its trailing line break (escaped or real) is dropped.
    static std::string lineAt(std::string_view text, std::string_view key);

private:
    std::string rawLyric_;
    std::string translation_;
    std::vector<std::string> timeKeys_;
    std::vector<LyricItem> items_;
};

// The pieces of `text` between each `left` marker and the next `right` marker
// after it, with or without the markers; the search for the next piece
// resumes just after the previous left marker.
std::vector<std::string> bracketedPieces(std::string_view text, std::string_view left, std::string_view right,
                                         bool withMarkers);
