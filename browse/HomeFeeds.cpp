#include "browse/HomeFeeds.h"

#include "api/CloudApiClient.h"

HomeFeeds::HomeFeeds(const CloudApiClient& client) : client_(client) {}

void HomeFeeds::loadAll(const std::string& accountCookie) {
    banners_.load([&client = client_](FeedWindow, ServiceStatus* status) { return client.fetchBanners(status); });
    dailyMvs_.load(
        [&client = client_](FeedWindow, ServiceStatus* status) { return client.fetchPersonalizedMvs(status); });
    loadRecommendedPlaylists(accountCookie);
    topArtists_.load([&client = client_](FeedWindow, ServiceStatus* status) { return client.fetchTopArtists(status); });
    newestAlbums_.load(
        [&client = client_](FeedWindow, ServiceStatus* status) { return client.fetchNewestAlbums(status); });
    firstMvs_.load(
        [&client = client_](FeedWindow, ServiceStatus* status) { return client.fetchFirstMvs(kFirstMvs, status); });
}

void HomeFeeds::loadRecommendedPlaylists(const std::string& accountCookie) {
    recommendedPlaylists_.load([&client = client_, accountCookie](FeedWindow, ServiceStatus* status) {
        return client.fetchRecommendedPlaylists(accountCookie, status);
    });
}
