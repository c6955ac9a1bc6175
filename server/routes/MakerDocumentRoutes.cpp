// The maker's documents, the same for the demo and the relay: the
// configuration, the update log, the download page and the heartbeat.
#include "server/HttpHelpers.h"
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

}  // namespace

void addMakerDocumentRoutes(httplib::Server& server, const ServerContext& context) {
    server.Get("/api/config/config.json", [&context](const httplib::Request& request, httplib::Response& response) {
        const std::string origin = requestOrigin(request, context.fallbackHostPort);
        replyJson(
            response,
            {{"code", 200},
             {"data",
              {{"Name", "Mivra Music"},
               {"Ver", context.options.announcedVersion},
               {"Notice",
                context.options.upstream.empty() ? "欢迎使用 Mivra Music 演示服务器" : "欢迎使用 Mivra Music"}}},
             {"urls", {{"UpdateLog", origin + "/api/config/updatelog.json"}, {"Download", origin + "/download/"}}}});
    });

    // Where the updater sends the user for the newest version.
    server.Get("/download/", [&context](const httplib::Request&, httplib::Response& response) {
        replyHtml(response, 200, "Mivra Music 下载",
                  "<h1>Mivra Music " + escapeHtml(context.options.announcedVersion) +
                      "</h1><p>演示服务器没有可下载的安装包。</p>");
    });

    server.Get("/api/config/updatelog.json", [](const httplib::Request&, httplib::Response& response) {
        Json entries = Json::array();
        for (const UpdateLogEntry& entry : kUpdateLog)
            entries.push_back({{"title", entry.title}, {"content", entry.content}});
        replyJson(response, {{"code", 200}, {"data", entries}});
    });

    server.Get("/api/online.php", [&context](const httplib::Request& request, httplib::Response& response) {
        replyJson(response, {{"code", 200}, {"online", context.online.recordHeartbeat(request.remote_addr)}});
    });
}
