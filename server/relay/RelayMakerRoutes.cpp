// The maker's song URL and service cookie and the account host's QR login,
// answered from the upstream's /song/url/v1 and /login/qr/* routes in the
// shapes the program reads from the maker.
#include <chrono>

#include "server/HttpHelpers.h"
#include "server/relay/RelayRoutes.h"
#include "text/TextUtils.h"

namespace {

std::string encoded(const std::string& value) { return urlEncode(value, true, true); }

// The API server caches answers by URL; a poll must reach the service.
std::string freshStamp() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

// The member `key` of an object; null when there is none or no object.
const Json* memberOf(const Json* object, const char* key) {
    if (!object || !object->is_object()) return nullptr;
    const auto found = object->find(key);
    return found == object->end() ? nullptr : &*found;
}

std::string textOf(const Json* object, const char* key) {
    const Json* member = memberOf(object, key);
    return member && member->is_string() ? member->get<std::string>() : std::string();
}

const Json* rootOf(const std::optional<Json>& json) { return json ? &*json : nullptr; }

// The upstream's first data member, as the maker answers it: {"data":[{…,"url":…}],"code":200}.
// Without one the answer holds no member, which the program reads as no URL.
void answerSongUrl(const RelayContext& relay, const httplib::Request& request, httplib::Response& response) {
    const std::optional<long long> id = integerParam(request, "id");
    const std::optional<Json> upstream =
        id ? relay.fetchJson("/song/url/v1?id=" + std::to_string(*id) + "&level=exhigh", true) : std::nullopt;
    const Json* data = memberOf(rootOf(upstream), "data");
    const Json* member =
        data && data->is_array() && !data->empty() && data->front().is_object() ? &data->front() : nullptr;
    if (!member) {
        replyJson(response, {{"data", Json::array()}, {"code", 502}});
        return;
    }
    replyJson(response, {{"data", Json::array({*member})}, {"code", 200}});
}

// A poll answer carries a code only when the upstream named one of the four
// login states, and the logged-in state only with its cookie: the program
// takes any other code as a login, so an upstream error (a 502, a verification
// request) must not reach it as one.
void answerQrPoll(RelayContext& relay, const std::string& key, httplib::Response& response) {
    const std::optional<Json> upstream =
        relay.fetchJson("/login/qr/check?key=" + encoded(key) + "&timestamp=" + freshStamp());
    const Json* code = memberOf(rootOf(upstream), "code");
    const int state = code && code->is_number_integer() ? code->get<int>() : 0;
    const std::string cookie = textOf(rootOf(upstream), "cookie");
    if (state < 800 || state > 803 || (state == 803 && cookie.empty())) {
        replyJson(response, {{"message", "上游服务器没有给出登录状态"}});
        return;
    }
    Json answer = {
        {"code", state}, {"message", textOf(rootOf(upstream), "message")}, {"cookie", state == 803 ? cookie : ""}};
    if (state == 802) {
        answer["nickname"] = textOf(rootOf(upstream), "nickname");
        answer["avatarUrl"] = textOf(rootOf(upstream), "avatarUrl");
    }
    if (state == 803) relay.account.remember(cookie);
    replyJson(response, answer);
}

void answerQrLogin(RelayContext& relay, const httplib::Request& request, httplib::Response& response) {
    const std::string op = queryText(request, "op");
    const std::string key = queryText(request, "key");
    if (op == "0") {
        const std::optional<Json> upstream = relay.fetchJson("/login/qr/key?timestamp=" + freshStamp());
        const std::string unikey = textOf(memberOf(rootOf(upstream), "data"), "unikey");
        replyJson(response, {{"code", unikey.empty() ? 502 : 200}, {"data", {{"code", 200}, {"unikey", unikey}}}});
    } else if (op == "1") {
        const std::optional<Json> upstream =
            relay.fetchJson("/login/qr/create?key=" + encoded(key) + "&timestamp=" + freshStamp());
        const std::string qrurl = textOf(memberOf(rootOf(upstream), "data"), "qrurl");
        replyJson(response, {{"code", qrurl.empty() ? 502 : 200}, {"data", {{"qrurl", qrurl}, {"qrimg", ""}}}});
    } else if (op == "2") {
        answerQrPoll(relay, key, response);
    } else {
        replyJson(response, {{"code", 400}, {"message", "参数错误"}});
    }
}

}  // namespace

void addRelayMakerRoutes(httplib::Server& server, RelayContext& relay) {
    server.Get("/api/", [&relay](const httplib::Request& request, httplib::Response& response) {
        const std::string type = queryText(request, "type");
        if (type == "apiSongUrlV1") {
            answerSongUrl(relay, request, response);
        } else if (type == "cloudMusicCookie") {
            replyJson(response, {{"code", 200}, {"cookie", relay.account.current()}});
        } else {
            replyJson(response, {{"code", 400}, {"msg", "未知的请求类型"}});
        }
    });
    server.Get("/mivra/public/", [&relay](const httplib::Request& request, httplib::Response& response) {
        if (queryText(request, "type") != "apiCloudMusicQRCodeLogin") {
            replyJson(response, {{"code", 400}, {"message", "参数错误"}});
            return;
        }
        answerQrLogin(relay, request, response);
    });
}
