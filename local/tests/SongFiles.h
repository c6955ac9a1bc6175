#pragma once
// Short tagged song files made with the ffmpeg command, for the local music
// tests and the scan benchmark.
#include <string>
#include <vector>

struct SongFileSpec {
    std::string name;                  // file name; its extension picks the container
    std::string title, artist, album;  // no tag where empty
    double seconds = 1.0;
    bool withCover = false;  // an attached 8x8 PNG cover
};

// Makes each file in `folder` (which must exist) with one ffmpeg run for
// all of them; throws when ffmpeg fails.
void makeSongFiles(const std::string& folder, const std::vector<SongFileSpec>& songs);

void writeFile(const std::string& path, const std::string& bytes);
