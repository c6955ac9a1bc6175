#pragma once
// What FFmpeg reads of a song file without decoding its sound: the tags,
// the duration and the embedded cover. Safe on any thread.
#include <cstdint>
#include <optional>
#include <string>

struct SongTags {
    std::string title, artists, album;  // empty where the file has no such tag
    std::int64_t durationMs = 0;
};

// The file's tags and duration; nothing when FFmpeg cannot open it or it
// holds no audio stream.
std::optional<SongTags> readSongTags(const std::string& path);

// The bytes of the picture the file carries as its cover (an attached
// picture stream); empty when it has none or cannot be read.
std::string readEmbeddedCover(const std::string& path);
