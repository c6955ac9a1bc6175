#include <chrono>

#include "server/HttpHelpers.h"
#include "server/json/PlaylistJson.h"
#include "server/json/UserJson.h"
#include "server/routes/Routes.h"

namespace {

std::int64_t nowSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The demo scan page of a key. The QR code holds the path form: the client
// appends the login URL unencoded to the QR picture's query, and the server's
// HTTP parser refuses a request with a second "?". People and tests may use
// "/demo/scan?key=" as well.
std::string scanPageUrl(const std::string& origin, const std::string& key) { return origin + "/demo/scan/" + key; }

void answerQrKey(const ServerContext& context, const httplib::Request& request, httplib::Response& response) {
    const std::string created = context.qrLogins.createKey();
    context.say("QR login key " + created + " waits; scan it by opening " +
                scanPageUrl(requestOrigin(request, context.fallbackHostPort), created));
    replyJson(response, {{"code", 200}, {"data", {{"code", 200}, {"unikey", created}}}});
}

void answerQrUrl(const ServerContext& context, const httplib::Request& request, httplib::Response& response) {
    const std::string origin = requestOrigin(request, context.fallbackHostPort);
    replyJson(response,
              {{"code", 200}, {"data", {{"qrurl", scanPageUrl(origin, queryText(request, "key"))}, {"qrimg", ""}}}});
}

void answerQrPoll(const ServerContext& context, const httplib::Request& request, httplib::Response& response) {
    const std::string key = queryText(request, "key");
    const QrPollState state = context.qrLogins.poll(key);
    const User* user = context.catalogue.user(context.catalogue.demoAccountUserId());
    const JsonContext json = context.jsonFor(request);
    switch (state) {
        case QrPollState::Expired:
            replyJson(response, {{"code", 800}, {"message", "二维码不存在或已过期"}, {"cookie", ""}});
            break;
        case QrPollState::WaitingScan:
            replyJson(response, {{"code", 801}, {"message", "等待扫码"}, {"cookie", ""}});
            break;
        case QrPollState::WaitingConfirm:
            replyJson(response, {{"code", 802},
                                 {"message", "授权中"},
                                 {"cookie", ""},
                                 {"nickname", user->nickname},
                                 {"avatarUrl", json.pictureUrl(user->avatarPicId)}});
            break;
        case QrPollState::Authorized:
            context.say("QR login key " + key + " logged in " + user->nickname);
            replyJson(response, {{"code", 803},
                                 {"message", "授权登陆成功"},
                                 {"cookie", context.sessions.issue(user->userId, nowSeconds())}});
            break;
    }
}

// The account host's QR login: op 0 makes a key, op 1 the login URL to show
// as a QR code, op 2 polls the key.
void answerQrLogin(const ServerContext& context, const httplib::Request& request, httplib::Response& response) {
    const std::string op = queryText(request, "op");
    if (op == "0") {
        answerQrKey(context, request, response);
    } else if (op == "1") {
        answerQrUrl(context, request, response);
    } else if (op == "2") {
        answerQrPoll(context, request, response);
    } else {
        replyJson(response, {{"code", 400}, {"message", "参数错误"}});
    }
}

}  // namespace

void addAccountRoutes(RouteBook& server, const ServerContext& context) {
    server.Get("/mivra/public/", [&context](const httplib::Request& request, httplib::Response& response) {
        if (queryText(request, "type") != "apiCloudMusicQRCodeLogin") {
            replyJson(response, {{"code", 400}, {"message", "参数错误"}});
            return;
        }
        answerQrLogin(context, request, response);
    });

    // The same three steps on a self-hosted API server's routes, which a relay
    // in front of this server asks.
    const auto route = [&server, &context](const char* path, auto answer) {
        server.Get(path, [&context, answer](const httplib::Request& request, httplib::Response& response) {
            answer(context, request, response);
        });
    };
    route("/login/qr/key", answerQrKey);
    route("/login/qr/create", answerQrUrl);
    route("/login/qr/check", answerQrPoll);

    // Stands in for the phone that scans the QR code.
    server.Get(R"(/demo/scan(?:/([0-9a-f-]{1,64}))?)", [&context](const httplib::Request& request,
                                                                  httplib::Response& response) {
        const std::string key = request.matches[1].matched ? request.matches[1].str() : queryText(request, "key");
        if (!context.qrLogins.markScanned(key)) {
            replyHtml(response, 404, "二维码已过期", "<h1>二维码不存在或已过期</h1>");
            return;
        }
        context.say("QR login key " + key + " scanned");
        replyHtml(response, 200, "已扫码", "<h1>已扫码</h1><p>回到 Mivra Music，登录马上完成。</p>");
    });

    server.Get("/user/account", [&context](const httplib::Request& request, httplib::Response& response) {
        const JsonContext json = context.jsonFor(request);
        const User* user = json.viewerId ? context.catalogue.user(*json.viewerId) : nullptr;
        if (!user) {
            replyJson(response, {{"code", 200}, {"account", nullptr}, {"profile", nullptr}});
            return;
        }
        replyJson(response, {{"code", 200}, {"account", accountJson(*user)}, {"profile", profileJson(json, *user)}});
    });

    server.Get("/user/playlist", [&context](const httplib::Request& request, httplib::Response& response) {
        const JsonContext json = context.jsonFor(request);
        const auto uid = integerParam(request, "uid");
        std::vector<const Playlist*> lists;
        if (uid && context.catalogue.user(*uid)) {
            lists = context.catalogue.playlistsCreatedBy(*uid);
            for (Id id : context.subscriptions.subscriptionsOf(*uid)) lists.push_back(context.catalogue.playlist(id));
        }
        bool more = false;
        Json playlists = Json::array();
        for (const Playlist* playlist : sliceOf(lists, pageOf(request, 30), &more)) {
            const bool subscribed = uid && playlist->creatorId != *uid;
            playlists.push_back(playlistJson(json, *playlist, subscribed));
        }
        replyJson(
            response,
            {{"version", std::to_string(nowSeconds() * 1000)}, {"more", more}, {"playlist", playlists}, {"code", 200}});
    });

    server.Get("/playlist/subscribe", [&context](const httplib::Request& request, httplib::Response& response) {
        const std::optional<Id> user = context.viewerOf(request);
        if (!user) {
            replyJson(response, {{"code", 301}, {"msg", "需要登录"}});
            return;
        }
        const auto t = integerParam(request, "t");
        const auto id = integerParam(request, "id");
        const Playlist* playlist = id ? context.catalogue.playlist(*id) : nullptr;
        if (!t || (*t != 1 && *t != 2)) {
            replyJson(response, {{"code", 400}, {"msg", "参数错误"}});
        } else if (!playlist) {
            replyJson(response, {{"code", 404}, {"msg", "歌单不存在"}});
        } else if (playlist->creatorId == *user) {
            replyJson(response, {{"code", 501}, {"msg", "不能收藏自己的歌单"}});
        } else {
            if (*t == 1) {
                context.subscriptions.subscribe(*user, playlist->id);
            } else {
                context.subscriptions.unsubscribe(*user, playlist->id);
            }
            replyJson(response, {{"code", 200}});
        }
    });
}
