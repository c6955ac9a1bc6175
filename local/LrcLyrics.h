#pragma once
// Lyrics of a song file from the `.lrc` file beside it (same name, the
// extension ".lrc"). A line whose time tag comes a second time is the
// translation of the first: the file's lines split into the lyric and its
// translation, each as time-tagged lines in time order, the form the lyric
// timeline reads. Lines with several time tags stand for each of them;
// lines without a time tag ([ar:], [ti:] and the like) are left out.
#include <string>
#include <string_view>

struct LrcLyrics {
    std::string lyric;        // "[mm:ss.xx]line\n" each
    std::string translation;  // the same form, empty when the file has none
};

// `text` in UTF-8 (a byte order mark is dropped) or, when it is not valid
// UTF-8, in GBK, as older lyric files are written.
LrcLyrics parseLrc(std::string_view text);

// Where the `.lrc` file of the song file at `songPath` is: beside it, its
// name without the last extension and ".lrc".
std::string lrcPathBeside(const std::string& songPath);

// The lyrics beside the song file at `songPath`; empty when there is no
// readable `.lrc` file (one larger than a megabyte is not taken).
LrcLyrics lyricsBeside(const std::string& songPath);
