#pragma once
// Where a play finds what it needs of a song: the service for its songs,
// and the song file with the `.lrc` beside it for the user's own songs
// (their ids come from localSongId). The play flow asks here and never
// needs to know which kind of song it plays.
//
// Threads: every call is safe on any thread; the index path is guarded by
// a mutex, the rest is fixed at construction.
#include "api/CloudApiClient.h"
#include "api/CloudRecords.h"
#include "audio/AudioEngine.h"

#include <mutex>
#include <string>
#include <utility>

class SongLookup {
public:
    SongLookup(const CloudApiClient& api, std::string serviceCookie)
        : api_(api), serviceCookie_(std::move(serviceCookie)) {}

    // The local index the user's own songs are found in (none before).
    void setLocalIndex(std::string indexPath);

    // The stream's address: for a local song its file's path ("null" when
    // the index has no such song).
    SongStream stream(const std::string& songId) const;
    // How the engine opens the address stream() gave.
    static StreamSource source(const std::string& songId, const SongStream& address);
    SongDetail detail(const std::string& songId) const;
    // The cover's bytes: fetched from the detail's address, or the picture
    // a local file carries.
    std::string cover(const std::string& songId, const SongDetail& detail) const;
    std::string rawLyric(const std::string& songId) const;
    // The lyric, its translation and (the service's songs only) the words timed.
    SongLyrics lyric(const std::string& songId) const;
    // Whether the song can play now (a local one: its file is there).
    bool isAvailable(const std::string& songId) const;

private:
    std::string localIndex() const;
    // The local song's file path, when it is indexed and on disk.
    std::string localPath(const std::string& songId) const;

    const CloudApiClient& api_;
    const std::string serviceCookie_;
    mutable std::mutex mutex_;
    std::string localIndex_;  // guarded by mutex_
};
