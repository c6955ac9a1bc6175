#include "browse/ListenerFeeds.h"

#include "api/CloudApiClient.h"

ListenerFeeds::ListenerFeeds(const CloudApiClient& client) : client_(client) {}

BackgroundTask::Handle ListenerFeeds::loadDailySongs(const std::string& accountCookie) {
    return dailySongs_.load([&client = client_, accountCookie](FeedWindow, ServiceStatus* status) {
        return client.fetchDailySongs(accountCookie, status);
    });
}

BackgroundTask::Handle ListenerFeeds::loadPlayRecord(const std::string& userId, const std::string& accountCookie) {
    return playRecord_.load([&client = client_, userId, accountCookie](FeedWindow, ServiceStatus* status) {
        return client.fetchPlayRecord(userId, accountCookie, status);
    });
}

BackgroundTask::Handle ListenerFeeds::loadLibraryPlaylists(const std::string& userId,
                                                           const std::string& accountCookie) {
    return libraryPlaylists_.load([&client = client_, userId, accountCookie](FeedWindow, ServiceStatus* status) {
        return client.fetchUserPlaylists(userId, accountCookie, status);
    });
}

// The task gets its own copy: the history goes on changing on the UI thread.
BackgroundTask::Handle ListenerFeeds::loadPlayedHere(const std::vector<PlayedSong>& history) {
    std::vector<SongItem> songs;
    for (const PlayedSong& song : history) songs.push_back({song.id, song.name, song.artists});
    return playedHere_.load([songs = std::move(songs)](FeedWindow, ServiceStatus*) { return songs; });
}
