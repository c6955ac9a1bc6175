#include <chrono>

#include "server/HttpHelpers.h"
#include "server/json/AlbumJson.h"
#include "server/json/MvJson.h"
#include "server/routes/Routes.h"

namespace {

// How many albums album/newest lists.
constexpr std::size_t kNewestAlbumCount = 15;

Json bannerJson(const JsonContext& json, const Banner& banner, int position) {
    return {
        {"imageUrl", json.pictureUrl(banner.picId)},
        {"targetId", banner.targetId},
        {"adid", nullptr},
        {"targetType", banner.targetType},
        {"titleColor", banner.titleColor},
        {"typeTitle", banner.typeTitle},
        {"url", textOrNull(banner.url)},
        {"exclusive", false},
        {"monitorImpress", nullptr},
        {"monitorClick", nullptr},
        {"monitorType", nullptr},
        {"monitorImpressList", nullptr},
        {"monitorClickList", nullptr},
        {"monitorBlackList", nullptr},
        {"extMonitor", nullptr},
        {"extMonitorInfo", nullptr},
        {"adSource", nullptr},
        {"adLocation", nullptr},
        {"adDispatchJson", nullptr},
        {"encodeId", std::to_string(banner.targetId)},
        {"program", nullptr},
        {"event", nullptr},
        {"video", nullptr},
        {"song", nullptr},
        {"scm", "1.music-homepage.homepage_banner_force.banner." + std::to_string(position)},
        {"bannerBizType", "force_banner"},
    };
}

std::vector<const Mv*> mvsByPlayCount(const Catalogue& catalogue) {
    std::vector<const Mv*> mvs = catalogue.mvsNewestFirst();
    std::stable_sort(mvs.begin(), mvs.end(), [](const Mv* a, const Mv* b) { return a->playCount > b->playCount; });
    return mvs;
}

}  // namespace

void addHomeRoutes(RouteBook& server, const ServerContext& context) {
    server.Get("/banner", [&context](const httplib::Request& request, httplib::Response& response) {
        const JsonContext json = context.jsonFor(request);
        Json banners = Json::array();
        int position = 0;
        for (const Banner& banner : context.catalogue.banners())
            banners.push_back(bannerJson(json, banner, position++));
        replyJson(response, {{"banners", banners}, {"code", 200}});
    });

    server.Get("/personalized/mv", [&context](const httplib::Request& request, httplib::Response& response) {
        const JsonContext json = context.jsonFor(request);
        Json result = Json::array();
        for (Id id : context.catalogue.dailyMvIds())
            result.push_back(personalizedMvJson(json, *context.catalogue.mv(id)));
        replyJson(response, {{"code", 200}, {"category", 5}, {"result", result}});
    });

    server.Get("/album/newest", [&context](const httplib::Request& request, httplib::Response& response) {
        const JsonContext json = context.jsonFor(request);
        Json albums = Json::array();
        for (const Album* album : sliceOf(context.catalogue.newestAlbums(), Page{0, kNewestAlbumCount})) {
            albums.push_back(albumJson(json, *album));
        }
        replyJson(response, {{"code", 200}, {"albums", albums}});
    });

    server.Get("/mv/first", [&context](const httplib::Request& request, httplib::Response& response) {
        const JsonContext json = context.jsonFor(request);
        bool more = false;
        Json data = Json::array();
        for (const Mv* mv : sliceOf(context.catalogue.mvsNewestFirst(), pageOf(request, 30), &more)) {
            data.push_back(mvListJson(json, *mv));
        }
        replyJson(response, {{"data", data}, {"hasMore", more}, {"code", 200}});
    });

    server.Get("/mv/all", [&context](const httplib::Request& request, httplib::Response& response) {
        const JsonContext json = context.jsonFor(request);
        const std::vector<const Mv*> all = mvsByPlayCount(context.catalogue);
        bool more = false;
        Json data = Json::array();
        for (const Mv* mv : sliceOf(all, pageOf(request, 30), &more)) data.push_back(mvListJson(json, *mv));
        replyJson(response, {{"count", all.size()}, {"data", data}, {"hasMore", more}, {"code", 200}});
    });

    server.Get("/mv/url", [&context](const httplib::Request& request, httplib::Response& response) {
        const auto id = integerParam(request, "id");
        const Mv* mv = id ? context.catalogue.mv(*id) : nullptr;
        if (!mv) {
            replyJson(response, {{"code", 404}, {"message", "MV不存在"}, {"data", nullptr}});
            return;
        }
        const std::optional<MediaFile> video = context.media.mvVideo();
        const auto now =
            std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
                .count();
        replyJson(response,
                  {{"code", 200}, {"data", mvUrlJson(context.jsonFor(request), *mv, video ? &*video : nullptr, now)}});
    });
}
