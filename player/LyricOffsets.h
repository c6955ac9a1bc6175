#pragma once
// How far each song's lyrics are shifted, in milliseconds (positive: shown
// earlier), as the user set it from the now-playing view. Kept in a small
// JSON file in the data folder, rewritten atomically on each change; only
// songs with a shift are kept, at most kMostSongs of them (the newest
// changes). Lives on the UI thread.
#include <string>
#include <utility>
#include <vector>

class LyricOffsets {
public:
    static constexpr int kStepMs = 500;
    static constexpr std::size_t kMostSongs = 1000;
    // The furthest a shift goes either way.
    static constexpr int kLimitMs = 60000;

    // Reads the offsets kept at `path`; an empty path keeps nothing.
    explicit LyricOffsets(std::string path);

    int offsetOf(const std::string& songId) const;
    // Sets the song's shift (within the limit) and writes the file; returns
    // the shift now in force.
    int set(const std::string& songId, int offsetMs);

private:
    void write() const;

    std::string path_;
    std::vector<std::pair<std::string, int>> offsets_;  // newest change last
};
