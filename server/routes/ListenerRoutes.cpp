// What the service keeps for a listener: today's recommended songs, the
// personal FM stream and its bin, liked songs and the week's play record.
// Every path but the play record acts for the logged-in user and refuses a
// request without one, as the service does.
#include <chrono>

#include "server/HttpHelpers.h"
#include "server/json/SongJson.h"
#include "server/routes/Routes.h"

namespace {

// Songs dealt by one FM request.
constexpr std::size_t kFmSongsPerRequest = 3;

void replyLoginNeeded(httplib::Response& response) {
    replyJson(response, {{"msg", "需要登录"}, {"code", 301}, {"message", "需要登录"}});
}

std::int64_t nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The song a request names in `key`, or null.
const Song* namedSong(const ServerContext& context, const httplib::Request& request, const std::string& key) {
    const auto id = integerParam(request, key);
    return id ? context.catalogue.song(*id) : nullptr;
}

void answerDailySongs(const ServerContext& context, const httplib::Request& request, httplib::Response& response) {
    const JsonContext json = context.jsonFor(request);
    if (!json.viewerId) return replyLoginNeeded(response);
    Json songs = Json::array();
    for (Id id : context.catalogue.dailySongIds()) {
        Json song = songJson(json, *context.catalogue.song(id));
        song["reason"] = "根据你可能喜欢的单曲";
        song["privilege"] = privilegeJson(*context.catalogue.song(id));
        songs.push_back(std::move(song));
    }
    replyJson(response,
              {{"code", 200},
               {"data", {{"dailySongs", songs}, {"orderSongs", Json::array()}, {"recommendReasons", Json::array()}}}});
}

void answerPersonalFm(const ServerContext& context, const httplib::Request& request, httplib::Response& response) {
    const JsonContext json = context.jsonFor(request);
    if (!json.viewerId) return replyLoginNeeded(response);
    Json songs = Json::array();
    for (Id id : context.listeners.nextFmSongs(*json.viewerId, kFmSongsPerRequest)) {
        Json song = songSearchJson(json, *context.catalogue.song(id));
        song["alg"] = "itembased";
        songs.push_back(std::move(song));
    }
    replyJson(response, {{"popAdjust", false}, {"data", songs}, {"code", 200}});
}

void answerFmTrash(const ServerContext& context, const httplib::Request& request, httplib::Response& response) {
    const std::optional<Id> user = context.viewerOf(request);
    if (!user) return replyLoginNeeded(response);
    const Song* song = namedSong(context, request, "id");
    if (!song) return replyJson(response, {{"code", 400}, {"msg", "参数错误"}});
    context.listeners.trash(*user, song->id);
    replyJson(response, {{"code", 200}, {"count", 1}});
}

// "like" false unlikes; anything else (or nothing) likes, as the API server reads it.
void answerLike(const ServerContext& context, const httplib::Request& request, httplib::Response& response) {
    const std::optional<Id> user = context.viewerOf(request);
    if (!user) return replyLoginNeeded(response);
    const Song* song = namedSong(context, request, "id");
    if (!song) return replyJson(response, {{"code", 400}, {"msg", "参数错误"}});
    if (queryText(request, "like") == "false") {
        context.listeners.unlike(*user, song->id);
    } else {
        context.listeners.like(*user, song->id);
    }
    Id likedPlaylist = 0;
    for (const Playlist* playlist : context.catalogue.playlistsCreatedBy(*user))
        if (playlist->specialType == 5) likedPlaylist = playlist->id;
    replyJson(response, {{"songs", Json::array()}, {"playlistId", likedPlaylist}, {"code", 200}});
}

// Only the user's own liked songs are told.
void answerLikeList(const ServerContext& context, const httplib::Request& request, httplib::Response& response) {
    const std::optional<Id> user = context.viewerOf(request);
    if (!user) return replyLoginNeeded(response);
    const auto uid = integerParam(request, "uid");
    if (!uid || *uid != *user) return replyJson(response, {{"code", 403}, {"msg", "无权限访问"}});
    replyJson(response, {{"ids", context.listeners.likedBy(*user)}, {"checkPoint", nowMs()}, {"code", 200}});
}

// The demo account's week: play counts falling from the most played song;
// other users have listened to nothing. "type" 0 asks for every week's.
void answerPlayRecord(const ServerContext& context, const httplib::Request& request, httplib::Response& response) {
    const JsonContext json = context.jsonFor(request);
    const auto uid = integerParam(request, "uid");
    if (!uid || !context.catalogue.user(*uid)) return replyJson(response, {{"code", 400}, {"msg", "参数错误"}});
    Json record = Json::array();
    if (*uid == context.catalogue.demoAccountUserId()) {
        const std::vector<Id>& ids = context.catalogue.weekRecordIds();
        for (std::size_t i = 0; i < ids.size(); ++i) {
            record.push_back({{"playCount", static_cast<int>(3 * (ids.size() - i))},
                              {"score", static_cast<int>(100 - 100 * i / ids.size())},
                              {"song", songJson(json, *context.catalogue.song(ids[i]))}});
        }
    }
    const bool everyWeek = queryText(request, "type") == "0";
    replyJson(response, {{everyWeek ? "allData" : "weekData", record}, {"code", 200}});
}

}  // namespace

void addListenerRoutes(RouteBook& server, const ServerContext& context) {
    const auto route = [&server, &context](const char* path, auto answer) {
        server.Get(path, [&context, answer](const httplib::Request& request, httplib::Response& response) {
            answer(context, request, response);
        });
    };
    route("/recommend/songs", answerDailySongs);
    route("/personal_fm", answerPersonalFm);
    route("/fm_trash", answerFmTrash);
    route("/like", answerLike);
    route("/likelist", answerLikeList);
    route("/user/record", answerPlayRecord);
}
