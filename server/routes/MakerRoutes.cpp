#include <algorithm>
#include <cctype>

#include "server/HttpHelpers.h"
#include "server/Md5.h"
#include "server/json/SongJson.h"
#include "server/routes/Routes.h"

namespace {

struct UpdateLogEntry {
    const char* title;
    const char* content;  // lines separated by the two characters backslash and "n"
};

// The update log as the app shows it after an update, newest first.
constexpr UpdateLogEntry kUpdateLog[] = {
    {"Beta V1.1.4", "新增：桌面歌词可以设置两种颜色\\n修复：播放列表在切歌后不刷新的问题\\n优化：首页加载速度"},
    {"Beta V1.1.3", "新增：音频频谱显示在任务栏上方\\n修复：部分歌曲歌词翻译错位"},
    {"Beta V1.1.2", "新增：扫码登录网易云音乐账号\\n新增：收藏歌单"},
    {"Beta V1.1.0", "第一个公开测试版本"},
};

void answerSongUrl(const ServerContext& context, const httplib::Request& request, httplib::Response& response) {
    const auto id = integerParam(request, "id");
    const Song* song = id ? context.catalogue.song(*id) : nullptr;
    // An unknown song is answered like one without a stream.
    Song unknown;
    unknown.id = id.value_or(0);
    unknown.hasStream = false;
    const Song& shown = song ? *song : unknown;
    const StreamChoice choice = chooseStream(shown, queryText(request, "level"));
    std::optional<MediaFile> file;
    if (shown.hasStream) file = context.media.audio(shown.clip, choice.format);
    const Json member = songUrlJson(context.jsonFor(request), shown, choice, file ? &*file : nullptr);
    replyJson(response, {{"data", Json::array({member})}, {"code", 200}});
}

// The signature is the MD5 of the prefix character and the 10-digit time.
// The time itself is not compared with the clock: clients outside UTC+8 send
// it shifted by their zone.
bool validSignature(const ServerContext& context, const std::string& timestamp, const std::string& sign) {
    const bool tenDigits = timestamp.size() == 10 &&
                           std::all_of(timestamp.begin(), timestamp.end(), [](unsigned char c) { return std::isdigit(c); });
    return tenDigits && sign == md5Hex(context.options.signPrefix + timestamp);
}

void answerServiceCookie(const ServerContext& context, const httplib::Request& request, httplib::Response& response) {
    const std::string timestamp = queryText(request, "timestamp");
    if (queryText(request, "op") != "0" || !validSignature(context, timestamp, queryText(request, "sign"))) {
        replyJson(response, {{"code", 403}, {"msg", "签名校验失败"}});
        return;
    }
    const std::string token = md5Hex("service-cookie:" + context.options.signPrefix + timestamp);
    replyJson(response, {{"code", 200}, {"cookie", "MUSIC_U=" + token + "; os=pc; appver=2.10.13; channel=netease"}});
}

}  // namespace

void addMakerRoutes(httplib::Server& server, const ServerContext& context) {
    server.Get("/api/", [&context](const httplib::Request& request, httplib::Response& response) {
        const std::string type = queryText(request, "type");
        if (type == "apiSongUrlV1") {
            answerSongUrl(context, request, response);
        } else if (type == "cloudMusicCookie") {
            answerServiceCookie(context, request, response);
        } else {
            replyJson(response, {{"code", 400}, {"msg", "未知的请求类型"}});
        }
    });

    server.Get("/api/config/config.json", [&context](const httplib::Request& request, httplib::Response& response) {
        const std::string origin = requestOrigin(request, context.fallbackHostPort);
        replyJson(response, {{"code", 200},
                             {"data",
                              {{"Name", "Mivra Music"},
                               {"Ver", context.options.announcedVersion},
                               {"Notice", "欢迎使用 Mivra Music 演示服务器"}}},
                             {"urls",
                              {{"UpdateLog", origin + "/api/config/updatelog.json"},
                               {"Download", origin + "/download/"}}}});
    });

    // Where the updater sends the user for the newest version.
    server.Get("/download/", [&context](const httplib::Request&, httplib::Response& response) {
        replyHtml(response, 200, "Mivra Music 下载",
                  "<h1>Mivra Music " + escapeHtml(context.options.announcedVersion) +
                      "</h1><p>演示服务器没有可下载的安装包。</p>");
    });

    server.Get("/api/config/updatelog.json", [](const httplib::Request&, httplib::Response& response) {
        Json entries = Json::array();
        for (const UpdateLogEntry& entry : kUpdateLog) entries.push_back({{"title", entry.title}, {"content", entry.content}});
        replyJson(response, {{"code", 200}, {"data", entries}});
    });

    server.Get("/api/online.php", [&context](const httplib::Request& request, httplib::Response& response) {
        replyJson(response, {{"code", 200}, {"online", context.online.recordHeartbeat(request.remote_addr)}});
    });
}
