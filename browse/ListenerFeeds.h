#pragma once
// What the pages show of a listener: today's recommended songs, the
// service's record of the week and the library's playlists (all the
// account's), and the songs played on this machine. Each is a feed bound to
// its request.
//
// Lives on the UI thread, like its feeds; `client` must outlive it.
#include "api/CloudRecords.h"
#include "browse/Feed.h"
#include "player/ListeningHistory.h"

#include <string>
#include <vector>

class CloudApiClient;

class ListenerFeeds {
public:
    explicit ListenerFeeds(const CloudApiClient& client);

    Feed<SongItem>& dailySongs() { return dailySongs_; }
    BackgroundTask::Handle loadDailySongs(const std::string& accountCookie);

    Feed<SongItem>& playRecord() { return playRecord_; }
    BackgroundTask::Handle loadPlayRecord(const std::string& userId, const std::string& accountCookie);

    // The playlists of the user's library: made and subscribed to.
    Feed<CoverItem>& libraryPlaylists() { return libraryPlaylists_; }
    BackgroundTask::Handle loadLibraryPlaylists(const std::string& userId, const std::string& accountCookie);

    // The songs played here, newest first, as the history holds them now.
    Feed<SongItem>& playedHere() { return playedHere_; }
    BackgroundTask::Handle loadPlayedHere(const std::vector<PlayedSong>& history);

private:
    const CloudApiClient& client_;
    Feed<SongItem> dailySongs_;
    Feed<SongItem> playRecord_;
    Feed<SongItem> playedHere_;
    Feed<CoverItem> libraryPlaylists_;
};
