#pragma once
// One scan of the watched folders into the local index: every song file
// below them (by extension) is looked at; a file whose size and
// modification time match what the index saw is not read again, a new or
// changed one is read by FFmpeg, and files gone from the folders leave the
// index once the scan has seen every folder. Files are committed in
// batches, so a scan killed midway keeps what it committed.
//
// Threads: runs wholly on the calling thread (a background task), with an
// index connection of its own; it stops early, committing what it read,
// when the task is asked to stop (base/TaskStop.h).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct ScanProgress {
    int done = 0;   // files looked at so far
    int total = 0;  // song files found below the folders
};

struct ScanResult {
    int total = 0;      // song files found
    int read = 0;       // files read by FFmpeg (new or changed)
    int unchanged = 0;  // files skipped: size and modification time as indexed
    int removed = 0;    // index entries of files no longer there
    // Song files that could not be read, each once, in path order (those
    // read before and unchanged since included); they are not played.
    std::vector<std::string> unreadable;
    // Every folder walked (the watched ones and those below), for a watcher.
    std::vector<std::string> directories;
    bool finished = false;  // false when stopped early or the index could not be opened
};

// Extensions (lower case, without the dot) of the files a scan takes as songs.
bool isSongFileName(const std::string& fileName);

// Scans `folders` into the index at `indexPath`, reporting progress after
// each committed batch and at the end.
ScanResult scanFolders(const std::vector<std::string>& folders, const std::string& indexPath,
                       const std::function<void(const ScanProgress&)>& progress);
