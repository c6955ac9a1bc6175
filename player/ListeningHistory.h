#pragma once
// The songs played on this machine, newest first: a song played again moves
// to the front, and only the newest kMostSongs are kept. Kept in a small
// JSON file in the data folder, rewritten atomically after every change, so
// the list survives a restart (and a crash leaves the last whole list).
// Lives on the UI thread.
#include <cstdint>
#include <string>
#include <vector>

struct PlayedSong {
    std::string id;
    std::string name;
    std::string artists;
    std::int64_t playedAtMs = 0;  // since 1970, UTC
};

class ListeningHistory {
public:
    static constexpr std::size_t kMostSongs = 300;

    // Reads the list kept at `path`; a missing or unreadable file is an
    // empty list, entries without an id are left out.
    explicit ListeningHistory(std::string path);

    const std::vector<PlayedSong>& songs() const { return songs_; }
    // Puts the song first and writes the file; a song without an id is not kept.
    void add(PlayedSong song);
    // Empties the list and the file.
    void clear();

private:
    void write() const;

    const std::string path_;
    std::vector<PlayedSong> songs_;
};
