// The service's own web API as the client reaches it: for every request, what
// reaches the service (path, wrapping, unwrapped parameters, cookie field
// names) against what the reference API server (NeteaseCloudMusicApi 4.32.0)
// sends for the same request; then the answers composed from several
// exchanges, the quality fall-back and the visitor session.
#include "PathAnswers.h"
#include "api/CloudApiClient.h"
#include "api/DirectTransport.h"
#include "net/ServiceCipher.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kWeapiKey = "FFFFFFFFFFFFFFFF";
constexpr const char* kAccountCookie = "MUSIC_U=uuu; __csrf=ccc";

// Always the same bytes and the same moment, so nothing differs between runs.
RequestRandomness fixedRandomness(std::shared_ptr<std::atomic<std::int64_t>> clock = nullptr) {
    return {[](std::size_t count) { return std::string(count, '\x07'); },
            [clock] { return clock ? clock->load() : std::int64_t{1796968786000}; }};
}

std::string percentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += text[i] == '+' ? ' ' : text[i];
        }
    }
    return out;
}

std::string formValue(const std::string& body, const std::string& name) {
    for (std::size_t from = 0; from <= body.size();) {
        const std::size_t end = std::min(body.find('&', from), body.size());
        const std::string item = body.substr(from, end - from);
        if (item.starts_with(name + "=")) return percentDecoded(item.substr(name.size() + 1));
        from = end + 1;
    }
    return {};
}

// The parameters inside a recorded request, without the two header fields
// that name the moment (buildver, requestId).
std::string unwrappedParams(const RecordedRequest& request) {
    std::optional<std::string> json;
    if (request.target.starts_with("/weapi/"))
        json = ServiceCipher::openWeapi(formValue(request.body, "params"), kWeapiKey);
    if (request.target.starts_with("/eapi/")) {
        const auto message = ServiceCipher::openEapi(formValue(request.body, "params"));
        if (message && "/eapi/" + message->uri.substr(5) == request.target) json = message->json;
    }
    if (!json) return "not readable: " + request.body;
    Json params = Json::parse(*json);
    if (params.contains("header")) {
        params["header"].erase("buildver");
        params["header"].erase("requestId");
    }
    return params.dump();
}

std::string cookieNames(const RecordedRequest& request) {
    std::string names;
    const std::string line = request.header("Cookie");
    for (std::size_t from = 0; from < line.size();) {
        const std::size_t end = std::min(line.find("; ", from), line.size());
        const std::string item = line.substr(from, end - from);
        if (!names.empty()) names += ',';
        names += percentDecoded(item.substr(0, item.find('=')));
        from = end + 2;
    }
    return names;
}

// A stand-in of the service: registrations get a visitor token, playlist
// details three tracks, the QR login its cookie, everything else a playable
// song URL.
CannedReply serviceAnswer(const RecordedRequest& request) {
    CannedReply reply;
    reply.contentType = "application/json";
    reply.body = R"({"code":200,"data":[{"code":200,"url":"http://x"}]})";
    if (request.target.ends_with("/register/anonimous")) {
        reply.headers = {{"Set-Cookie", "MUSIC_A=ANONTOKEN; Max-Age=100; Path=/"}};
        reply.body = R"({"code":200})";
    } else if (request.target.ends_with("/v6/playlist/detail")) {
        reply.body = R"({"code":200,"playlist":{"trackIds":[{"id":11},{"id":12},{"id":13}]}})";
    } else if (request.target.ends_with("/qrcode/client/login")) {
        reply.headers = {{"Set-Cookie", "MUSIC_U=uuu; Max-Age=10; Path=/"}, {"Set-Cookie", "__csrf=ccc; Path=/"}};
        reply.body = R"({"code":803,"message":"ok"})";
    }
    return reply;
}

struct DirectService {
    RecordingServer server;
    std::shared_ptr<DirectTransport> transport;
    CloudApiClient client;

    explicit DirectService(RecordingServer::Handler handler = serviceAnswer,
                           RequestRandomness randomness = fixedRandomness(), std::string deviceId = "DEVICEID")
        : transport(std::make_shared<DirectTransport>(DirectOrigins::allAt(server.url("")), std::move(deviceId),
                                                      std::move(randomness), kWeapiKey)),
          client(transport, ServiceHosts{}) {
        server.setHandler(std::move(handler));
    }

    // What reached the service, the visitor registration left out.
    std::vector<RecordedRequest> requests() const {
        std::vector<RecordedRequest> seen;
        for (RecordedRequest& request : server.requests())
            if (!request.target.ends_with("/register/anonimous")) seen.push_back(std::move(request));
        return seen;
    }
};

struct Expected {
    std::string path;
    std::string params;
    std::string cookieNames;
};

struct RouteCase {
    std::string name;
    std::function<void(const CloudApiClient&)> call;
    std::vector<Expected> expected;
};

// What the reference sent to a local stand-in of the service for the same
// request (its weapi key fixed, its device id "DEVICEID", its visitor token
// "ANONTOKEN").
const std::vector<RouteCase>& routeCases() {
    static const std::vector<RouteCase> cases = {
        {"song detail",
         [](const CloudApiClient& c) { c.fetchSongDetail("1868553"); },
         {{"/weapi/v3/song/detail", "{\"c\":\"[{\\\"id\\\":1868553}]\",\"e_r\":false,\"csrf_token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"song names",
         [](const CloudApiClient& c) {
             c.fetchSongNames({"3", "1", "2"});
         },
         {{"/weapi/v3/song/detail",
           "{\"c\":\"[{\\\"id\\\":3},{\\\"id\\\":1},{\\\"id\\\":2}]\",\"e_r\":false,\"csrf_token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"song url",
         [](const CloudApiClient& c) { c.fetchSongUrl("1868553"); },
         {{"/eapi/song/enhance/player/url/v1",
           "{\"ids\":\"[1868553]\",\"level\":\"exhigh\",\"encodeType\":\"flac\",\"e_r\":false,\"header\":{\"osver\":"
           "\"Microsoft-Windows-10-Professional-build-19045-64bit\",\"deviceId\":\"DEVICEID\",\"os\":\"pc\",\"appver\":"
           "\"3.1.17.204416\",\"versioncode\":\"140\",\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__csrf\":\"\","
           "\"channel\":\"netease\",\"MUSIC_A\":\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_A"}}},
        {"lyric",
         [](const CloudApiClient& c) { c.fetchLyric("1868553"); },
         {{"/eapi/song/lyric",
           "{\"id\":\"1868553\",\"tv\":-1,\"lv\":-1,\"rv\":-1,\"kv\":-1,\"_nmclfl\":1,\"e_r\":false,\"header\":{"
           "\"osver\":\"Microsoft-Windows-10-Professional-build-19045-64bit\",\"deviceId\":\"DEVICEID\",\"os\":\"pc\","
           "\"appver\":\"3.1.17.204416\",\"versioncode\":\"140\",\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__"
           "csrf\":\"\",\"channel\":\"netease\",\"MUSIC_A\":\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_A"}}},
        {"lyric with word timing",
         [](const CloudApiClient& c) { c.fetchSongLyrics("1868553"); },
         {{"/eapi/song/lyric/v1",
           "{\"id\":\"1868553\",\"cp\":false,\"tv\":0,\"lv\":0,\"rv\":0,\"kv\":0,\"yv\":0,\"ytv\":0,\"yrv\":0,\"e_r\":"
           "false,\"header\":{\"osver\":\"Microsoft-Windows-10-Professional-build-19045-64bit\",\"deviceId\":"
           "\"DEVICEID\",\"os\":\"pc\",\"appver\":\"3.1.17.204416\",\"versioncode\":\"140\",\"mobilename\":\"\","
           "\"resolution\":\"1920x1080\",\"__csrf\":\"\",\"channel\":\"netease\",\"MUSIC_A\":\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_A"}}},
        {"daily songs",
         [](const CloudApiClient& c) { c.fetchDailySongs(kAccountCookie); },
         {{"/weapi/v3/discovery/recommend/songs", "{\"e_r\":false,\"csrf_token\":\"ccc\"}",
           "MUSIC_U,__csrf,__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,"
           "appver,NMTID"}}},
        {"personal fm",
         [](const CloudApiClient& c) { c.fetchPersonalFm(kAccountCookie); },
         {{"/weapi/v1/radio/get", "{\"e_r\":false,\"csrf_token\":\"ccc\"}",
           "MUSIC_U,__csrf,__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,"
           "appver,NMTID"}}},
        {"fm trash",
         [](const CloudApiClient& c) { c.trashFmSong("347230", kAccountCookie); },
         {{"/weapi/radio/trash/add",
           "{\"songId\":\"347230\",\"alg\":\"RT\",\"time\":25,\"e_r\":false,\"csrf_token\":\"ccc\"}",
           "MUSIC_U,__csrf,__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,"
           "appver,NMTID"}}},
        {"like",
         [](const CloudApiClient& c) { c.likeSong("347230", true, kAccountCookie); },
         {{"/weapi/radio/like",
           "{\"alg\":\"itembased\",\"trackId\":\"347230\",\"like\":true,\"time\":\"3\",\"e_r\":false,\"csrf_token\":"
           "\"ccc\"}",
           "MUSIC_U,__csrf,__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,"
           "appver,NMTID"}}},
        {"unlike",
         [](const CloudApiClient& c) { c.likeSong("347230", false, kAccountCookie); },
         {{"/weapi/radio/like",
           "{\"alg\":\"itembased\",\"trackId\":\"347230\",\"like\":false,\"time\":\"3\",\"e_r\":false,\"csrf_token\":"
           "\"ccc\"}",
           "MUSIC_U,__csrf,__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,"
           "appver,NMTID"}}},
        {"likelist",
         [](const CloudApiClient& c) { c.fetchLikedSongIds("32953014", kAccountCookie); },
         {{"/eapi/song/like/get",
           "{\"uid\":\"32953014\",\"e_r\":false,\"header\":{\"osver\":\"Microsoft-Windows-10-Professional-build-19045-"
           "64bit\",\"deviceId\":\"DEVICEID\",\"os\":\"pc\",\"appver\":\"3.1.17.204416\",\"versioncode\":\"140\","
           "\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__csrf\":\"ccc\",\"channel\":\"netease\",\"MUSIC_U\":"
           "\"uuu\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_U"}}},
        {"user record",
         [](const CloudApiClient& c) { c.fetchPlayRecord("32953014", kAccountCookie); },
         {{"/weapi/v1/play/record", "{\"uid\":\"32953014\",\"type\":\"1\",\"e_r\":false,\"csrf_token\":\"ccc\"}",
           "MUSIC_U,__csrf,__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,"
           "appver,NMTID"}}},
        {"check music",
         [](const CloudApiClient& c) { c.checkSong("1868553", ""); },
         {{"/weapi/song/enhance/player/url", "{\"ids\":\"[1868553]\",\"br\":999000,\"e_r\":false,\"csrf_token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"search songs",
         [](const CloudApiClient& c) { c.searchSongs("晴天"); },
         {{"/eapi/search/get",
           "{\"s\":\"晴天\",\"type\":\"1\",\"limit\":\"18\",\"offset\":0,\"e_r\":false,\"header\":{\"osver\":"
           "\"Microsoft-Windows-10-Professional-build-19045-64bit\",\"deviceId\":\"DEVICEID\",\"os\":\"pc\",\"appver\":"
           "\"3.1.17.204416\",\"versioncode\":\"140\",\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__csrf\":\"\","
           "\"channel\":\"netease\",\"MUSIC_A\":\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_A"}}},
        {"search artists",
         [](const CloudApiClient& c) { c.searchArtists("abc", 6); },
         {{"/eapi/search/get",
           "{\"s\":\"abc\",\"type\":\"100\",\"limit\":\"6\",\"offset\":0,\"e_r\":false,\"header\":{\"osver\":"
           "\"Microsoft-Windows-10-Professional-build-19045-64bit\",\"deviceId\":\"DEVICEID\",\"os\":\"pc\",\"appver\":"
           "\"3.1.17.204416\",\"versioncode\":\"140\",\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__csrf\":\"\","
           "\"channel\":\"netease\",\"MUSIC_A\":\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_A"}}},
        {"top playlist",
         [](const CloudApiClient& c) { c.fetchAllPlaylists(""); },
         {{"/weapi/playlist/list",
           "{\"cat\":\"全部\",\"order\":\"hot\",\"limit\":\"100\",\"offset\":0,\"total\":true,\"e_r\":false,\"csrf_"
           "token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"category playlists",
         [](const CloudApiClient& c) { c.fetchCategoryPlaylists("华语"); },
         {{"/weapi/playlist/list",
           "{\"cat\":\"华语\",\"order\":\"hot\",\"limit\":\"100\",\"offset\":0,\"total\":true,\"e_r\":false,\"csrf_"
           "token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"personalized",
         [](const CloudApiClient& c) { c.fetchRecommendedPlaylists(""); },
         {{"/weapi/personalized/playlist",
           "{\"limit\":\"10\",\"total\":true,\"n\":1000,\"e_r\":false,\"csrf_token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"high quality",
         [](const CloudApiClient& c) { c.fetchHighQualityPlaylists(); },
         {{"/weapi/playlist/highquality/list",
           "{\"cat\":\"全部\",\"limit\":\"100\",\"lasttime\":0,\"total\":true,\"e_r\":false,\"csrf_token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"toplist",
         [](const CloudApiClient& c) { c.fetchToplists(); },
         {{"/eapi/toplist",
           "{\"e_r\":false,\"header\":{\"osver\":\"Microsoft-Windows-10-Professional-build-19045-64bit\",\"deviceId\":"
           "\"DEVICEID\",\"os\":\"pc\",\"appver\":\"3.1.17.204416\",\"versioncode\":\"140\",\"mobilename\":\"\","
           "\"resolution\":\"1920x1080\",\"__csrf\":\"\",\"channel\":\"netease\",\"MUSIC_A\":\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_A"}}},
        {"playlist detail",
         [](const CloudApiClient& c) { c.fetchPlaylistDetail("24381616", ""); },
         {{"/eapi/v6/playlist/detail",
           "{\"id\":\"24381616\",\"n\":100000,\"s\":8,\"e_r\":false,\"header\":{\"osver\":\"Microsoft-Windows-10-"
           "Professional-build-19045-64bit\",\"deviceId\":\"DEVICEID\",\"os\":\"pc\",\"appver\":\"3.1.17.204416\","
           "\"versioncode\":\"140\",\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__csrf\":\"\",\"channel\":"
           "\"netease\",\"MUSIC_A\":\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_A"}}},
        {"playlist tracks",
         [](const CloudApiClient& c) { c.fetchPlaylistTracks("9", 2, 1, ""); },
         {{"/eapi/v6/playlist/detail",
           "{\"id\":\"9\",\"n\":100000,\"s\":8,\"e_r\":false,\"header\":{\"osver\":\"Microsoft-Windows-10-Professional-"
           "build-19045-64bit\",\"deviceId\":\"DEVICEID\",\"os\":\"pc\",\"appver\":\"3.1.17.204416\",\"versioncode\":"
           "\"140\",\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__csrf\":\"\",\"channel\":\"netease\",\"MUSIC_"
           "A\":\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_A"},
          {"/eapi/v3/song/detail",
           "{\"c\":\"[{\\\"id\\\":12},{\\\"id\\\":13}]\",\"e_r\":false,\"header\":{\"osver\":\"Microsoft-Windows-10-"
           "Professional-build-19045-64bit\",\"deviceId\":\"DEVICEID\",\"os\":\"pc\",\"appver\":\"3.1.17.204416\","
           "\"versioncode\":\"140\",\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__csrf\":\"\",\"channel\":"
           "\"netease\",\"MUSIC_A\":\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_A"}}},
        {"artist detail",
         [](const CloudApiClient& c) { c.fetchArtistDetail("6452"); },
         {{"/eapi/artist/head/info/get",
           "{\"id\":\"6452\",\"e_r\":false,\"header\":{\"osver\":\"Microsoft-Windows-10-Professional-build-19045-"
           "64bit\",\"deviceId\":\"DEVICEID\",\"os\":\"pc\",\"appver\":\"3.1.17.204416\",\"versioncode\":\"140\","
           "\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__csrf\":\"\",\"channel\":\"netease\",\"MUSIC_A\":"
           "\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_A"}}},
        {"artist albums",
         [](const CloudApiClient& c) { c.fetchArtistAlbums("6452", 12); },
         {{"/weapi/artist/albums/6452",
           "{\"limit\":\"12\",\"offset\":0,\"total\":true,\"e_r\":false,\"csrf_token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"artist mvs",
         [](const CloudApiClient& c) { c.fetchAllArtistMvs("6452"); },
         {{"/weapi/artist/mvs",
           "{\"artistId\":\"6452\",\"limit\":\"50\",\"total\":true,\"e_r\":false,\"csrf_token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"artist top songs",
         [](const CloudApiClient& c) { c.fetchArtistTopSongs("6452"); },
         {{"/weapi/artist/top/song", "{\"id\":\"6452\",\"e_r\":false,\"csrf_token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"album",
         [](const CloudApiClient& c) { c.fetchAlbum("18905"); },
         {{"/weapi/v1/album/18905", "{\"e_r\":false,\"csrf_token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"qr key",
         [](const CloudApiClient& c) { c.qrCreateKey(); },
         {{"/eapi/login/qrcode/unikey",
           "{\"type\":3,\"e_r\":false,\"header\":{\"osver\":\"Microsoft-Windows-10-Professional-build-19045-64bit\","
           "\"deviceId\":\"DEVICEID\",\"os\":\"pc\",\"appver\":\"3.1.17.204416\",\"versioncode\":\"140\","
           "\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__csrf\":\"\",\"channel\":\"netease\",\"MUSIC_A\":"
           "\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_A"}}},
        {"qr check",
         [](const CloudApiClient& c) { c.qrPoll("kkk"); },
         {{"/eapi/login/qrcode/client/login",
           "{\"key\":\"kkk\",\"type\":3,\"e_r\":false,\"header\":{\"osver\":\"Microsoft-Windows-10-Professional-build-"
           "19045-64bit\",\"deviceId\":\"DEVICEID\",\"os\":\"pc\",\"appver\":\"3.1.17.204416\",\"versioncode\":\"140\","
           "\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__csrf\":\"\",\"channel\":\"netease\",\"MUSIC_A\":"
           "\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_A"}}},
        {"user account",
         [](const CloudApiClient& c) { c.checkAccount(""); },
         {{"/weapi/nuser/account/get", "{\"e_r\":false,\"csrf_token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"user account logged in",
         [](const CloudApiClient& c) { c.fetchAccount(kAccountCookie); },
         {{"/weapi/nuser/account/get", "{\"e_r\":false,\"csrf_token\":\"ccc\"}",
           "MUSIC_U,__csrf,__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,"
           "appver,NMTID"}}},
        {"user playlist",
         [](const CloudApiClient& c) { c.fetchUserPlaylists("32953014", ""); },
         {{"/weapi/user/playlist",
           "{\"uid\":\"32953014\",\"limit\":30,\"offset\":0,\"includeVideo\":true,\"e_r\":false,\"csrf_token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"subscribe",
         [](const CloudApiClient& c) { c.subscribePlaylist(SubscribeAction::Subscribe, "24381616", kAccountCookie); },
         {{"/eapi/playlist/subscribe",
           "{\"id\":\"24381616\",\"e_r\":false,\"header\":{\"osver\":\"Microsoft-Windows-10-Professional-build-19045-"
           "64bit\",\"deviceId\":\"DEVICEID\",\"os\":\"pc\",\"appver\":\"3.1.17.204416\",\"versioncode\":\"140\","
           "\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__csrf\":\"ccc\",\"channel\":\"netease\",\"X-"
           "antiCheatToken\":"
           "\"9ca17ae2e6ffcda170e2e6ee8af14fbabdb988f225b3868eb2c15a879b9a83d274a790ac8ff54a97b889d5d42af0feaec3b92af58"
           "cff99c470a7eafd88f75e839a9ea7c14e909da883e83fb692a3abdb6b92adee9e\",\"MUSIC_U\":\"uuu\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,X-"
           "antiCheatToken,MUSIC_U"}}},
        {"unsubscribe",
         [](const CloudApiClient& c) { c.subscribePlaylist(SubscribeAction::Unsubscribe, "24381616", ""); },
         {{"/eapi/playlist/unsubscribe",
           "{\"id\":\"24381616\",\"e_r\":false,\"header\":{\"osver\":\"Microsoft-Windows-10-Professional-build-19045-"
           "64bit\",\"deviceId\":\"DEVICEID\",\"os\":\"pc\",\"appver\":\"3.1.17.204416\",\"versioncode\":\"140\","
           "\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__csrf\":\"\",\"channel\":\"netease\",\"X-"
           "antiCheatToken\":"
           "\"9ca17ae2e6ffcda170e2e6ee8af14fbabdb988f225b3868eb2c15a879b9a83d274a790ac8ff54a97b889d5d42af0feaec3b92af58"
           "cff99c470a7eafd88f75e839a9ea7c14e909da883e83fb692a3abdb6b92adee9e\",\"MUSIC_A\":\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,X-"
           "antiCheatToken,MUSIC_A"}}},
        {"banner",
         [](const CloudApiClient& c) { c.fetchBanners(); },
         {{"/eapi/v2/banner/get",
           "{\"clientType\":\"pc\",\"e_r\":false,\"header\":{\"osver\":\"Microsoft-Windows-10-Professional-build-19045-"
           "64bit\",\"deviceId\":\"DEVICEID\",\"os\":\"pc\",\"appver\":\"3.1.17.204416\",\"versioncode\":\"140\","
           "\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__csrf\":\"\",\"channel\":\"netease\",\"MUSIC_A\":"
           "\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_A"}}},
        {"personalized mv",
         [](const CloudApiClient& c) { c.fetchPersonalizedMvs(); },
         {{"/weapi/personalized/mv", "{\"e_r\":false,\"csrf_token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"top artists",
         [](const CloudApiClient& c) { c.fetchTopArtists(); },
         {{"/weapi/artist/top", "{\"limit\":\"5\",\"offset\":0,\"total\":true,\"e_r\":false,\"csrf_token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"newest albums",
         [](const CloudApiClient& c) { c.fetchNewestAlbums(); },
         {{"/weapi/discovery/newAlbum", "{\"e_r\":false,\"csrf_token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
        {"first mvs",
         [](const CloudApiClient& c) { c.fetchFirstMvs(8); },
         {{"/eapi/mv/first",
           "{\"area\":\"\",\"limit\":\"8\",\"total\":true,\"e_r\":false,\"header\":{\"osver\":\"Microsoft-Windows-10-"
           "Professional-build-19045-64bit\",\"deviceId\":\"DEVICEID\",\"os\":\"pc\",\"appver\":\"3.1.17.204416\","
           "\"versioncode\":\"140\",\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__csrf\":\"\",\"channel\":"
           "\"netease\",\"MUSIC_A\":\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_A"}}},
        {"all mvs",
         [](const CloudApiClient& c) { c.fetchAllMvs(); },
         {{"/eapi/mv/all",
           "{\"tags\":\"{\\\"地区\\\":\\\"全部\\\",\\\"类型\\\":\\\"全部\\\",\\\"排序\\\":\\\"上升最快\\\"}\","
           "\"offset\":0,\"total\":\"true\",\"limit\":30,\"e_r\":false,\"header\":{\"osver\":\"Microsoft-Windows-10-"
           "Professional-build-19045-64bit\",\"deviceId\":\"DEVICEID\",\"os\":\"pc\",\"appver\":\"3.1.17.204416\","
           "\"versioncode\":\"140\",\"mobilename\":\"\",\"resolution\":\"1920x1080\",\"__csrf\":\"\",\"channel\":"
           "\"netease\",\"MUSIC_A\":\"ANONTOKEN\"}}",
           "osver,deviceId,os,appver,versioncode,mobilename,buildver,resolution,__csrf,channel,requestId,MUSIC_A"}}},
        {"mv url",
         [](const CloudApiClient& c) { c.fetchMvUrl("5436712"); },
         {{"/weapi/song/enhance/play/mv/url", "{\"id\":\"5436712\",\"r\":1080,\"e_r\":false,\"csrf_token\":\"\"}",
           "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,channel,appver,NMTID,"
           "MUSIC_A"}}},
    };
    return cases;
}

TEST(DirectRoutesTest, EachRequestReachesTheServiceAsTheReferenceSendsIt) {
    for (const RouteCase& route : routeCases()) {
        SCOPED_TRACE(route.name);
        DirectService service;
        route.call(service.client);
        const std::vector<RecordedRequest> seen = service.requests();
        ASSERT_EQ(seen.size(), route.expected.size());
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].method, "POST");
            EXPECT_EQ(seen[i].target, route.expected[i].path);
            EXPECT_EQ(unwrappedParams(seen[i]), route.expected[i].params);
            EXPECT_EQ(cookieNames(seen[i]), route.expected[i].cookieNames);
            const bool weapi = seen[i].target.starts_with("/weapi/");
            EXPECT_EQ(seen[i].header("Referer"), weapi ? service.server.url("") : "");
            EXPECT_NE(seen[i].header("User-Agent").find(weapi ? "Chrome/124" : "NeteaseMusic 9.0.90"),
                      std::string::npos);
        }
    }
}

TEST(DirectRoutesTest, TheVisitorRegistersOnceAsTheReferenceDoes) {
    // The reference's device id when every random pick is the middle one.
    DirectService service(serviceAnswer, fixedRandomness(), std::string(52, '8'));
    service.client.fetchToplists();
    service.client.fetchBanners();
    service.client.fetchAccount(kAccountCookie);
    const std::vector<RecordedRequest> all = service.server.requests();
    ASSERT_EQ(all.size(), 4u);
    const Expected registration = {"/weapi/register/anonimous",
                                   "{\"username\":"
                                   "\"ODg4ODg4ODg4ODg4ODg4ODg4ODg4ODg4ODg4ODg4ODg4ODg4ODg4ODg4ODg4ODg4ODg4OCBJYkN6em9zZ"
                                   "ko2YkZlN3FVbGtOUTVRPT0=\",\"e_r\":false,\"csrf_token\":\"\"}",
                                   "__remember_me,ntes_kaola_ad,_ntes_nuid,_ntes_nnid,WNMCID,WEVNSM,osver,deviceId,os,"
                                   "channel,appver,NMTID,MUSIC_A"};
    EXPECT_EQ(all[0].target, registration.path);
    EXPECT_EQ(unwrappedParams(all[0]), registration.params);
    EXPECT_EQ(cookieNames(all[0]), registration.cookieNames);
    // The token then goes with every logged-out request, never with an account's.
    EXPECT_NE(all[1].header("Cookie").find("MUSIC_A=ANONTOKEN"), std::string::npos);
    EXPECT_NE(all[2].header("Cookie").find("MUSIC_A=ANONTOKEN"), std::string::npos);
    EXPECT_EQ(all[3].header("Cookie").find("MUSIC_A"), std::string::npos);
    EXPECT_NE(all[3].header("Cookie").find("MUSIC_U=uuu"), std::string::npos);
}

// Answers by the path the request reached, the visitor registration always
// answered.
RecordingServer::Handler answersByPath(std::map<std::string, CannedReply> answers) {
    return [answers = std::move(answers)](const RecordedRequest& request) {
        if (request.target.ends_with("/register/anonimous")) return serviceAnswer(request);
        const auto found = answers.find(request.target);
        if (found != answers.end()) return found->second;
        CannedReply missing;
        missing.status = 404;
        return missing;
    };
}

CannedReply json(std::string body, HeaderFields headers = {}) {
    CannedReply reply;
    reply.contentType = "application/json";
    reply.body = std::move(body);
    reply.headers = std::move(headers);
    return reply;
}

TEST(DirectAnswersTest, ComposedAnswersReadAsTheGatewayOnes) {
    DirectService service(answersByPath({
        {"/eapi/v6/playlist/detail", json(R"({"code":200,"playlist":{"trackIds":[{"id":11},{"id":12},{"id":13}]}})")},
        {"/eapi/v3/song/detail", json(R"({"code":200,"songs":[{"id":12,"name":"二","ar":[{"name":"B"}]}]})")},
        {"/weapi/song/enhance/player/url", json(R"({"code":200,"data":[{"id":7,"code":404,"url":null}]})")},
        {"/eapi/login/qrcode/unikey", json(R"({"code":200,"unikey":"k-1"})")},
        {"/eapi/login/qrcode/client/login",
         json(R"({"code":803,"message":"授权登陆成功"})",
              {{"Set-Cookie", "MUSIC_U=uuu; Max-Age=10; Expires=Wed, 01 Jan 2031 00:00:00 GMT; Path=/"},
               {"Set-Cookie", "__csrf=ccc; Path=/"}})},
    }));
    const std::vector<SongItem> tracks = service.client.fetchPlaylistTracks("9", 1, 1, "");
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_EQ(tracks[0].name, "二");
    EXPECT_FALSE(service.client.checkSong("7", ""));
    EXPECT_EQ(service.client.qrCreateKey(), "k-1");
    const QrPollResult poll = service.client.qrPoll("k-1");
    EXPECT_EQ(poll.state, QrLoginState::LoggedIn);
    EXPECT_EQ(poll.cookie, "MUSIC_U=uuu; __csrf=ccc");

    // The login URL is made here, and its picture is left to the login page.
    const std::size_t before = service.server.requests().size();
    EXPECT_EQ(service.client.qrCreateUrl("k-1"), "https://music.163.com/login?codekey=k-1");
    EXPECT_EQ(service.client.fetchQrPicture("https://music.163.com/login?codekey=k-1"), "");
    EXPECT_EQ(service.server.requests().size(), before);
}

TEST(DirectAnswersTest, SongUrlFallsToLowerQualitiesAndRefusesTrialClips) {
    struct Case {
        std::string chosen;
        std::map<std::string, std::string> urlByLevel;  // levels not listed answer a null URL
        std::string trialAt;                            // the level whose URL is a trial clip
        std::vector<std::string> levelsAsked;
        std::string url;
    };
    const Case cases[] = {
        {"lossless", {{"lossless", "http://m/l.flac"}}, "", {"lossless"}, "http://m/l.flac"},
        {"lossless", {{"higher", "http://m/h.mp3"}}, "", {"lossless", "exhigh", "higher"}, "http://m/h.mp3"},
        {"higher", {}, "", {"higher", "standard"}, "null"},
        {"exhigh", {{"exhigh", "http://m/t.mp3"}}, "exhigh", {"exhigh"}, "null"},
        {"not a level", {{"exhigh", "http://m/e.mp3"}}, "", {"exhigh"}, "http://m/e.mp3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        auto asked = std::make_shared<std::vector<std::string>>();
        DirectService service([c, asked](const RecordedRequest& request) {
            if (!request.target.ends_with("/player/url/v1")) return serviceAnswer(request);
            const auto message = ServiceCipher::openEapi(formValue(request.body, "params"));
            const std::string level = message ? Json::parse(message->json).value("level", "") : "";
            asked->push_back(level);
            const auto url = c.urlByLevel.find(level);
            Json entry{
                {"id", 1}, {"url", url == c.urlByLevel.end() ? Json() : Json(url->second)}, {"freeTrialInfo", Json()}};
            if (level == c.trialAt) entry["freeTrialInfo"] = Json{{"start", 0}, {"end", 30}};
            return json(Json{{"code", 200}, {"data", Json::array({entry})}}.dump());
        });
        service.client.setSongLevel(c.chosen);
        EXPECT_EQ(service.client.fetchSongUrl("1"), c.url);
        EXPECT_EQ(*asked, c.levelsAsked);
    }
}

TEST(DirectSessionTest, AFailedRegistrationIsRetriedOnlyAfterAWhile) {
    auto clock = std::make_shared<std::atomic<std::int64_t>>(1796968786000);
    auto registrationWorks = std::make_shared<std::atomic<bool>>(false);
    DirectService service(
        [registrationWorks](const RecordedRequest& request) {
            if (request.target.ends_with("/register/anonimous") && !*registrationWorks) return json("", {});
            return serviceAnswer(request);
        },
        fixedRandomness(clock));
    const auto registrations = [&service] {
        std::size_t count = 0;
        for (const RecordedRequest& request : service.server.requests())
            count += request.target.ends_with("/register/anonimous");
        return count;
    };
    service.client.fetchToplists();
    service.client.fetchToplists();
    EXPECT_EQ(registrations(), 1u);
    EXPECT_NE(service.server.requests().back().header("Cookie").find("MUSIC_A="), std::string::npos);
    *registrationWorks = true;
    *clock += 31000;
    service.client.fetchToplists();
    service.client.fetchToplists();
    EXPECT_EQ(registrations(), 2u);
    EXPECT_NE(service.server.requests().back().header("Cookie").find("MUSIC_A=ANONTOKEN"), std::string::npos);
}

TEST(DirectSessionTest, PicturesGoWithoutTheAccountCookie) {
    DirectService service;
    service.client.fetchAccount(kAccountCookie);
    service.client.fetchPicture(service.server.url("/cover.jpg"));
    const std::vector<RecordedRequest> seen = service.server.requests();
    ASSERT_EQ(seen.back().target, "/cover.jpg");
    EXPECT_EQ(seen.back().header("Cookie"), "");
}

}  // namespace
