#include <algorithm>
#include <chrono>

#include "server/HttpHelpers.h"
#include "server/json/AlbumJson.h"
#include "server/json/ArtistJson.h"
#include "server/json/MvJson.h"
#include "server/json/SongJson.h"
#include "server/routes/Routes.h"

namespace {

const Artist* requestedArtist(const ServerContext& context, const httplib::Request& request) {
    const auto id = integerParam(request, "id");
    return id ? context.catalogue.artist(*id) : nullptr;
}

std::int64_t nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void replyArtistMissing(httplib::Response& response) {
    replyJson(response, {{"code", 404}, {"message", "艺人不存在"}, {"data", nullptr}});
}

}  // namespace

void addArtistRoutes(RouteBook& server, const ServerContext& context) {
    server.Get("/artist/detail", [&context](const httplib::Request& request, httplib::Response& response) {
        const Artist* artist = requestedArtist(context, request);
        if (!artist) return replyArtistMissing(response);
        replyJson(
            response,
            {{"code", 200}, {"message", "success"}, {"data", artistDetailJson(context.jsonFor(request), *artist)}});
    });

    server.Get("/artist/album", [&context](const httplib::Request& request, httplib::Response& response) {
        const Artist* artist = requestedArtist(context, request);
        if (!artist) return replyArtistMissing(response);
        const JsonContext json = context.jsonFor(request);
        bool more = false;
        Json albums = Json::array();
        for (Id id : sliceOf(artist->albumIds, pageOf(request, 30), &more)) {
            albums.push_back(albumJson(json, *context.catalogue.album(id)));
        }
        replyJson(response,
                  {{"artist", artistJson(json, *artist)}, {"hotAlbums", albums}, {"more", more}, {"code", 200}});
    });

    server.Get("/artist/mv", [&context](const httplib::Request& request, httplib::Response& response) {
        const Artist* artist = requestedArtist(context, request);
        if (!artist) return replyArtistMissing(response);
        const JsonContext json = context.jsonFor(request);
        bool more = false;
        Json mvs = Json::array();
        for (Id id : sliceOf(artist->mvIds, pageOf(request, 30), &more)) {
            mvs.push_back(artistMvJson(json, *context.catalogue.mv(id)));
        }
        replyJson(response, {{"mvs", mvs}, {"time", nowMs()}, {"hasMore", more}, {"code", 200}});
    });

    // The artist's 50 most popular songs, most popular first, as the service
    // lists them (it knows no paging here).
    server.Get("/artist/top/song", [&context](const httplib::Request& request, httplib::Response& response) {
        const Artist* artist = requestedArtist(context, request);
        if (!artist) return replyArtistMissing(response);
        std::vector<const Song*> songs;
        for (Id id : artist->songIds)
            if (const Song* song = context.catalogue.song(id)) songs.push_back(song);
        std::stable_sort(songs.begin(), songs.end(), [](const Song* a, const Song* b) { return a->pop > b->pop; });
        constexpr size_t kTopSongs = 50;
        if (songs.size() > kTopSongs) songs.resize(kTopSongs);
        const JsonContext json = context.jsonFor(request);
        Json list = Json::array();
        for (const Song* song : songs) list.push_back(songJson(json, *song));
        replyJson(response, {{"songs", list}, {"more", artist->songIds.size() > kTopSongs}, {"code", 200}});
    });

    server.Get("/top/artists", [&context](const httplib::Request& request, httplib::Response& response) {
        const JsonContext json = context.jsonFor(request);
        bool more = false;
        Json artists = Json::array();
        for (Id id : sliceOf(context.catalogue.topArtistIds(), pageOf(request, 50), &more)) {
            artists.push_back(artistJson(json, *context.catalogue.artist(id)));
        }
        replyJson(response, {{"artists", artists}, {"more", more}, {"code", 200}});
    });
}
