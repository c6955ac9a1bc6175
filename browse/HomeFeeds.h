#pragma once
// The home page's sections as feeds bound to their requests: the banners,
// the daily MVs, the recommended playlists (personalised by the account),
// the top artists, the newest albums and the first MVs.
//
// Lives on the UI thread, like its feeds; `client` must outlive it.
#include "api/CloudRecords.h"
#include "api/PackedItem.h"
#include "browse/Feed.h"

#include <string>

class CloudApiClient;

class HomeFeeds {
public:
    static constexpr int kFirstMvs = 10;

    explicit HomeFeeds(const CloudApiClient& client);

    Feed<PackedItem>& banners() { return banners_; }
    Feed<PackedItem>& dailyMvs() { return dailyMvs_; }
    Feed<CoverItem>& recommendedPlaylists() { return recommendedPlaylists_; }
    Feed<CoverItem>& topArtists() { return topArtists_; }
    Feed<CoverItem>& newestAlbums() { return newestAlbums_; }
    Feed<CoverItem>& firstMvs() { return firstMvs_; }

    // Every section at once.
    void loadAll(const std::string& accountCookie);
    // What the account personalises, after a login or log-out.
    void loadRecommendedPlaylists(const std::string& accountCookie);

private:
    const CloudApiClient& client_;
    Feed<PackedItem> banners_;
    Feed<PackedItem> dailyMvs_;
    Feed<CoverItem> recommendedPlaylists_;
    Feed<CoverItem> topArtists_;
    Feed<CoverItem> newestAlbums_;
    Feed<CoverItem> firstMvs_;
};
