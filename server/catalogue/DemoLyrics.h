#pragma once
// The lyric texts of the demo songs in the service's LRC convention: one line
// per time tag "[mm:ss.xx]", the translation with the same tags and a credit
// line first; generated from short verses in the song's language and spread
// over the song's length.
#include <string>

#include "server/catalogue/Catalogue.h"

struct LyricTexts {
    std::string lyric;        // lrc.lyric
    std::string translation;  // tlyric.lyric; empty when there is none
    // yrc.lyric: a credit line in JSON, then each line as "[start,length]"
    // followed by its words as "(start,length,0)word", in milliseconds;
    // empty for untimed lyrics.
    std::string wordLyric;
};

// The texts of a song whose lyric kind is Timed, TimedSharedTags or Untimed.
LyricTexts lyricTextsOf(const Catalogue& catalogue, const Song& song);

// The single line the service sends for pure music.
inline constexpr const char* kPureMusicLyric = "[99:00.00]纯音乐，请欣赏\n";
