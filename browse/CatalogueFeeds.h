#pragma once
// The service's lists that the catalogue pages show, each a feed bound to
// its request: pages ask a feed to load and draw what it holds, and never
// call the service client themselves.
//
// Lives on the UI thread, like its feeds; `client` must outlive it.
#include "api/CloudRecords.h"
#include "browse/Feed.h"
#include "browse/HomeFeeds.h"
#include "browse/ListenerFeeds.h"

#include <string>

class CloudApiClient;

// Which playlists a category of the discover page lists.
struct PlaylistCategory {
    enum class Kind { All, Recommended, HighQuality, Tagged };
    Kind kind = Kind::All;
    std::string tag;  // the service's category name, for Tagged
};

class CatalogueFeeds {
public:
    explicit CatalogueFeeds(const CloudApiClient& client);

    // The home page's sections.
    HomeFeeds& home() { return home_; }
    // The listener's song lists.
    ListenerFeeds& listener() { return listener_; }

    // The service's charts.
    Feed<CoverItem>& toplists() { return toplists_; }
    BackgroundTask::Handle loadToplists();

    // The playlists of one discover category; the account's cookie
    // personalises "all" and "recommended".
    Feed<CoverItem>& categoryPlaylists() { return categoryPlaylists_; }
    BackgroundTask::Handle loadCategoryPlaylists(const PlaylistCategory& category, const std::string& accountCookie);

    // Every MV the service lists.
    Feed<CoverItem>& allMvs() { return allMvs_; }
    BackgroundTask::Handle loadAllMvs();

    // One playlist: its header (a list of one) and its songs, which come a
    // page of kPlaylistPageSize at a time. The account's cookie shows a
    // private playlist of the account's.
    static constexpr int kPlaylistPageSize = 200;
    Feed<PlaylistDetail>& playlistHeader() { return playlistHeader_; }
    Feed<SongItem>& playlistTracks() { return playlistTracks_; }
    void openPlaylist(const std::string& id, const std::string& accountCookie);

    // One artist: the header (a list of one), the most popular songs, the
    // first albums and MVs the artist page shows, and every MV for the
    // artist-MV page.
    static constexpr int kArtistPageItems = 10;
    static constexpr int kArtistTopSongs = 10;
    Feed<ArtistDetail>& artistHeader() { return artistHeader_; }
    Feed<SongItem>& artistTopSongs() { return artistTopSongs_; }
    Feed<CoverItem>& artistAlbums() { return artistAlbums_; }
    Feed<CoverItem>& artistMvs() { return artistMvs_; }
    Feed<CoverItem>& allArtistMvs() { return allArtistMvs_; }
    BackgroundTask::Handle openArtist(const std::string& id);
    BackgroundTask::Handle openAllArtistMvs(const std::string& id);

    // One album with its songs, which come in the same answer (a list of one).
    Feed<AlbumDetail>& album() { return album_; }
    BackgroundTask::Handle openAlbum(const std::string& id);

    // What a search finds for a keyword: songs, the first artists, albums
    // and playlists, and the longer artist list of the all-artists page.
    Feed<SongItem>& foundSongs() { return foundSongs_; }
    Feed<CoverItem>& foundArtists() { return foundArtists_; }
    Feed<CoverItem>& foundAlbums() { return foundAlbums_; }
    Feed<CoverItem>& foundPlaylists() { return foundPlaylists_; }
    Feed<CoverItem>& allFoundArtists() { return allFoundArtists_; }
    BackgroundTask::Handle searchSongs(const std::string& keyword);
    BackgroundTask::Handle searchArtists(const std::string& keyword);
    BackgroundTask::Handle searchAlbums(const std::string& keyword);
    BackgroundTask::Handle searchPlaylists(const std::string& keyword);
    BackgroundTask::Handle searchAllArtists(const std::string& keyword);

    // How many artists the search page's row and the all-artists page show.
    static constexpr int kArtistsInRow = 3;
    static constexpr int kAllArtists = 50;

private:
    const CloudApiClient& client_;
    HomeFeeds home_;
    ListenerFeeds listener_;
    Feed<CoverItem> toplists_;
    Feed<CoverItem> categoryPlaylists_;
    Feed<CoverItem> allMvs_;
    Feed<PlaylistDetail> playlistHeader_;
    Feed<SongItem> playlistTracks_{kPlaylistPageSize};
    Feed<ArtistDetail> artistHeader_;
    Feed<SongItem> artistTopSongs_;
    Feed<CoverItem> artistAlbums_;
    Feed<CoverItem> artistMvs_;
    Feed<CoverItem> allArtistMvs_;
    Feed<AlbumDetail> album_;
    Feed<SongItem> foundSongs_;
    Feed<CoverItem> foundArtists_;
    Feed<CoverItem> foundAlbums_;
    Feed<CoverItem> foundPlaylists_;
    Feed<CoverItem> allFoundArtists_;
};
