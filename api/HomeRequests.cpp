// The home page's sections and the MV requests.
#include "api/AnswerReading.h"
#include "api/CloudApiClient.h"

namespace {

using PackItem = PackedItem (*)(std::string_view picture, std::string_view caption, std::string_view id);

// Each entry's picture, name and id packed into one text by `pack`.
std::vector<PackedItem> packAll(const std::vector<CoverItem>& items, PackItem pack) {
    std::vector<PackedItem> packed;
    packed.reserve(items.size());
    for (const CoverItem& item : items) packed.push_back(pack(item.pictureUrl, item.name, item.id));
    return packed;
}

}  // namespace

std::vector<PackedItem> CloudApiClient::fetchBanners(ServiceStatus* status) const {
    const JsonDocument answer = fetch(
        {ServiceRoute::Banner, {{"type", "0"}, {"timestamp", timestampMs()}}, {}, false, RequestHeaders::BrowserAgent},
        status);
    // The banner's type title takes the name's place.
    return packAll(
        readCoverItems(
            answer, "banners",
            {{CoverField::Picture, "imageUrl"}, {CoverField::Name, "typeTitle"}, {CoverField::Id, "targetId"}}),
        &PackedItem::banner);
}

std::vector<PackedItem> CloudApiClient::fetchPersonalizedMvs(ServiceStatus* status) const {
    const JsonDocument answer =
        fetch({ServiceRoute::PersonalizedMvs, {{"timestamp", timestampMs()}}, {}, false, RequestHeaders::BrowserAgent},
              status);
    return packAll(
        readCoverItems(answer, "result",
                       {{CoverField::Picture, "picUrl"}, {CoverField::Name, "name"}, {CoverField::Id, "id"}}),
        &PackedItem::personalizedMv);
}

std::vector<CoverItem> CloudApiClient::fetchRecommendedPlaylists(const std::string& cookie,
                                                                 ServiceStatus* status) const {
    const JsonDocument answer = fetch({ServiceRoute::Personalized,
                                       {{"limit", "10"}, {"timestamp", timestampMs()}},
                                       cookie,
                                       true,
                                       RequestHeaders::BrowserAgent},
                                      status);
    return readCoverItems(answer, "result",
                          {{CoverField::Picture, "picUrl"}, {CoverField::Name, "name"}, {CoverField::Id, "id"}},
                          kCoverSizeSuffix);
}

std::vector<CoverItem> CloudApiClient::fetchTopArtists(ServiceStatus* status) const {
    const JsonDocument answer = fetch({ServiceRoute::TopArtists,
                                       {{"limit", "5"}, {"timestamp", timestampMs()}},
                                       {},
                                       false,
                                       RequestHeaders::BrowserAgent},
                                      status);
    return readCoverItems(answer, "artists",
                          {{CoverField::Picture, "img1v1Url"}, {CoverField::Name, "name"}, {CoverField::Id, "id"}},
                          kTopArtistSizeSuffix);
}

std::vector<CoverItem> CloudApiClient::fetchNewestAlbums(ServiceStatus* status) const {
    const JsonDocument answer =
        fetch({ServiceRoute::NewestAlbums, {}, {}, false, RequestHeaders::BrowserAgent}, status);
    return readCoverItems(answer, "albums",
                          {{CoverField::Name, "name"}, {CoverField::Picture, "picUrl"}, {CoverField::Id, "id"}},
                          kCoverSizeSuffix);
}

std::vector<CoverItem> CloudApiClient::fetchFirstMvs(int limit, ServiceStatus* status) const {
    const JsonDocument answer = fetch(
        {ServiceRoute::FirstMvs, {{"limit", std::to_string(limit)}}, {}, false, RequestHeaders::BrowserAgent}, status);
    return readCoverItems(answer, "data",
                          {{CoverField::Name, "name"}, {CoverField::Picture, "cover"}, {CoverField::Id, "id"}});
}

std::vector<CoverItem> CloudApiClient::fetchAllMvs(ServiceStatus* status) const {
    const JsonDocument answer = fetch({ServiceRoute::AllMvs}, status);
    return readCoverItems(answer, "data",
                          {{CoverField::Id, "id"}, {CoverField::Picture, "cover"}, {CoverField::Name, "name"}});
}

std::string CloudApiClient::fetchMvUrl(const std::string& id) const {
    const JsonDocument answer = fetch(
        {ServiceRoute::MvUrl, {{"id", id}, {"timestamp", timestampMs()}}, {}, false, RequestHeaders::BrowserAgent});
    return answer.getText("data.url");
}
