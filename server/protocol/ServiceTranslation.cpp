#include "server/protocol/ServiceTranslation.h"

#include "server/HttpHelpers.h"
#include "server/Md5.h"
#include "text/PercentEncoding.h"

#include <map>

namespace {

// "[123]" or "123": the first id of a song id list.
std::string firstId(std::string list) {
    const std::size_t start = list.find_first_of("0123456789");
    if (start == std::string::npos) return {};
    const std::size_t end = list.find_first_not_of("0123456789", start);
    return list.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The ids of a song detail's "c": [{"id":1},{"id":2}].
std::string idsOfObjects(const std::string& objects) {
    const Json list = Json::parse(objects, nullptr, false);
    std::string ids;
    if (!list.is_array()) return ids;
    for (const Json& entry : list) {
        if (!entry.is_object() || !entry.contains("id")) continue;
        if (!ids.empty()) ids += ',';
        ids += entry["id"].is_string() ? entry["id"].get<std::string>() : entry["id"].dump();
    }
    return ids;
}

// A category of "全部" is every category, which the demo asks by leaving it out.
void addCategory(DemoQuestion& question, const std::string& category) {
    if (!category.empty() && category != "全部") question.query.emplace_back("cat", category);
}

// Query values taken over under the same or another name: demo name ← service name.
using Renames = std::vector<std::pair<const char*, const char*>>;

struct PlainRoute {
    const char* path;
    Renames values;
    AnswerShape shape = AnswerShape::AsGiven;
};

const std::map<std::string, PlainRoute>& plainRoutes() {
    static const std::map<std::string, PlainRoute> routes = {
        {"/api/song/lyric", {"/lyric", {{"id", "id"}}}},
        {"/api/search/get",
         {"/search", {{"keywords", "s"}, {"type", "type"}, {"limit", "limit"}, {"offset", "offset"}}}},
        {"/api/personalized/playlist", {"/personalized", {{"limit", "limit"}}}},
        {"/api/toplist", {"/toplist", {}}},
        {"/api/v6/playlist/detail", {"/playlist/detail", {{"id", "id"}}}},
        {"/api/artist/head/info/get", {"/artist/detail", {{"id", "id"}}}},
        {"/api/artist/mvs", {"/artist/mv", {{"id", "artistId"}, {"limit", "limit"}, {"offset", "offset"}}}},
        {"/api/artist/top/song", {"/artist/top/song", {{"id", "id"}}}},
        {"/api/login/qrcode/unikey", {"/login/qr/key", {}, AnswerShape::QrKey}},
        {"/api/login/qrcode/client/login", {"/login/qr/check", {{"key", "key"}}, AnswerShape::QrLoginCookie}},
        {"/api/nuser/account/get", {"/user/account", {}}},
        {"/api/user/playlist", {"/user/playlist", {{"uid", "uid"}, {"limit", "limit"}, {"offset", "offset"}}}},
        {"/api/personalized/mv", {"/personalized/mv", {}}},
        {"/api/artist/top", {"/top/artists", {{"limit", "limit"}, {"offset", "offset"}}}},
        {"/api/discovery/newAlbum", {"/album/newest", {}}},
        {"/api/mv/first", {"/mv/first", {{"limit", "limit"}}}},
        {"/api/mv/all", {"/mv/all", {{"limit", "limit"}, {"offset", "offset"}}}},
        {"/api/song/enhance/play/mv/url", {"/mv/url", {{"id", "id"}}}},
        {"/api/song/lyric/v1", {"/lyric/new", {{"id", "id"}}}},
        {"/api/v3/discovery/recommend/songs", {"/recommend/songs", {}}},
        {"/api/v1/radio/get", {"/personal_fm", {}}},
        {"/api/radio/trash/add", {"/fm_trash", {{"id", "songId"}}}},
        {"/api/radio/like", {"/like", {{"id", "trackId"}, {"like", "like"}}}},
        {"/api/song/like/get", {"/likelist", {{"uid", "uid"}}}},
        {"/api/v1/play/record", {"/user/record", {{"uid", "uid"}, {"type", "type"}}}},
        {"/api/register/anonimous", {"", {}, AnswerShape::Registration}},
    };
    return routes;
}

}  // namespace

std::optional<WrappedRequest> WrappedRequest::fromJson(std::string uri, const std::string& json) {
    Json params = Json::parse(json, nullptr, false);
    if (!params.is_object()) return std::nullopt;
    return WrappedRequest{std::move(uri), std::move(params)};
}

std::string WrappedRequest::text(const std::string& name) const {
    if (!params.contains(name) || params[name].is_null()) return {};
    const Json& value = params[name];
    return value.is_string() ? value.get<std::string>() : value.dump();
}

std::string DemoQuestion::target() const {
    std::string text = path;
    char separator = '?';
    for (const auto& [name, value] : query) {
        text.append(1, separator).append(name).append("=").append(percentEncode(value, "-_."));
        separator = '&';
    }
    return text;
}

std::optional<DemoQuestion> demoQuestionOf(const WrappedRequest& request) {
    const std::string& uri = request.uri;
    if (const auto found = plainRoutes().find(uri); found != plainRoutes().end()) {
        DemoQuestion question{found->second.path, {}, found->second.shape};
        for (const auto& [demoName, serviceName] : found->second.values) {
            const std::string value = request.text(serviceName);
            if (!value.empty()) question.query.emplace_back(demoName, value);
        }
        return question;
    }
    if (uri == "/api/v3/song/detail") return DemoQuestion{"/song/detail", {{"ids", idsOfObjects(request.text("c"))}}};
    if (uri == "/api/song/enhance/player/url/v1" || uri == "/api/song/enhance/player/url") {
        DemoQuestion question{"/song/url/v1", {{"id", firstId(request.text("ids"))}}};
        if (!request.text("level").empty()) question.query.emplace_back("level", request.text("level"));
        return question;
    }
    if (uri == "/api/playlist/list" || uri == "/api/playlist/highquality/list") {
        DemoQuestion question{uri == "/api/playlist/list" ? "/top/playlist" : "/top/playlist/highquality", {}};
        addCategory(question, request.text("cat"));
        for (const char* name : {"limit", "offset"})
            if (!request.text(name).empty()) question.query.emplace_back(name, request.text(name));
        return question;
    }
    if (uri == "/api/playlist/subscribe" || uri == "/api/playlist/unsubscribe")
        return DemoQuestion{"/playlist/subscribe",
                            {{"t", uri.ends_with("/subscribe") ? "1" : "2"}, {"id", request.text("id")}}};
    if (uri == "/api/v2/banner/get") return DemoQuestion{"/banner", {{"type", "0"}}};
    for (const auto& [prefix, path] :
         {std::pair{"/api/artist/albums/", "/artist/album"}, std::pair{"/api/v1/album/", "/album"}}) {
        if (!uri.starts_with(prefix)) continue;
        DemoQuestion question{path, {{"id", uri.substr(std::string(prefix).size())}}};
        for (const char* name : {"limit", "offset"})
            if (!request.text(name).empty()) question.query.emplace_back(name, request.text(name));
        return question;
    }
    return std::nullopt;
}

// The visitor token of a device (its "deviceId" cookie): the same device
// always gets the same one.
void answerHere(const DemoQuestion&, const httplib::Request& request, httplib::Response& response) {
    const std::string cookie = plainCookie(request.get_header_value("Cookie"));
    const std::string marker = "deviceId=";
    std::string deviceId;
    for (std::size_t at = cookie.find(marker); at != std::string::npos; at = cookie.find(marker, at + 1)) {
        if (at != 0 && cookie[at - 1] != ' ') continue;
        const std::size_t end = cookie.find(';', at);
        deviceId =
            cookie.substr(at + marker.size(), end == std::string::npos ? std::string::npos : end - at - marker.size());
        break;
    }
    const std::string token = md5Hex("visitor:" + deviceId);
    response.set_header("Set-Cookie", "MUSIC_A=" + token + "; Max-Age=2147483647; Path=/");
    replyJson(response, {{"code", 200}, {"userId", 0}, {"createTime", 0}});
}

void reshapeAnswer(const DemoQuestion& question, const httplib::Response& demo, httplib::Response& response) {
    response.status = demo.status;
    response.body = demo.body;
    response.headers = demo.headers;
    if (question.shape == AnswerShape::AsGiven) return;
    Json answer = Json::parse(demo.body, nullptr, false);
    if (!answer.is_object()) return;
    if (question.shape == AnswerShape::QrKey && answer.contains("data")) {
        replyJson(response, answer["data"]);
    } else if (question.shape == AnswerShape::QrLoginCookie && answer.contains("cookie")) {
        const std::string cookies = answer["cookie"].is_string() ? answer["cookie"].get<std::string>() : std::string();
        answer.erase("cookie");
        for (std::size_t from = 0; from < cookies.size();) {
            const std::size_t end = std::min(cookies.find(";;", from), cookies.size());
            if (end > from) response.headers.emplace("Set-Cookie", cookies.substr(from, end - from));
            from = end + 2;
        }
        replyJson(response, answer);
    }
}

std::string percentDecoded(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto hex = [&text](std::size_t at) { return std::isxdigit(static_cast<unsigned char>(text[at])); };
        if (text[i] == '%' && i + 2 < text.size() && hex(i + 1) && hex(i + 2)) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string plainCookie(const std::string& header) {
    std::string plain;
    for (std::size_t from = 0; from < header.size();) {
        const std::size_t end = std::min(header.find("; ", from), header.size());
        const std::string item = header.substr(from, end - from);
        const std::size_t equals = item.find('=');
        if (!plain.empty()) plain += "; ";
        plain += equals == std::string::npos
                     ? percentDecoded(item)
                     : percentDecoded(item.substr(0, equals)) + "=" + percentDecoded(item.substr(equals + 1));
        from = end + 2;
    }
    return plain;
}
