#include "server/HttpHelpers.h"
#include "server/json/PlaylistJson.h"
#include "server/json/SongJson.h"
#include "server/routes/Routes.h"

namespace {

SubscribedFlag subscribedBy(const ServerContext& context, const JsonContext& json, const Playlist& playlist) {
    if (!json.viewerId) return std::nullopt;
    return context.subscriptions.isSubscribed(*json.viewerId, playlist.id);
}

Json playlistList(const ServerContext& context, const JsonContext& json, const std::vector<const Playlist*>& shown) {
    Json list = Json::array();
    for (const Playlist* playlist : shown)
        list.push_back(playlistJson(json, *playlist, subscribedBy(context, json, *playlist)));
    return list;
}

// The playlist as it stands: a liked-songs playlist holds what its creator
// likes at this moment. Nothing when the request names no playlist.
std::optional<Playlist> playlistNamed(const ServerContext& context, const httplib::Request& request) {
    const auto id = integerParam(request, "id");
    const Playlist* playlist = id ? context.catalogue.playlist(*id) : nullptr;
    if (!playlist) return std::nullopt;
    Playlist held = *playlist;
    if (held.specialType == 5) held.trackIds = context.listeners.likedBy(held.creatorId);
    return held;
}

void replyPlaylistMissing(httplib::Response& response) {
    replyJson(response, {{"code", 404}, {"message", "该歌单不存在"}, {"msg", "该歌单不存在"}});
}

}  // namespace

void addPlaylistRoutes(RouteBook& server, const ServerContext& context) {
    server.Get("/top/playlist", [&context](const httplib::Request& request, httplib::Response& response) {
        const JsonContext json = context.jsonFor(request);
        const std::string category = queryValue(request, "cat").value_or("全部");
        const std::vector<const Playlist*> found = context.catalogue.playlistsInCategory(category);
        bool more = false;
        const auto shown = sliceOf(found, pageOf(request, 50), &more);
        replyJson(response, {{"playlists", playlistList(context, json, shown)},
                             {"total", found.size()},
                             {"code", 200},
                             {"more", more},
                             {"cat", category}});
    });

    server.Get("/top/playlist/highquality", [&context](const httplib::Request& request, httplib::Response& response) {
        const JsonContext json = context.jsonFor(request);
        const std::vector<const Playlist*> found = context.catalogue.highQualityPlaylists();
        bool more = false;
        const auto shown = sliceOf(found, pageOf(request, 20), &more);
        replyJson(response, {{"playlists", playlistList(context, json, shown)},
                             {"code", 200},
                             {"more", more},
                             {"lasttime", shown.empty() ? 0 : shown.back()->updateTime},
                             {"total", found.size()}});
    });

    server.Get("/personalized", [&context](const httplib::Request& request, httplib::Response& response) {
        const JsonContext json = context.jsonFor(request);
        Json result = Json::array();
        for (Id id : sliceOf(context.catalogue.personalizedPlaylistIds(), pageOf(request, 30))) {
            result.push_back(personalizedPlaylistJson(json, *context.catalogue.playlist(id)));
        }
        replyJson(response, {{"hasTaste", false}, {"code", 200}, {"category", 0}, {"result", result}});
    });

    server.Get("/toplist", [&context](const httplib::Request& request, httplib::Response& response) {
        const JsonContext json = context.jsonFor(request);
        Json list = Json::array();
        for (Id id : context.catalogue.toplistIds()) list.push_back(toplistJson(json, *context.catalogue.playlist(id)));
        const std::vector<Id>& topArtists = context.catalogue.topArtistIds();
        const Artist* leader = topArtists.empty() ? nullptr : context.catalogue.artist(topArtists.front());
        replyJson(response, {{"code", 200},
                             {"list", list},
                             {"artistToplist",
                              {{"coverUrl", leader ? json.pictureUrl(leader->picId) : std::string()},
                               {"name", "云音乐歌手榜"},
                               {"upateFrequency", "每天更新"},
                               {"position", 5},
                               {"updateFrequency", "每天更新"}}}});
    });

    server.Get("/playlist/detail", [&context](const httplib::Request& request, httplib::Response& response) {
        const JsonContext json = context.jsonFor(request);
        const std::optional<Playlist> playlist = playlistNamed(context, request);
        if (!playlist) return replyPlaylistMissing(response);
        Json privileges = Json::array();
        for (std::size_t i = 0; i < std::min(playlist->trackIds.size(), kDetailTrackCount); ++i) {
            privileges.push_back(privilegeJson(*context.catalogue.song(playlist->trackIds[i])));
        }
        replyJson(response, {{"code", 200},
                             {"relatedVideos", nullptr},
                             {"playlist", playlistDetailJson(json, *playlist, subscribedBy(context, json, *playlist))},
                             {"urls", nullptr},
                             {"privileges", privileges},
                             {"sharedPrivilege", nullptr},
                             {"resEntrance", nullptr},
                             {"fromUsers", nullptr},
                             {"fromUserCount", 0},
                             {"songFromUsers", nullptr}});
    });

    server.Get("/playlist/track/all", [&context](const httplib::Request& request, httplib::Response& response) {
        const JsonContext json = context.jsonFor(request);
        const std::optional<Playlist> playlist = playlistNamed(context, request);
        if (!playlist) return replyPlaylistMissing(response);
        Json songs = Json::array(), privileges = Json::array();
        for (Id track : sliceOf(playlist->trackIds, pageOf(request, playlist->trackIds.size()))) {
            const Song& song = *context.catalogue.song(track);
            songs.push_back(songJson(json, song));
            privileges.push_back(privilegeJson(song));
        }
        replyJson(response, {{"songs", songs}, {"privileges", privileges}, {"code", 200}});
    });
}
