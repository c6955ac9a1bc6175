#include "browse/CatalogueFeeds.h"

#include "api/CloudApiClient.h"

CatalogueFeeds::CatalogueFeeds(const CloudApiClient& client) : client_(client), home_(client), listener_(client) {}

BackgroundTask::Handle CatalogueFeeds::loadToplists() {
    return toplists_.load(
        [&client = client_](FeedWindow, ServiceStatus* status) { return client.fetchToplists(status); });
}

BackgroundTask::Handle CatalogueFeeds::loadCategoryPlaylists(const PlaylistCategory& category,
                                                             const std::string& accountCookie) {
    using Kind = PlaylistCategory::Kind;
    return categoryPlaylists_.load(
        [&client = client_, category, accountCookie](FeedWindow, ServiceStatus* status) -> std::vector<CoverItem> {
            switch (category.kind) {
                case Kind::All: return client.fetchAllPlaylists(accountCookie, status);
                case Kind::Recommended: return client.fetchPersonalizedPlaylists(accountCookie, status);
                case Kind::HighQuality: return client.fetchHighQualityPlaylists(status);
                case Kind::Tagged: break;
            }
            return client.fetchCategoryPlaylists(category.tag, status);
        });
}

BackgroundTask::Handle CatalogueFeeds::loadAllMvs() {
    return allMvs_.load([&client = client_](FeedWindow, ServiceStatus* status) { return client.fetchAllMvs(status); });
}

BackgroundTask::Handle CatalogueFeeds::searchSongs(const std::string& keyword) {
    return foundSongs_.load([&client = client_, keyword](FeedWindow, ServiceStatus* status) {
        return client.searchSongs(keyword, status);
    });
}

BackgroundTask::Handle CatalogueFeeds::searchArtists(const std::string& keyword) {
    return foundArtists_.load([&client = client_, keyword](FeedWindow, ServiceStatus* status) {
        return client.searchArtists(keyword, kArtistsInRow, status);
    });
}

BackgroundTask::Handle CatalogueFeeds::searchAlbums(const std::string& keyword) {
    return foundAlbums_.load([&client = client_, keyword](FeedWindow, ServiceStatus* status) {
        return client.searchAlbums(keyword, status);
    });
}

BackgroundTask::Handle CatalogueFeeds::searchPlaylists(const std::string& keyword) {
    return foundPlaylists_.load([&client = client_, keyword](FeedWindow, ServiceStatus* status) {
        return client.searchPlaylists(keyword, status);
    });
}

BackgroundTask::Handle CatalogueFeeds::searchAllArtists(const std::string& keyword) {
    return allFoundArtists_.load([&client = client_, keyword](FeedWindow, ServiceStatus* status) {
        return client.searchArtists(keyword, kAllArtists, status);
    });
}

void CatalogueFeeds::openPlaylist(const std::string& id, const std::string& accountCookie) {
    playlistHeader_.load([&client = client_, id, accountCookie](FeedWindow, ServiceStatus* status) {
        return std::vector<PlaylistDetail>{client.fetchPlaylistDetail(id, accountCookie, status)};
    });
    playlistTracks_.load([&client = client_, id, accountCookie](FeedWindow window, ServiceStatus* status) {
        return client.fetchPlaylistTracks(id, window.limit, window.offset, accountCookie, status);
    });
}

BackgroundTask::Handle CatalogueFeeds::openAlbum(const std::string& id) {
    return album_.load([&client = client_, id](FeedWindow, ServiceStatus* status) {
        return std::vector<AlbumDetail>{client.fetchAlbum(id, status)};
    });
}

// Returns the header's request.
BackgroundTask::Handle CatalogueFeeds::openArtist(const std::string& id) {
    artistTopSongs_.load([&client = client_, id](FeedWindow, ServiceStatus* status) {
        std::vector<SongItem> songs = client.fetchArtistTopSongs(id, status);
        if (songs.size() > size_t(kArtistTopSongs)) songs.resize(size_t(kArtistTopSongs));
        return songs;
    });
    artistAlbums_.load([&client = client_, id](FeedWindow, ServiceStatus* status) {
        return client.fetchArtistAlbums(id, kArtistPageItems, status);
    });
    artistMvs_.load([&client = client_, id](FeedWindow, ServiceStatus* status) {
        return client.fetchArtistMvs(id, kArtistPageItems, status);
    });
    return artistHeader_.load([&client = client_, id](FeedWindow, ServiceStatus* status) {
        return std::vector<ArtistDetail>{client.fetchArtistDetail(id, status)};
    });
}

BackgroundTask::Handle CatalogueFeeds::openAllArtistMvs(const std::string& id) {
    return allArtistMvs_.load(
        [&client = client_, id](FeedWindow, ServiceStatus* status) { return client.fetchAllArtistMvs(id, status); });
}
