// Every client operation against a recording server: the request it sends
// (path, query keys in order, which engine and User-Agent) and the record it
// makes of the answer; then the same operations against a closed port.
#include "PathAnswers.h"
#include "RecordDescriptions.h"
#include "api/CloudApiClient.h"
#include "api/ServiceRequest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace {

// 2020-01-01 08:00:00.007 on a clock that runs in UTC+8.
constexpr std::int64_t kFixedLocalMs = 1577836800007LL + 8 * 3600 * 1000LL;

// How the request reached the server, told apart by the User-Agent each
// engine sends.
enum class Engine { MainDefaults, MainBrowserAgent, Secondary };

constexpr const char* kMainEngineAgent = "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)";
constexpr const char* kSecondaryEngineAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

const char* agentOf(Engine engine) {
    switch (engine) {
        case Engine::MainDefaults: return kMainEngineAgent;
        case Engine::MainBrowserAgent: return kBrowserUserAgent;
        case Engine::Secondary: return kSecondaryEngineAgent;
    }
    return "";
}

struct OperationCase {
    const char* name;
    std::function<std::string(const CloudApiClient&)> call;  // runs the operation, describes its result
    std::string target;                                      // path and query the server must see
    Engine engine;
    std::string answer;
    std::string record;          // the result's description
    std::string recordWhenDown;  // the same with no server listening
};

std::string yesNo(bool value, const char* yes, const char* no) { return value ? yes : no; }

std::string pathOf(const std::string& target) { return target.substr(0, target.find('?')); }

const std::string kPureMusicLyric = "[99:00.00]纯音乐，请欣赏\\n";

std::vector<OperationCase> operationCases() {
    return {
        // Songs.
        {"song detail with three artists",
         [](const CloudApiClient& c) { return describe(c.fetchSongDetail("1868553")); }, "/song/detail?ids=1868553",
         Engine::MainDefaults,
         R"({"songs":[{"name":"夜曲","id":1868553,"ar":[{"id":6452,"name":"周杰伦"},{"id":7,"name":"Ólafur Arnalds"},)"
         R"({"id":8,"name":"아이유"}],"al":{"id":18905,"name":"十一月的萧邦","picUrl":"http://p/18905.jpg"},"mv":5264842912}],"code":200})",
         "夜曲|周杰伦，Ólafur Arnalds|http://p/18905.jpg|5264842912|十一月的萧邦", "||||"},
        {"song detail with one artist and no MV",
         [](const CloudApiClient& c) { return describe(c.fetchSongDetail("29")); }, "/song/detail?ids=29",
         Engine::MainDefaults,
         R"({"songs":[{"name":"Song 🎵","ar":[{"id":1,"name":"Amélie"}],"al":{"picUrl":"http://p/2.png"},"mv":0}],"code":200})",
         "Song 🎵|Amélie|http://p/2.png|0|", "||||"},
        {"song names of a queue",
         [](const CloudApiClient& c) {
             return describe(c.fetchSongNames({"3", "1", "2"}));
         },
         "/song/detail?ids=3%2C1%2C2", Engine::MainDefaults,
         R"({"songs":[{"name":"三","ar":[{"name":"C"},{"name":"X"}]},{"name":"一","ar":[{"name":"A"}]},{"name":"二","ar":[]}],"code":200})",
         "三|C\n一|A\n二|", ""},
        {"song names of an empty queue", [](const CloudApiClient& c) { return describe(c.fetchSongNames({})); },
         "/song/detail?ids=", Engine::MainDefaults, R"({"songs":[],"code":200})", "", ""},
        {"song stream URL", [](const CloudApiClient& c) { return c.fetchSongUrl("1868553"); },
         "/api/?type=apiSongUrlV1&id=1868553", Engine::MainBrowserAgent,
         R"({"code":200,"data":[{"id":1868553,"url":"http://m/1868553.flac","br":999000,"size":1024}]})",
         "http://m/1868553.flac", "null"},
        {"song stream URL that is null", [](const CloudApiClient& c) { return c.fetchSongUrl("4"); },
         "/api/?type=apiSongUrlV1&id=4", Engine::MainBrowserAgent, R"({"code":200,"data":[{"id":4,"url":null}]})",
         "null", "null"},
        {"song stream URL of a trial clip", [](const CloudApiClient& c) { return c.fetchSongUrl("6"); },
         "/api/?type=apiSongUrlV1&id=6", Engine::MainBrowserAgent,
         R"({"code":200,"data":[{"id":6,"url":"http://m/6.mp3","freeTrialInfo":{"start":0,"end":30}}]})", "null",
         "null"},
        {"song stream with the loudness gain and peak",
         [](const CloudApiClient& c) {
             const SongStream stream = c.fetchSongStream("33894312");
             return stream.url + "|" + std::to_string(stream.gainDb) + "|" + std::to_string(stream.peak);
         },
         "/api/?type=apiSongUrlV1&id=33894312", Engine::MainBrowserAgent,
         R"({"data":[{"id":33894312,"url":"http://m/1.mp3","code":200,"gain":-2.0E-4,"peak":0.9512}],"code":200})",
         "http://m/1.mp3|-0.000200|0.951200", "null|0.000000|0.000000"},
        {"raw lyric", [](const CloudApiClient& c) { return c.fetchRawLyric("1868553"); }, "/lyric?id=1868553",
         Engine::Secondary,
         R"({"sgc":false,"lrc":{"version":5,"lyric":"[00:01.00]一\n[00:02.50]\"二\""},)"
         R"("klyric":{"version":0,"lyric":""},"tlyric":{"version":1,"lyric":"[by:x]\n[00:01.00]one"},"code":200})",
         "[00:01.00]一\n[00:02.50]\"二\"", ""},
        {"raw lyric of a pure-music answer", [](const CloudApiClient& c) { return c.fetchRawLyric("5"); },
         "/lyric?id=5", Engine::Secondary,
         R"({"sgc":true,"nolyric":false,"lrc":{"version":1,"lyric":")" + kPureMusicLyric + R"("},"code":200})",
         "[99:00.00]纯音乐，请欣赏\n", ""},
        {"lyric document",
         [](const CloudApiClient& c) {
             const JsonDocument lyric = c.fetchLyric("1868553");
             return lyric.getText("lrc.lyric") + "|" + lyric.getText("tlyric.lyric");
         },
         "/lyric?id=1868553", Engine::MainDefaults,
         R"({"lrc":{"version":5,"lyric":"[00:01.00]一\n"},"klyric":{"lyric":""},"tlyric":{"lyric":"[00:01.00]one"},"code":200})",
         "[00:01.00]一\n|[00:01.00]one", "|"},
        {"lyrics with word timing",
         [](const CloudApiClient& c) {
             const SongLyrics lyrics = c.fetchSongLyrics("1868553");
             return lyrics.lyric + "|" + lyrics.translation + "|" + lyrics.wordLyric;
         },
         "/lyric/new?id=1868553", Engine::MainDefaults,
         R"({"lrc":{"lyric":"[00:01.00]一二\n"},"tlyric":{"lyric":"[00:01.00]one two"},)"
         R"("yrc":{"version":2,"lyric":"[1000,900](1000,450,0)一(1450,450,0)二\n"},"code":200})",
         "[00:01.00]一二\n|[00:01.00]one two|[1000,900](1000,450,0)一(1450,450,0)二\n", "||"},
        {"lyrics without word timing",
         [](const CloudApiClient& c) {
             const SongLyrics lyrics = c.fetchSongLyrics("5");
             return lyrics.lyric + "|" + lyrics.translation + "|" + lyrics.wordLyric;
         },
         "/lyric/new?id=5", Engine::MainDefaults, R"({"lrc":{"lyric":"[00:01.00]a\n"},"code":200})", "[00:01.00]a\n||",
         "||"},
        {"availability check, \"ok\" inside a word",
         [](const CloudApiClient& c) {
             return yesNo(c.checkSong("1868553", "MUSIC_A=x/y=; os=pc"), "available", "not");
         },
         "/check/music?id=1868553&cookie=MUSIC_A%3Dx%2Fy%3D%3B+os%3Dpc", Engine::MainDefaults,
         R"({"success":true,"message":"looks okay"})", "available", "not"},
        {"availability check, upper-case OK only",
         [](const CloudApiClient& c) { return yesNo(c.checkSong("7", ""), "available", "not"); },
         "/check/music?id=7&cookie=", Engine::MainDefaults, R"({"success":false,"message":"NOT OK"})", "not", "not"},

        // Search and catalogue.
        {"song search with a spaced keyword", [](const CloudApiClient& c) { return describe(c.searchSongs("a b")); },
         "/search?keywords=%61+%62&type=1&limit=18", Engine::MainDefaults,
         R"({"result":{"songs":[{"id":1868553,"name":"夜曲","artists":[{"name":"A"},{"name":"B"},{"name":"C"}]},)"
         R"({"id":5264842912,"name":"x","artists":[{"name":"D"}]}],"songCount":2},"code":200})",
         "1868553|夜曲|A，B\n5264842912|x|D", ""},
        {"artist search", [](const CloudApiClient& c) { return describe(c.searchArtists("a b", 3)); },
         "/search?keywords=%61+%62&type=100&limit=3", Engine::MainDefaults,
         R"({"result":{"artists":[{"id":6452,"name":"周杰伦","img1v1Url":"http://p/a.jpg","alias":[]}]},"code":200})",
         "http://p/a.jpg|周杰伦|6452", ""},
        {"album search", [](const CloudApiClient& c) { return describe(c.searchAlbums("a")); },
         "/search?keywords=%61&type=10&limit=3", Engine::MainDefaults,
         R"({"result":{"albums":[{"id":18905,"name":"十一月的萧邦","picUrl":"http://p/al.jpg","artist":{"name":"周杰伦"}}]},"code":200})",
         "http://p/al.jpg|十一月的萧邦|18905|周杰伦", ""},
        {"playlist search", [](const CloudApiClient& c) { return describe(c.searchPlaylists("a")); },
         "/search?keywords=%61&type=1000&limit=12", Engine::MainDefaults,
         R"({"result":{"playlists":[{"id":24381616,"name":"\"Quoted\"","coverImgUrl":"http://p/pl.jpg"}]},"code":200})",
         "http://p/pl.jpg|\"Quoted\"|24381616", ""},
        {"all playlists without a login", [](const CloudApiClient& c) { return describe(c.fetchAllPlaylists("")); },
         "/top/playlist?limit=100&cookie=", Engine::MainDefaults,
         R"({"playlists":[{"name":"P1","id":1,"coverImgUrl":"http://p/1.jpg"},{"name":"P2","id":2}],"code":200})",
         "http://p/1.jpg|P1|1\n|P2|2", ""},
        {"personalised playlists",
         [](const CloudApiClient& c) { return describe(c.fetchPersonalizedPlaylists("MUSIC_U=abc")); },
         "/personalized?limit=100&cookie=MUSIC_U%3Dabc", Engine::MainDefaults,
         R"({"result":[{"id":11,"name":"R1","picUrl":"http://p/r1.jpg","copywriter":"x"}],"code":200})",
         "http://p/r1.jpg|R1|11", ""},
        {"high-quality playlists", [](const CloudApiClient& c) { return describe(c.fetchHighQualityPlaylists()); },
         "/top/playlist/highquality?limit=100", Engine::MainDefaults,
         R"({"playlists":[{"name":"H","id":3,"coverImgUrl":"http://p/h.jpg"}],"code":200})", "http://p/h.jpg|H|3", ""},
        {"category playlists", [](const CloudApiClient& c) { return describe(c.fetchCategoryPlaylists("华语")); },
         "/top/playlist?cat=%E5%8D%8E%E8%AF%AD&limit=100", Engine::MainDefaults,
         R"({"playlists":[{"name":"华语精选","id":4,"coverImgUrl":"http://p/c.jpg"}],"cat":"华语","code":200})",
         "http://p/c.jpg|华语精选|4", ""},
        {"charts", [](const CloudApiClient& c) { return describe(c.fetchToplists()); }, "/toplist",
         Engine::MainBrowserAgent,
         R"({"list":[{"name":"飙升榜","id":19723756,"coverImgUrl":"http://p/t.jpg","updateFrequency":"每天更新"}],"code":200})",
         "http://p/t.jpg|飙升榜|19723756", ""},
        {"playlist header without a login",
         [](const CloudApiClient& c) { return describe(c.fetchPlaylistDetail("24381616", "")); },
         "/playlist/detail?id=24381616&cookie=", Engine::MainBrowserAgent,
         R"({"code":200,"playlist":{"name":"歌单","creator":{"nickname":"ユーザー"},"coverImgUrl":"http://p/d.jpg",)"
         R"("description":"Say \"hi\"\nline two"}})",
         "歌单|ユーザー|http://p/d.jpg|Say \"hi\"\nline two", "|||"},
        {"playlist header of a playlist the account subscribed",
         [](const CloudApiClient& c) { return describe(c.fetchPlaylistDetail("5", "MUSIC_U=1")); },
         "/playlist/detail?id=5&cookie=MUSIC_U%3D1", Engine::MainBrowserAgent,
         R"({"code":200,"playlist":{"name":"P","creator":{"nickname":"N","userId":77},"subscribed":true}})",
         "P|N|||77|subscribed", "|||"},
        {"playlist tracks", [](const CloudApiClient& c) { return describe(c.fetchPlaylistTracks("9", 200, 0, "c=1")); },
         "/playlist/track/all?id=9&limit=200&offset=0&cookie=c%3D1", Engine::MainBrowserAgent,
         R"({"songs":[{"name":"S1","id":101,"ar":[{"name":"A1"},{"name":"A2"}]},{"name":"S2","id":102,"ar":[{"name":"B1"}]}],"code":200})",
         "101|S1|A1\n102|S2|B1", ""},
        {"artist with a user account", [](const CloudApiClient& c) { return describe(c.fetchArtistDetail("6452")); },
         "/artist/detail?id=6452", Engine::MainBrowserAgent,
         R"({"code":200,"data":{"artist":{"id":6452,"name":"周杰伦","cover":"http://p/cover.jpg","briefDesc":"简介"},)"
         R"("user":{"avatarUrl":"http://p/avatar.jpg"},"identify":{"imageDesc":"歌手"}}})",
         "周杰伦|http://p/avatar.jpg?param=250y250|歌手|简介", "|?param=250y250||"},
        {"artist without a user account", [](const CloudApiClient& c) { return describe(c.fetchArtistDetail("7")); },
         "/artist/detail?id=7", Engine::MainBrowserAgent,
         R"({"code":200,"data":{"artist":{"id":7,"name":"Björk","cover":"http://p/bjork.jpg","briefDesc":""}}})",
         "Björk|http://p/bjork.jpg?param=250y250||", "|?param=250y250||"},
        {"artist albums", [](const CloudApiClient& c) { return describe(c.fetchArtistAlbums("6452", 10)); },
         "/artist/album?id=6452&limit=10&timestamp=1577836800007", Engine::MainBrowserAgent,
         R"({"hotAlbums":[{"name":"叶惠美","picUrl":"http://p/y.jpg","id":18903},{"name":"无图","id":18904}],"more":true,"code":200})",
         "http://p/y.jpg?param=250y250|叶惠美|18903\n?param=250y250|无图|18904", ""},
        {"artist MVs", [](const CloudApiClient& c) { return describe(c.fetchArtistMvs("6452", 10)); },
         "/artist/mv?id=6452&limit=10&timestamp=1577836800007", Engine::MainBrowserAgent,
         R"({"mvs":[{"id":5436712,"name":"MV","imgurl16v9":"http://p/mv.jpg","imgurl":"http://p/other.jpg"}],"code":200})",
         "http://p/mv.jpg|MV|5436712", ""},
        {"all artist MVs", [](const CloudApiClient& c) { return describe(c.fetchAllArtistMvs("6452")); },
         "/artist/mv?id=6452&limit=50", Engine::MainDefaults,
         R"({"mvs":[{"id":1,"name":"M1","imgurl16v9":"http://p/m1.jpg"},{"id":2,"name":"M2","imgurl16v9":"http://p/m2.jpg"}],"code":200})",
         "http://p/m1.jpg|M1|1\nhttp://p/m2.jpg|M2|2", ""},
        {"artist top songs with their albums and lengths",
         [](const CloudApiClient& c) { return describe(c.fetchArtistTopSongs("6452")); }, "/artist/top/song?id=6452",
         Engine::MainDefaults,
         R"({"songs":[{"name":"晴天","id":186016,"ar":[{"name":"周杰伦"}],"al":{"name":"叶惠美","picUrl":"http://p/y.jpg"},)"
         R"("dt":269000},{"name":"无专辑","id":7,"ar":[]}],"more":true,"code":200})",
         "186016|晴天|周杰伦|叶惠美|http://p/y.jpg|269000\n7|无专辑|", ""},
        {"album with its songs beside it", [](const CloudApiClient& c) { return describe(c.fetchAlbum("18905")); },
         "/album?id=18905", Engine::MainBrowserAgent,
         R"({"resourceState":true,"songs":[{"name":"夜曲","id":1868553,"ar":[{"name":"周杰伦"},{"name":"X"}]},)"
         R"({"name":"发如雪","id":1868554,"ar":[]}],"code":200,"album":{"songs":[],"name":"十一月的萧邦",)"
         R"("picUrl":"http://p/al.jpg","artist":{"id":6452,"name":"周杰伦"},"publishTime":1130515200000,)"
         R"("company":"杰威尔","description":"第六张"}})",
         "十一月的萧邦|http://p/al.jpg|周杰伦|6452|1130515200000|杰威尔|第六张\n1868553|夜曲|周杰伦\n1868554|发如雪|",
         "||||||\n"},
        {"album the service does not know", [](const CloudApiClient& c) { return describe(c.fetchAlbum("1")); },
         "/album?id=1", Engine::MainBrowserAgent, R"({"code":404,"message":"专辑不存在"})", "||||||\n", "||||||\n"},
        {"picture bytes",
         [](const CloudApiClient& c) { return c.fetchPicture(c.hosts().serviceBase + "pic/1.png?param=250y250"); },
         "/pic/1.png?param=250y250", Engine::Secondary, std::string("\x89PNG\r\n\x1a\n\0\x01\x02", 11),
         std::string("\x89PNG\r\n\x1a\n\0\x01\x02", 11), ""},

        // Account.
        {"QR key", [](const CloudApiClient& c) { return c.qrCreateKey(); },
         "/mivra/public/?type=apiCloudMusicQRCodeLogin&op=0", Engine::MainDefaults,
         R"({"code":200,"data":{"code":200,"unikey":"5e8c-41f2"}})", "5e8c-41f2", ""},
        {"QR login URL", [](const CloudApiClient& c) { return c.qrCreateUrl("5e8c-41f2"); },
         "/mivra/public/?type=apiCloudMusicQRCodeLogin&op=1&key=5e8c-41f2", Engine::MainDefaults,
         R"({"code":200,"data":{"qrurl":"http://m/login?codekey=5e8c-41f2","qrimg":""}})",
         "http://m/login?codekey=5e8c-41f2", ""},
        // The test server's parser refuses a target with a second "?", so the
        // login URL here has none.
        {"QR picture of a URL with & and =",
         [](const CloudApiClient& c) { return c.fetchQrPicture("http://m/login/codekey=k&x=1"); },
         "/lokpay/qrcode.php?size=256&text=http%3A%2F%2Fm%2Flogin%2Fcodekey%3Dk%26x%3D1", Engine::Secondary, "PNGBYTES",
         "PNGBYTES", ""},
        {"QR poll, code 801 as a number", [](const CloudApiClient& c) { return describe(c.qrPoll("k")); },
         "/mivra/public/?type=apiCloudMusicQRCodeLogin&op=2&key=k", Engine::MainDefaults,
         R"({"code":801,"message":"等待扫码","cookie":""})", "waiting scan|", "no answer|"},
        {"QR poll, scanned", [](const CloudApiClient& c) { return describe(c.qrPoll("k")); },
         "/mivra/public/?type=apiCloudMusicQRCodeLogin&op=2&key=k", Engine::MainDefaults,
         R"({"code":"802","cookie":"ignored"})", "waiting confirm|", "no answer|"},
        {"QR poll, expired", [](const CloudApiClient& c) { return describe(c.qrPoll("k")); },
         "/mivra/public/?type=apiCloudMusicQRCodeLogin&op=2&key=k", Engine::MainDefaults,
         R"({"code":800,"message":"二维码不存在或已过期"})", "expired|", "no answer|"},
        {"QR poll, confirmed", [](const CloudApiClient& c) { return describe(c.qrPoll("k")); },
         "/mivra/public/?type=apiCloudMusicQRCodeLogin&op=2&key=k", Engine::MainDefaults,
         R"({"code":803,"message":"授权登陆成功","cookie":"MUSIC_U=a/b=; Max-Age=1296000; Path=/;"})",
         "logged in|MUSIC_U=a/b=; Max-Age=1296000; Path=/;", "no answer|"},
        {"QR poll answered with no JSON", [](const CloudApiClient& c) { return describe(c.qrPoll("k")); },
         "/mivra/public/?type=apiCloudMusicQRCodeLogin&op=2&key=k", Engine::MainDefaults,
         "<html>502 Bad Gateway</html>", "no answer|", "no answer|"},
        {"account with a cookie holding spaces",
         [](const CloudApiClient& c) { return describe(c.fetchAccount("MUSIC_U=abc; Path=/;")); },
         "/user/account?timestamp=1577836800007&cookie=MUSIC_U%3Dabc%3B+Path%3D%2F%3B", Engine::MainDefaults,
         R"({"code":200,"account":{"id":32953014},"profile":{"userId":32953014,"nickname":"听众","avatarUrl":"http://p/av.jpg"}})",
         "32953014|听众|http://p/av.jpg", "||"},
        {"account check with a profile",
         [](const CloudApiClient& c) { return yesNo(c.checkAccount("MUSIC_U=abc"), "profile", "none"); },
         "/user/account?timestamp=1577836800007&cookie=MUSIC_U%3Dabc", Engine::MainDefaults,
         R"({"code":200,"account":{"id":1},"profile":{"userId":1}})", "profile", "none"},
        {"account check of an unknown cookie",
         [](const CloudApiClient& c) { return yesNo(c.checkAccount(""), "profile", "none"); },
         "/user/account?timestamp=1577836800007&cookie=", Engine::MainDefaults,
         R"({"code":200,"account":null,"profile":null})", "none", "none"},
        {"user playlists without a cookie",
         [](const CloudApiClient& c) { return describe(c.fetchUserPlaylists("32953014", "")); },
         "/user/playlist?uid=32953014&timestamp=1577836800007&cookie=", Engine::MainDefaults,
         R"({"more":false,"playlist":[{"id":5,"name":"我喜欢的音乐","coverImgUrl":"http://p/like.jpg"}],"code":200})",
         "http://p/like.jpg|我喜欢的音乐|5", ""},
        {"unsubscribe accepted",
         [](const CloudApiClient& c) {
             return yesNo(c.subscribePlaylist(SubscribeAction::Unsubscribe, "24381616", "c=1"), "done", "failed");
         },
         "/playlist/subscribe?t=2&id=24381616&timestamp=1577836800007&cookie=c%3D1", Engine::MainBrowserAgent,
         R"({"code":200})", "done", "failed"},
        {"subscribe refused",
         [](const CloudApiClient& c) {
             return yesNo(c.subscribePlaylist(SubscribeAction::Subscribe, "24381616", ""), "done", "failed");
         },
         "/playlist/subscribe?t=1&id=24381616&timestamp=1577836800007&cookie=", Engine::MainBrowserAgent,
         R"({"code":301,"msg":"需要登录"})", "failed", "failed"},

        // Listening.
        {"daily songs", [](const CloudApiClient& c) { return describe(c.fetchDailySongs("MUSIC_U=u")); },
         "/recommend/songs?timestamp=1577836800007&cookie=MUSIC_U%3Du", Engine::MainDefaults,
         R"({"code":200,"data":{"dailySongs":[{"id":33894312,"name":"情非得已","ar":[{"name":"庾澄庆"},{"name":"B"}],)"
         R"("reason":"x"},{"id":2,"name":"二","ar":[{"name":"C"}]}],"recommendReasons":[]}})",
         "33894312|情非得已|庾澄庆，B\n2|二|C", ""},
        {"daily songs logged out", [](const CloudApiClient& c) { return describe(c.fetchDailySongs("")); },
         "/recommend/songs?timestamp=1577836800007&cookie=", Engine::MainDefaults,
         R"({"msg":"需要登录","code":301,"message":"需要登录"})", "", ""},
        {"personal FM in the older song form",
         [](const CloudApiClient& c) { return describe(c.fetchPersonalFm("c=1")); },
         "/personal_fm?timestamp=1577836800007&cookie=c%3D1", Engine::MainDefaults,
         R"({"popAdjust":false,"data":[{"id":7,"name":"F1","artists":[{"name":"A"}],)"
         R"("album":{"name":"AL","picUrl":"http://p/f.jpg"},"duration":61000},)"
         R"({"id":8,"name":"F2","artists":[{"name":"B"},{"name":"C"}]}],"code":200})",
         "7|F1|A|AL|http://p/f.jpg|61000\n8|F2|B，C", ""},
        {"FM trash accepted",
         [](const CloudApiClient& c) { return yesNo(c.trashFmSong("7", "c=1"), "done", "failed"); },
         "/fm_trash?id=7&timestamp=1577836800007&cookie=c%3D1", Engine::MainDefaults, R"({"code":200,"count":1})",
         "done", "failed"},
        {"like refused without a login",
         [](const CloudApiClient& c) { return yesNo(c.likeSong("7", true, ""), "done", "failed"); },
         "/like?id=7&like=true&timestamp=1577836800007&cookie=", Engine::MainDefaults,
         R"({"code":301,"msg":"需要登录"})", "failed", "failed"},
        {"unlike accepted",
         [](const CloudApiClient& c) { return yesNo(c.likeSong("7", false, "c=1"), "done", "failed"); },
         "/like?id=7&like=false&timestamp=1577836800007&cookie=c%3D1", Engine::MainDefaults,
         R"({"songs":[],"playlistId":5,"code":200})", "done", "failed"},
        {"liked song ids, numbers beyond 2^32",
         [](const CloudApiClient& c) {
             std::string ids;
             for (const std::string& id : c.fetchLikedSongIds("32953014", "c=1")) ids += id + ";";
             return ids;
         },
         "/likelist?uid=32953014&timestamp=1577836800007&cookie=c%3D1", Engine::MainDefaults,
         R"({"ids":[8806287654,1868553,7],"checkPoint":1,"code":200})", "8806287654;1868553;7;", ""},
        {"week play record", [](const CloudApiClient& c) { return describe(c.fetchPlayRecord("32953014", "c=1")); },
         "/user/record?uid=32953014&type=1&timestamp=1577836800007&cookie=c%3D1", Engine::MainDefaults,
         R"({"weekData":[{"playCount":9,"score":100,"song":{"id":5,"name":"五","ar":[{"name":"E"}]}},)"
         R"({"playCount":3,"score":40,"song":{"id":6,"name":"六","ar":[{"name":"F"},{"name":"G"}]}}],"code":200})",
         "5|五|E\n6|六|F，G", ""},

        // Home page and MVs.
        {"banners, one with an empty typeTitle", [](const CloudApiClient& c) { return describe(c.fetchBanners()); },
         "/banner?type=0&timestamp=1577836800007", Engine::MainBrowserAgent,
         R"({"banners":[{"imageUrl":"http://p/b1.jpg","targetId":18905,"typeTitle":"新碟首发"},)"
         R"({"imageUrl":"http://p/b2.jpg","targetId":0,"typeTitle":"","url":"http://x"}],"code":200})",
         "#pica#http://p/b1.jpg#picb##typea#新碟首发#typeb#ida#18905#idb# picture=http://p/b1.jpg id=18905\n"
         "#pica#http://p/b2.jpg#picb##typea##typeb#ida#0#idb# picture=http://p/b2.jpg id=0",
         ""},
        {"personalised MVs", [](const CloudApiClient& c) { return describe(c.fetchPersonalizedMvs()); },
         "/personalized/mv?timestamp=1577836800007", Engine::MainBrowserAgent,
         R"({"result":[{"id":5436712,"name":"MV 一","picUrl":"http://p/pm.jpg","artistName":"x"}],"code":200})",
         "#pica#http://p/pm.jpg#picb##namea#MV 一#nameb##ida#5436712#idb# picture=http://p/pm.jpg id=5436712", ""},
        {"recommended playlists without a login",
         [](const CloudApiClient& c) { return describe(c.fetchRecommendedPlaylists("")); },
         "/personalized?limit=10&timestamp=1577836800007&cookie=", Engine::MainBrowserAgent,
         R"({"result":[{"id":1,"name":"R1","picUrl":"http://p/r.jpg"},{"id":2,"name":"R2"}],"code":200})",
         "http://p/r.jpg?param=250y250|R1|1\n?param=250y250|R2|2", ""},
        {"top artists", [](const CloudApiClient& c) { return describe(c.fetchTopArtists()); },
         "/top/artists?limit=5&timestamp=1577836800007", Engine::MainBrowserAgent,
         R"({"artists":[{"id":6452,"name":"周杰伦","img1v1Url":"http://p/j.jpg"}],"more":true,"code":200})",
         "http://p/j.jpg?param=200y200|周杰伦|6452", ""},
        {"newest albums", [](const CloudApiClient& c) { return describe(c.fetchNewestAlbums()); }, "/album/newest",
         Engine::MainBrowserAgent, R"({"albums":[{"name":"新专","picUrl":"http://p/n.jpg","id":99}],"code":200})",
         "http://p/n.jpg?param=250y250|新专|99", ""},
        {"first MVs", [](const CloudApiClient& c) { return describe(c.fetchFirstMvs(10)); }, "/mv/first?limit=10",
         Engine::MainBrowserAgent, R"({"data":[{"id":10,"name":"F","cover":"http://p/f.jpg"}],"code":200})",
         "http://p/f.jpg|F|10", ""},
        {"all MVs", [](const CloudApiClient& c) { return describe(c.fetchAllMvs()); }, "/mv/all", Engine::MainDefaults,
         R"({"data":[{"id":11,"name":"A","cover":"http://p/a.jpg"}],"hasMore":true,"code":200})", "http://p/a.jpg|A|11",
         ""},
        {"MV stream URL", [](const CloudApiClient& c) { return c.fetchMvUrl("5436712"); },
         "/mv/url?id=5436712&timestamp=1577836800007", Engine::MainBrowserAgent,
         R"({"code":200,"data":{"id":5436712,"url":"http://v/5436712.mp4?a=1&wsTime=2","r":1080}})",
         "http://v/5436712.mp4?a=1&wsTime=2", ""},
    };
}

CloudApiClient clientFor(const std::string& origin) {
    return CloudApiClient(ServiceHosts::allAt(origin), [] { return kFixedLocalMs; });
}

class CloudApiClientTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server_ = std::make_unique<RecordingServer>(); }
    static void TearDownTestSuite() { server_.reset(); }
    static std::unique_ptr<RecordingServer> server_;
};

std::unique_ptr<RecordingServer> CloudApiClientTest::server_;

TEST_F(CloudApiClientTest, EachOperationSendsItsRequestAndReadsItsRecord) {
    const CloudApiClient client = clientFor(server_->url(""));
    for (const OperationCase& row : operationCases()) {
        SCOPED_TRACE(row.name);
        server_->setHandler(answerByPath({{pathOf(row.target), row.answer}}));
        const size_t before = server_->requests().size();

        EXPECT_EQ(row.call(client), row.record);

        const auto seen = server_->requests();
        ASSERT_EQ(seen.size(), before + 1);
        const RecordedRequest& request = seen.back();
        EXPECT_EQ(request.target, row.target);
        EXPECT_EQ(headerCount(request, "User-Agent"), 1u);
        EXPECT_EQ(request.header("User-Agent"), agentOf(row.engine));
        EXPECT_EQ(headerCount(request, "Cookie"), 0u);
    }
}

TEST_F(CloudApiClientTest, EachOperationGivesItsEmptyResultWhenTheServerIsDown) {
    const CloudApiClient client = clientFor(closedOrigin());
    for (const OperationCase& row : operationCases()) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.call(client), row.recordWhenDown);
    }
}

TEST_F(CloudApiClientTest, OneClientServesSeveralThreadsAtOnce) {
    const CloudApiClient client = clientFor(server_->url(""));
    server_->setHandler(answerByPath({
        {"/search", R"({"result":{"songs":[{"id":1,"name":"n","artists":[{"name":"a"}]}]}})"},
        {"/banner", R"({"banners":[{"imageUrl":"u","typeTitle":"t","targetId":2}]})"},
    }));
    std::vector<std::thread> threads;
    std::atomic<int> correct{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 10; ++i) {
                if (describe(client.searchSongs("k")) == "1|n|a") ++correct;
                if (describe(client.fetchBanners()) == "#pica#u#picb##typea#t#typeb#ida#2#idb# picture=u id=2")
                    ++correct;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(correct.load(), 80);
}

TEST_F(CloudApiClientTest, PlaylistTracksPageThroughLimitAndOffset) {
    const CloudApiClient client = clientFor(server_->url(""));
    client.fetchPlaylistTracks("9", 50, 150, "");
    const auto seen = server_->requests();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().target, "/playlist/track/all?id=9&limit=50&offset=150&cookie=");
}

}  // namespace

// What a page is told about its request, by what the server answered; the
// records stay empty whenever the request failed.
TEST_F(CloudApiClientTest, TheStatusTellsAFailedRequestFromAnAnswerThatListsNothing) {
    struct Case {
        const char* name;
        int httpStatus;
        std::string body;
        ServiceStatus expected;
    };
    const Case cases[] = {
        {"empty list with code 200", 200, R"({"result":{"songs":[]},"list":[],"code":200})", ServiceStatus::Answered},
        {"answer without a code", 200, R"({"result":{}})", ServiceStatus::Answered},
        {"relay whose upstream is unreachable", 200, R"({"code":502,"msg":"getaddrinfo ENOTFOUND music.example"})",
         ServiceStatus::Failed},
        {"502 status with a JSON body", 502, R"({"code":502,"msg":"getaddrinfo ENOTFOUND music.example"})",
         ServiceStatus::Failed},
        {"500 error page", 500, "<html><body>Internal Server Error</body></html>", ServiceStatus::Failed},
        {"404 with an empty body", 404, "", ServiceStatus::Failed},
        {"200 with a body that is not JSON", 200, "\x8b\x01garbage{", ServiceStatus::Failed},
        {"200 with an empty body", 200, "", ServiceStatus::Failed},
    };
    const CloudApiClient client = clientFor(server_->url(""));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server_->setHandler([&c](const RecordedRequest&) {
            CannedReply reply;
            reply.status = c.httpStatus;
            reply.body = c.body;
            reply.contentType = "application/json";
            return reply;
        });
        // Both ways of sending: the engine's defaults and the browser agent.
        ServiceStatus searched = ServiceStatus::Answered;
        ServiceStatus charts = ServiceStatus::Answered;
        EXPECT_TRUE(client.searchSongs("无此歌曲", &searched).empty());
        EXPECT_TRUE(client.fetchToplists(&charts).empty());
        EXPECT_EQ(searched, c.expected);
        EXPECT_EQ(charts, c.expected);
    }
}

// Every request a page shows passes its status on: with nobody listening,
// each one says it failed.
TEST_F(CloudApiClientTest, EveryPageRequestReportsTheServerDown) {
    const CloudApiClient client = clientFor(closedOrigin());
    using Call = std::function<void(const CloudApiClient&, ServiceStatus*)>;
    const std::pair<const char*, Call> calls[] = {
        {"search songs", [](const CloudApiClient& c, ServiceStatus* s) { c.searchSongs("k", s); }},
        {"search artists", [](const CloudApiClient& c, ServiceStatus* s) { c.searchArtists("k", 3, s); }},
        {"search albums", [](const CloudApiClient& c, ServiceStatus* s) { c.searchAlbums("k", s); }},
        {"search playlists", [](const CloudApiClient& c, ServiceStatus* s) { c.searchPlaylists("k", s); }},
        {"all playlists", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchAllPlaylists("", s); }},
        {"personalized playlists",
         [](const CloudApiClient& c, ServiceStatus* s) { c.fetchPersonalizedPlaylists("", s); }},
        {"high-quality playlists", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchHighQualityPlaylists(s); }},
        {"category playlists", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchCategoryPlaylists("流行", s); }},
        {"toplists", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchToplists(s); }},
        {"playlist detail", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchPlaylistDetail("1", "", s); }},
        {"playlist tracks",
         [](const CloudApiClient& c, ServiceStatus* s) { c.fetchPlaylistTracks("1", 200, 0, "", s); }},
        {"artist detail", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchArtistDetail("1", s); }},
        {"artist albums", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchArtistAlbums("1", 10, s); }},
        {"artist MVs", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchArtistMvs("1", 10, s); }},
        {"all artist MVs", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchAllArtistMvs("1", s); }},
        {"artist top songs", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchArtistTopSongs("1", s); }},
        {"album", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchAlbum("1", s); }},
        {"user playlists", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchUserPlaylists("1", "", s); }},
        {"daily songs", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchDailySongs("", s); }},
        {"personal FM", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchPersonalFm("", s); }},
        {"liked song ids", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchLikedSongIds("1", "", s); }},
        {"play record", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchPlayRecord("1", "", s); }},
        {"banners", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchBanners(s); }},
        {"personalized MVs", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchPersonalizedMvs(s); }},
        {"recommended playlists",
         [](const CloudApiClient& c, ServiceStatus* s) { c.fetchRecommendedPlaylists("", s); }},
        {"top artists", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchTopArtists(s); }},
        {"newest albums", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchNewestAlbums(s); }},
        {"first MVs", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchFirstMvs(10, s); }},
        {"all MVs", [](const CloudApiClient& c, ServiceStatus* s) { c.fetchAllMvs(s); }},
    };
    for (const auto& [name, call] : calls) {
        SCOPED_TRACE(name);
        ServiceStatus status = ServiceStatus::Answered;
        call(client, &status);
        EXPECT_EQ(status, ServiceStatus::Failed);
    }
}
