// Every path the client uses answers with the service's shape: the members
// the client reads, where it reads them, with the right JSON types, in
// compact UTF-8 with the service's member order.
#include <functional>

#include "ServerTestSupport.h"

namespace {

struct Check {
    std::string pointer;
    std::string expectation;
    std::function<bool(const Json*)> holds;  // the value at the pointer; nullptr when absent
};

Check isText(const std::string& pointer) {
    return {pointer, "a text", [](const Json* v) { return v && v->is_string(); }};
}
Check isNumber(const std::string& pointer) {
    return {pointer, "a number", [](const Json* v) { return v && v->is_number(); }};
}
Check isNull(const std::string& pointer) {
    return {pointer, "null", [](const Json* v) { return v && v->is_null(); }};
}
Check isAbsent(const std::string& pointer) {
    return {pointer, "absent", [](const Json* v) { return v == nullptr; }};
}
Check equals(const std::string& pointer, const Json& want) {
    return {pointer, want.dump(), [want](const Json* v) { return v && *v == want; }};
}
Check sizeIs(const std::string& pointer, std::size_t size) {
    return {pointer, std::to_string(size) + " members",
            [size](const Json* v) { return v && v->is_array() && v->size() == size; }};
}
Check sizeAtLeast(const std::string& pointer, std::size_t size) {
    return {pointer, "at least " + std::to_string(size) + " members",
            [size](const Json* v) { return v && v->is_array() && v->size() >= size; }};
}
Check textHas(const std::string& pointer, const std::string& part) {
    return {pointer, "a text holding " + part, [part](const Json* v) {
                return v && v->is_string() && v->get<std::string>().find(part) != std::string::npos;
            }};
}
Check textEndsWith(const std::string& pointer, const std::string& end) {
    return {pointer, "a text ending in " + end,
            [end](const Json* v) { return v && v->is_string() && v->get<std::string>().ends_with(end); }};
}

const Json* valueAt(const Json& json, const std::string& pointer) {
    const Json::json_pointer at(pointer);
    return json.contains(at) ? &json.at(at) : nullptr;
}

struct Row {
    std::string target;
    std::vector<Check> checks;
};

const std::string kMs = "&timestamp=1577836800007";

std::vector<Row> rows() {
    return {
        {"/song/detail?ids=1900001001",
         {equals("/songs/0/name", "夏日来信"), isText("/songs/0/ar/0/name"), isAbsent("/songs/0/ar/1"),
          textEndsWith("/songs/0/al/picUrl", ".jpg"), equals("/songs/0/mv", 10900001),
          equals("/privileges/0/id", 1900001001), equals("/code", 200)}},
        {"/song/detail?ids=1900001007", {equals("/songs/0/ar/2/name", "南风"), equals("/songs/0/mv", 0)}},
        {"/song/detail?ids=1900001003,1900001001,2200000001",
         {sizeIs("/songs", 3), equals("/songs/0/id", 1900001003), equals("/songs/1/id", 1900001001),
          equals("/songs/2/id", 2200000001LL), equals("/songs/2/ar/0/name", "练习曲工作室")}},
        {"/song/detail?ids=", {sizeIs("/songs", 0), equals("/code", 200)}},
        {"/search?keywords=" + encodeQueryValue("林夏") + "&type=1&limit=18",
         {sizeAtLeast("/result/songs", 10), isNumber("/result/songs/0/id"), isText("/result/songs/0/name"),
          isText("/result/songs/0/artists/0/name"), isNumber("/result/songCount")}},
        {"/search?keywords=%61+%62&type=1&limit=18", {isAbsent("/result/songs"), equals("/result/songCount", 0)}},
        {"/search?keywords=PAPER&type=1&limit=18", {equals("/result/songs/0/name", "Paper Lanterns")}},
        {"/search?keywords=" + encodeQueryValue("Zoé") + "&type=100&limit=3",
         {sizeIs("/result/artists", 1), equals("/result/artists/0/name", "Zoé Lefèvre"),
          textEndsWith("/result/artists/0/img1v1Url", ".png"), equals("/result/artists/0/id", 12138009)}},
        {"/search?keywords=" + encodeQueryValue("练习曲") + "&type=100&limit=50", {sizeIs("/result/artists", 1)}},
        {"/search?keywords=" + encodeQueryValue("练习曲") + "&type=10&limit=3",
         {sizeIs("/result/albums", 3), equals("/result/hasMore", true), isText("/result/albums/0/picUrl"),
          isText("/result/albums/0/name"), equals("/result/albums/0/artist/name", "练习曲工作室")}},
        {"/search?keywords=" + encodeQueryValue("夏天") + "&type=1000&limit=12",
         {isText("/result/playlists/0/coverImgUrl"), isNumber("/result/playlists/0/id"),
          isText("/result/playlists/0/name")}},
        {"/top/playlist?limit=100&cookie=",
         {sizeAtLeast("/playlists", 30), equals("/cat", "全部"), isText("/playlists/0/coverImgUrl"),
          isNumber("/playlists/0/id"), isText("/playlists/0/name"), isNull("/playlists/0/subscribed")}},
        {"/personalized?limit=100&cookie=",
         {sizeIs("/result", 12), isText("/result/0/picUrl"), isNumber("/result/0/id"), isText("/result/0/name")}},
        {"/top/playlist/highquality?limit=100",
         {sizeAtLeast("/playlists", 5), equals("/playlists/0/highQuality", true), isText("/playlists/0/copywriter")}},
        {"/top/playlist?cat=" + encodeQueryValue("欧美") + "&limit=100",
         {sizeAtLeast("/playlists", 4), equals("/cat", "欧美")}},
        {"/top/playlist?cat=" + encodeQueryValue("不存在") + "&limit=100",
         {sizeIs("/playlists", 0), equals("/total", 0)}},
        {"/toplist",
         {sizeIs("/list", 6), isText("/list/0/name"), isNumber("/list/0/id"), isText("/list/0/coverImgUrl"),
          equals("/list/0/ToplistType", "S"), isAbsent("/list/5/ToplistType")}},
        {"/playlist/detail?id=7000000030&cookie=",
         {equals("/playlist/name", "夏天的声音 ☀️"), equals("/playlist/creator/nickname", "Ève Marchand"),
          isText("/playlist/coverImgUrl"), textHas("/playlist/description", "\"海风\""),
          textHas("/playlist/description", "\n")}},
        {"/playlist/detail?id=8806287654&cookie=",
         {sizeIs("/playlist/trackIds", 500), sizeIs("/playlist/tracks", 20), equals("/playlist/trackCount", 500),
          sizeIs("/privileges", 20)}},
        {"/playlist/detail?id=7000000007&cookie=", {isNull("/playlist/description")}},
        {"/playlist/detail?id=1&cookie=", {equals("/code", 404), isAbsent("/playlist")}},
        {"/playlist/track/all?id=8806287654&limit=200&offset=0&cookie=",
         {sizeIs("/songs", 200), equals("/songs/0/id", 2200000001LL), equals("/songs/199/id", 2200000200LL),
          isText("/songs/0/ar/0/name"), isText("/songs/0/name")}},
        {"/playlist/track/all?id=8806287654&limit=200&offset=400&cookie=",
         {sizeIs("/songs", 100), equals("/songs/0/id", 2200000401LL)}},
        {"/playlist/track/all?id=8806287654&limit=200&offset=600&cookie=", {sizeIs("/songs", 0)}},
        {"/artist/detail?id=12138001",
         {equals("/data/artist/name", "林夏"), textEndsWith("/data/user/avatarUrl", ".png"),
          isText("/data/artist/cover"), equals("/data/identify/imageDesc", "网易音乐人"),
          textHas("/data/artist/briefDesc", "\n")}},
        {"/artist/detail?id=12138002",
         {equals("/data/artist/name", "周野"), isAbsent("/data/user"), isText("/data/artist/cover"),
          isAbsent("/data/identify")}},
        {"/artist/detail?id=1", {equals("/code", 404)}},
        {"/artist/album?id=12138013&limit=10" + kMs,
         {sizeIs("/hotAlbums", 10), equals("/more", true), isText("/hotAlbums/0/name"), isText("/hotAlbums/0/picUrl"),
          isNumber("/hotAlbums/0/id"), equals("/artist/albumSize", 25)}},
        {"/artist/album?id=12138013&limit=30", {sizeIs("/hotAlbums", 25), equals("/more", false)}},
        {"/artist/mv?id=12138002&limit=10" + kMs,
         {sizeIs("/mvs", 10), equals("/hasMore", true), isText("/mvs/0/name"), isText("/mvs/0/imgurl16v9"),
          isNumber("/mvs/0/id")}},
        {"/artist/mv?id=12138002&limit=50", {sizeIs("/mvs", 50), equals("/hasMore", false)}},
        {"/artist/top/song?id=12138002",
         {equals("/code", 200), isText("/songs/0/name"), isNumber("/songs/0/id"), isText("/songs/0/ar/0/name"),
          isText("/songs/0/al/name"), isText("/songs/0/al/picUrl"), isNumber("/songs/0/dt")}},
        {"/artist/top/song?id=1", {equals("/code", 404)}},
        {"/album?id=150001",
         {equals("/code", 200), equals("/album/name", "夏日来信"), isText("/album/picUrl"),
          equals("/album/artist/name", "林夏"), isNumber("/album/artist/id"), isNumber("/album/publishTime"),
          equals("/album/company", "夏日唱片"), isText("/album/description"), sizeIs("/album/songs", 0),
          sizeAtLeast("/songs", 1), isText("/songs/0/name"), isNumber("/songs/0/id"), isText("/songs/0/ar/0/name")}},
        {"/album?id=1", {equals("/code", 404), isAbsent("/songs")}},
        {"/banner?type=0" + kMs,
         {sizeIs("/banners", 7), isText("/banners/0/imageUrl"), isText("/banners/0/typeTitle"),
          isNumber("/banners/0/targetId"), isNull("/banners/0/url"), equals("/banners/4/targetId", 0),
          equals("/banners/4/targetType", 3000), textHas("/banners/4/url", "https://"),
          equals("/banners/6/typeTitle", "")}},
        {"/personalized/mv?timestamp=1577836800007",
         {sizeIs("/result", 4), isText("/result/0/picUrl"), isText("/result/0/name"), isNumber("/result/0/id")}},
        {"/personalized?limit=10" + kMs + "&cookie=", {sizeIs("/result", 10)}},
        {"/top/artists?limit=5" + kMs,
         {sizeIs("/artists", 5), isText("/artists/0/img1v1Url"), equals("/artists/0/name", "林夏"),
          isNumber("/artists/0/id"), equals("/more", true)}},
        {"/album/newest", {sizeAtLeast("/albums", 11), isText("/albums/0/name"), isText("/albums/0/picUrl")}},
        {"/mv/first?limit=10",
         {sizeIs("/data", 10), equals("/data/0/name", "Neon 🌙 Drive"), isText("/data/0/cover"),
          isNumber("/data/0/id")}},
        {"/mv/all", {sizeIs("/data", 30), equals("/count", 61), equals("/hasMore", true), isText("/data/0/cover")}},
        {"/mv/all?limit=30&offset=60", {sizeIs("/data", 1), equals("/hasMore", false)}},
        {"/mv/url?id=10900001" + kMs, {textHas("/data/url", "&wsTime="), equals("/data/code", 200)}},
        {"/lyric?id=1900001001", {isText("/lrc/lyric"), textHas("/tlyric/lyric", "[by:"), equals("/code", 200)}},
        {"/user/account?cookie=", {equals("/code", 200), isNull("/account"), isNull("/profile")}},
        {"/user/account?cookie=" + encodeQueryValue("MUSIC_U=00bogus; Path=/"), {isNull("/profile")}},
        {"/user/playlist?uid=1490000001" + kMs + "&cookie=",
         {sizeIs("/playlist", 3), equals("/playlist/0/specialType", 5), isText("/playlist/0/coverImgUrl"),
          isNumber("/playlist/0/id"), isText("/playlist/0/name")}},
        {"/user/playlist?uid=42" + kMs + "&cookie=", {sizeIs("/playlist", 0), equals("/code", 200)}},
        {"/playlist/subscribe?t=1&id=7000000001&cookie=", {equals("/code", 301)}},
        {"/api/?type=apiSongUrlV1&id=1900001001",
         {textEndsWith("/data/0/url", "-higher.mp3"), equals("/data/0/type", "mp3"), isNumber("/data/0/size"),
          equals("/data/0/code", 200)}},
        {"/api/?type=apiSongUrlV1&id=1900001005",
         {textEndsWith("/data/0/url", ".flac"), equals("/data/0/type", "flac")}},
        {"/api/?type=apiSongUrlV1&id=1900001001&level=lossless", {textEndsWith("/data/0/url", "-lossless.flac")}},
        {"/api/?type=apiSongUrlV1&id=1900001005&level=standard", {textEndsWith("/data/0/url", ".mp3")}},
        {"/api/?type=apiSongUrlV1&id=1900001012", {isNull("/data/0/url"), equals("/data/0/code", 404)}},
        {"/api/?type=apiSongUrlV1&id=12", {isNull("/data/0/url")}},
        {"/api/config/config.json",
         {equals("/data/Name", "Mivra Music"), equals("/data/Ver", "Beta V1.1.4"),
          textEndsWith("/urls/UpdateLog", "/api/config/updatelog.json"), textEndsWith("/urls/Download", "/download/")}},
        {"/api/config/updatelog.json", {sizeAtLeast("/data", 2), textHas("/data/0/content", "\\n")}},
        {"/api/online.php", {equals("/code", 200), isNumber("/online")}},
        {"/mivra/public/?type=apiCloudMusicQRCodeLogin&op=0", {equals("/code", 200), isText("/data/unikey")}},
        // The self-hosted API server's routes a relay in front of this server asks.
        {"/song/url/v1?id=1900001001&level=exhigh",
         {textEndsWith("/data/0/url", "-higher.mp3"), equals("/data/0/id", 1900001001), equals("/data/0/code", 200),
          equals("/code", 200)}},
        {"/song/url/v1?id=1900001012&level=exhigh", {isNull("/data/0/url"), equals("/data/0/code", 404)}},
        {"/login/qr/key?timestamp=1577836800007",
         {equals("/code", 200), equals("/data/code", 200), isText("/data/unikey")}},
        {"/login/qr/create?key=abc&timestamp=1577836800007",
         {equals("/code", 200), textEndsWith("/data/qrurl", "/demo/scan/abc"), isText("/data/qrimg")}},
        {"/login/qr/check?key=abc&timestamp=1577836800007",
         {equals("/code", 800), isText("/message"), equals("/cookie", "")}},
        {"/nothing/here", {equals("/code", 404)}},
    };
}

}  // namespace

class EndpointShapeTest : public ServerTest {};

TEST_F(EndpointShapeTest, EveryPathAnswersInTheServiceShape) {
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.target);
        auto result = get(row.target);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->get_header_value("Content-Type"), "application/json; charset=utf-8");
        const Json json = Json::parse(result->body, nullptr, false);
        ASSERT_FALSE(json.is_discarded()) << result->body.substr(0, 200);
        // Compact, and the members in the order the answer was written.
        EXPECT_EQ(result->body, json.dump());
        for (const Check& check : row.checks) {
            EXPECT_TRUE(check.holds(valueAt(json, check.pointer)))
                << check.pointer << " should be " << check.expectation;
        }
    }
}

TEST_F(EndpointShapeTest, PictureAndStreamUrlsUseTheAddressTheClientUsed) {
    const Json banner = getJson("/banner?type=0");
    EXPECT_TRUE(banner["banners"][0]["imageUrl"].get<std::string>().starts_with(server->origin() + "/pic/"));
    auto result = client->Get("/api/?type=apiSongUrlV1&id=1900001001", {{"Host", "music.example:8080"}});
    ASSERT_TRUE(result);
    const Json url = Json::parse(result->body);
    EXPECT_TRUE(url["data"][0]["url"].get<std::string>().starts_with("http://music.example:8080/media/audio/"));
}

TEST_F(EndpointShapeTest, AvailabilityCheckSaysOkOnlyForLicensedSongs) {
    auto licensed = get("/check/music?id=1900001001&cookie=MUSIC_U=x");
    ASSERT_TRUE(licensed);
    EXPECT_NE(licensed->body.find("ok"), std::string::npos);
    for (const std::string id : {"1900001017", "5", ""}) {
        auto refused = get("/check/music?id=" + id + "&cookie=");
        ASSERT_TRUE(refused);
        EXPECT_EQ(refused->body.find("ok"), std::string::npos) << id;
    }
}
