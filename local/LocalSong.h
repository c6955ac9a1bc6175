#pragma once
// A song file of the user's own, as the local index keeps it. Its id is
// "local_" and a digest of its path, so it stays the same between scans and
// index rebuilds and holds only characters every song id may hold (the
// queue, the history, the media controls' track ids and cover file names
// take it as they take the service's ids).
#include <cstdint>
#include <string>
#include <string_view>

struct LocalSong {
    std::string songId;
    std::string path;     // absolute, UTF-8
    std::string title;    // the title tag, else the file's name without its extension
    std::string artists;  // the artist tag; empty when the file has none
    std::string album;
    std::int64_t durationMs = 0;
    std::int64_t size = 0;        // bytes, when indexed
    std::int64_t modifiedNs = 0;  // last modification, nanoseconds since the epoch, when indexed
};

// The id of the song file at `path`.
std::string localSongId(std::string_view path);

// True for ids localSongId() makes.
bool isLocalSongId(std::string_view songId);
