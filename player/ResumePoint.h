#pragma once
// Where listening stopped: the queue, the song, its position, the volume,
// the play mode and whether the song came from the personal FM, kept in a small JSON file in the data folder so the
// next start comes back to them (paused at the position). Read and written whole, atomically; a missing or unreadable
// file is no resume point.
#include <optional>
#include <string>
#include <vector>

struct ResumePoint {
    std::vector<std::string> queue;
    int queuePosition = 1;  // from 1, as the queue counts
    std::string songId;     // empty: nothing was on show
    int positionSeconds = 0;
    std::optional<int> volume;
    std::string mode;  // the stored text of the play mode; empty for none
    bool fm = false;   // the song was personal FM's, which plays on from it

    static std::optional<ResumePoint> read(const std::string& path);
    bool write(const std::string& path) const;
};
