#pragma once
// A song's word-timed lyrics (the service's "yrc"), as a value: each line with
// its start and length and each word with its own, all in milliseconds of the
// song. Which line is sung at a moment, how much of it is sung and when the
// next line starts are pure functions of the moment, so whatever clock drives
// them (the audio position) decides the timing alone.
//
// The text has one line per line break: "[start,length]" followed by the
// words, each "(start,length,0)word"; credit lines are JSON objects
// {"t":start,"c":[{"tx":"text"},...]} and become lines of one word. Lines
// that fit neither form are left out.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct SungWord {
    int startMs = 0;
    int lengthMs = 0;
    std::string text;
};

struct SungLine {
    int startMs = 0;
    int lengthMs = 0;
    std::vector<SungWord> words;

    std::string text() const;
};

class WordLyrics {
public:
    WordLyrics() = default;
    // Lines in time order, whatever order the text has them in.
    static WordLyrics parse(std::string_view text);

    bool empty() const { return lines_.empty(); }
    const std::vector<SungLine>& lines() const { return lines_; }

    // The line sung at `ms`: the last one started at or before it; nothing
    // before the first line.
    std::optional<int> lineAt(int ms) const;
    // How much of line `line` is sung at `ms`, from 0 (nothing) to 1 (all):
    // the words before the one being sung count whole, that one by the part
    // of its length gone by; each word counts by its characters' bytes.
    double fillAt(int line, int ms) const;
    // The start of the first line after `ms`; nothing after the last.
    std::optional<int> nextLineStartAfter(int ms) const;
    // Whether a word of the line sung at `ms` is still filling.
    bool fillingAt(int ms) const;
    // How much of the lyric text `shown` (a line, or a line with its
    // translation after a line break) is sung while line `line` is sung
    // `fill` of the way: `fill` where the first line of `shown` is that
    // line's text, nothing where it is another line (the line lyrics and
    // the words change lines at slightly different moments).
    std::optional<double> sungPartOf(std::string_view shown, int line, double fill) const;

private:
    std::vector<SungLine> lines_;
};
