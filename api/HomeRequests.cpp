// The home page's sections and the MV requests.
#include "api/AnswerReading.h"
#include "api/CloudApiClient.h"
#include "api/ServiceRequest.h"

std::vector<PackedItem> CloudApiClient::fetchBanners() const {
    const JsonDocument answer =
        fetchJson(hosts_.serviceBase + "banner?type=0&timestamp=" + timestampMs(), RequestHeaders::BrowserAgent);
    std::vector<PackedItem> banners;
    const int count = answer.count("banners");
    for (int i = 0; i < count; ++i) {
        const std::string imageUrl = answer.getText(memberPath("banners", i, "imageUrl"));
        const std::string typeTitle = answer.getText(memberPath("banners", i, "typeTitle"));
        const std::string targetId = answer.getText(memberPath("banners", i, "targetId"));
        banners.push_back(PackedItem::banner(imageUrl, typeTitle, targetId));
    }
    return banners;
}

std::vector<PackedItem> CloudApiClient::fetchPersonalizedMvs() const {
    const JsonDocument answer =
        fetchJson(hosts_.serviceBase + "personalized/mv?timestamp=" + timestampMs(), RequestHeaders::BrowserAgent);
    std::vector<PackedItem> mvs;
    const int count = answer.count("result");
    for (int i = 0; i < count; ++i) {
        const std::string picUrl = answer.getText(memberPath("result", i, "picUrl"));
        const std::string name = answer.getText(memberPath("result", i, "name"));
        const std::string id = answer.getText(memberPath("result", i, "id"));
        mvs.push_back(PackedItem::personalizedMv(picUrl, name, id));
    }
    return mvs;
}

std::vector<CoverItem> CloudApiClient::fetchRecommendedPlaylists(const std::string& cookie) const {
    const JsonDocument answer =
        fetchJson(hosts_.serviceBase + "personalized?limit=10&timestamp=" + timestampMs() + "&cookie=" + cookie,
                  RequestHeaders::BrowserAgent);
    return readCoverItems(answer, "result",
                          {{CoverField::Picture, "picUrl"}, {CoverField::Name, "name"}, {CoverField::Id, "id"}},
                          kCoverSizeSuffix);
}

std::vector<CoverItem> CloudApiClient::fetchTopArtists() const {
    const JsonDocument answer =
        fetchJson(hosts_.serviceBase + "top/artists?limit=5&timestamp=" + timestampMs(), RequestHeaders::BrowserAgent);
    return readCoverItems(answer, "artists",
                          {{CoverField::Picture, "img1v1Url"}, {CoverField::Name, "name"}, {CoverField::Id, "id"}},
                          kTopArtistSizeSuffix);
}

std::vector<CoverItem> CloudApiClient::fetchNewestAlbums() const {
    const JsonDocument answer = fetchJson(hosts_.serviceBase + "album/newest", RequestHeaders::BrowserAgent);
    return readCoverItems(answer, "albums",
                          {{CoverField::Name, "name"}, {CoverField::Picture, "picUrl"}, {CoverField::Id, "id"}},
                          kCoverSizeSuffix);
}

std::vector<CoverItem> CloudApiClient::fetchFirstMvs(int limit) const {
    const JsonDocument answer =
        fetchJson(hosts_.serviceBase + "mv/first?limit=" + std::to_string(limit), RequestHeaders::BrowserAgent);
    return readCoverItems(answer, "data",
                          {{CoverField::Name, "name"}, {CoverField::Picture, "cover"}, {CoverField::Id, "id"}});
}

std::vector<CoverItem> CloudApiClient::fetchAllMvs() const {
    const JsonDocument answer = fetchJson(hosts_.serviceBaseNoSlash() + "/mv/all", RequestHeaders::EngineDefaults);
    return readCoverItems(answer, "data",
                          {{CoverField::Id, "id"}, {CoverField::Picture, "cover"}, {CoverField::Name, "name"}});
}

std::string CloudApiClient::fetchMvUrl(const std::string& id) const {
    const JsonDocument answer =
        fetchJson(hosts_.serviceBase + "mv/url?id=" + id + "&timestamp=" + timestampMs(), RequestHeaders::BrowserAgent);
    return answer.getText("data.url");
}
