#include "api/DirectRoutes.h"

#include "net/ServiceCipher.h"
#include "text/TextUtils.h"

#include <cstdlib>

namespace {

using Json = nlohmann::ordered_json;

// The XOR key of the visitor's encoded id.
constexpr std::string_view kDeviceIdXorKey = "3go8&$8*3*3h0k(2)2";

// A query value, or `fallback` when the call has none (or an empty one).
Json valueOr(const ServiceCall& call, const std::string& name, Json fallback) {
    const std::string& value = call.value(name);
    return value.empty() ? fallback : Json(value);
}

// "[1,2,3]" style song id lists: the number each id starts with.
std::string idObjects(const std::vector<std::string>& ids) {
    std::string list = "[";
    for (const std::string& id : ids) {
        if (list.size() > 1) list += ',';
        list += "{\"id\":" + std::to_string(std::strtoll(id.c_str(), nullptr, 10)) + "}";
    }
    return list + "]";
}

std::string encodedDeviceId(const std::string& deviceId) {
    std::string mixed = deviceId;
    for (std::size_t i = 0; i < mixed.size(); ++i) mixed[i] ^= kDeviceIdXorKey[i % kDeviceIdXorKey.size()];
    return base64Encode(deviceId + " " + base64Encode(ServiceCipher::md5(mixed)));
}

}  // namespace

DirectRequest songDetailRequest(const std::vector<std::string>& ids, CipherForm form) {
    return {"/api/v3/song/detail", form, Json{{"c", idObjects(ids)}}};
}

DirectRequest songUrlRequest(const std::string& id, const std::string& level) {
    return {"/api/song/enhance/player/url/v1", CipherForm::Eapi,
            Json{{"ids", "[" + id + "]"}, {"level", level}, {"encodeType", "flac"}}};
}

DirectRequest anonymousRegistration(const std::string& deviceId) {
    return {"/api/register/anonimous", CipherForm::Weapi, Json{{"username", encodedDeviceId(deviceId)}}};
}

DirectRequest directRequest(const ServiceCall& call) {
    const auto v = [&call](const std::string& name) { return Json(call.value(name)); };
    switch (call.route) {
        case ServiceRoute::SongDetail: return songDetailRequest(splitText(call.value("ids"), ","), CipherForm::Weapi);
        case ServiceRoute::SongUrl: return songUrlRequest(call.value("id"), call.value("level"));
        case ServiceRoute::Lyric:
            return {"/api/song/lyric", CipherForm::Eapi,
                    Json{{"id", v("id")}, {"tv", -1}, {"lv", -1}, {"rv", -1}, {"kv", -1}, {"_nmclfl", 1}}};
        case ServiceRoute::CheckMusic:
            return {"/api/song/enhance/player/url", CipherForm::Weapi,
                    Json{{"ids", "[" + std::to_string(std::strtoll(call.value("id").c_str(), nullptr, 10)) + "]"},
                         {"br", 999000}}};
        case ServiceRoute::Search:
            return {"/api/search/get", CipherForm::Eapi,
                    Json{{"s", v("keywords")},
                         {"type", valueOr(call, "type", 1)},
                         {"limit", valueOr(call, "limit", 30)},
                         {"offset", 0}}};
        case ServiceRoute::TopPlaylist:
            return {"/api/playlist/list", CipherForm::Weapi,
                    Json{{"cat", valueOr(call, "cat", "全部")},
                         {"order", "hot"},
                         {"limit", valueOr(call, "limit", 50)},
                         {"offset", 0},
                         {"total", true}}};
        case ServiceRoute::Personalized:
            return {"/api/personalized/playlist", CipherForm::Weapi,
                    Json{{"limit", valueOr(call, "limit", 30)}, {"total", true}, {"n", 1000}}};
        case ServiceRoute::HighQualityPlaylists:
            return {"/api/playlist/highquality/list", CipherForm::Weapi,
                    Json{{"cat", "全部"}, {"limit", valueOr(call, "limit", 50)}, {"lasttime", 0}, {"total", true}}};
        case ServiceRoute::Toplist: return {"/api/toplist", CipherForm::Eapi};
        case ServiceRoute::PlaylistDetail:
        case ServiceRoute::PlaylistTracks:
            return {"/api/v6/playlist/detail", CipherForm::Eapi, Json{{"id", v("id")}, {"n", 100000}, {"s", 8}}};
        case ServiceRoute::ArtistDetail: return {"/api/artist/head/info/get", CipherForm::Eapi, Json{{"id", v("id")}}};
        case ServiceRoute::ArtistAlbums:
            return {"/api/artist/albums/" + call.value("id"), CipherForm::Weapi,
                    Json{{"limit", valueOr(call, "limit", 30)}, {"offset", 0}, {"total", true}}};
        case ServiceRoute::ArtistMvs: {
            Json params{{"artistId", v("id")}};
            if (!call.value("limit").empty()) params["limit"] = call.value("limit");
            params["total"] = true;
            return {"/api/artist/mvs", CipherForm::Weapi, params};
        }
        case ServiceRoute::ArtistTopSongs: return {"/api/artist/top/song", CipherForm::Weapi, Json{{"id", v("id")}}};
        case ServiceRoute::Album: return {"/api/v1/album/" + call.value("id"), CipherForm::Weapi};
        case ServiceRoute::QrKey: return {"/api/login/qrcode/unikey", CipherForm::Eapi, Json{{"type", 3}}};
        case ServiceRoute::QrCreate: return {"", CipherForm::Eapi};
        case ServiceRoute::QrCheck:
            return {"/api/login/qrcode/client/login", CipherForm::Eapi, Json{{"key", v("key")}, {"type", 3}}};
        case ServiceRoute::UserAccount: return {"/api/nuser/account/get", CipherForm::Weapi};
        case ServiceRoute::UserPlaylists:
            return {
                "/api/user/playlist", CipherForm::Weapi,
                Json{{"uid", v("uid")}, {"limit", valueOr(call, "limit", 30)}, {"offset", 0}, {"includeVideo", true}}};
        case ServiceRoute::PlaylistSubscribe:
            return {call.value("t") == "1" ? "/api/playlist/subscribe" : "/api/playlist/unsubscribe", CipherForm::Eapi,
                    Json{{"id", v("id")}}, /*antiCheatToken=*/true};
        case ServiceRoute::Banner: return {"/api/v2/banner/get", CipherForm::Eapi, Json{{"clientType", "pc"}}};
        case ServiceRoute::PersonalizedMvs: return {"/api/personalized/mv", CipherForm::Weapi};
        case ServiceRoute::TopArtists:
            return {"/api/artist/top", CipherForm::Weapi,
                    Json{{"limit", valueOr(call, "limit", 50)}, {"offset", 0}, {"total", true}}};
        case ServiceRoute::NewestAlbums: return {"/api/discovery/newAlbum", CipherForm::Weapi};
        case ServiceRoute::FirstMvs:
            return {"/api/mv/first", CipherForm::Eapi,
                    Json{{"area", ""}, {"limit", valueOr(call, "limit", 30)}, {"total", true}}};
        case ServiceRoute::AllMvs:
            return {"/api/mv/all", CipherForm::Eapi,
                    Json{{"tags", Json{{"地区", "全部"}, {"类型", "全部"}, {"排序", "上升最快"}}.dump()},
                         {"offset", 0},
                         {"total", "true"},
                         {"limit", valueOr(call, "limit", 30)}}};
        case ServiceRoute::MvUrl:
            return {"/api/song/enhance/play/mv/url", CipherForm::Weapi, Json{{"id", v("id")}, {"r", 1080}}};
        case ServiceRoute::DailySongs: return {"/api/v3/discovery/recommend/songs", CipherForm::Weapi};
        case ServiceRoute::PersonalFm: return {"/api/v1/radio/get", CipherForm::Weapi};
        case ServiceRoute::FmTrash:
            return {"/api/radio/trash/add", CipherForm::Weapi, Json{{"songId", v("id")}, {"alg", "RT"}, {"time", 25}}};
        case ServiceRoute::LikeSong:
            return {"/api/radio/like", CipherForm::Weapi,
                    Json{{"alg", "itembased"},
                         {"trackId", v("id")},
                         {"like", call.value("like") != "false"},
                         {"time", "3"}}};
        case ServiceRoute::LikedSongIds: return {"/api/song/like/get", CipherForm::Eapi, Json{{"uid", v("uid")}}};
        case ServiceRoute::PlayRecord:
            return {"/api/v1/play/record", CipherForm::Weapi,
                    Json{{"uid", v("uid")}, {"type", valueOr(call, "type", 0)}}};
        case ServiceRoute::WordLyric:
            return {"/api/song/lyric/v1", CipherForm::Eapi,
                    Json{{"id", v("id")},
                         {"cp", false},
                         {"tv", 0},
                         {"lv", 0},
                         {"rv", 0},
                         {"kv", 0},
                         {"yv", 0},
                         {"ytv", 0},
                         {"yrv", 0}}};
    }
    return {};
}
