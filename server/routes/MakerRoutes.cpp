#include <algorithm>
#include <cctype>

#include "server/HttpHelpers.h"
#include "server/Md5.h"
#include "server/json/SongJson.h"
#include "server/routes/Routes.h"

namespace {

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
    const bool tenDigits = timestamp.size() == 10 && std::all_of(timestamp.begin(), timestamp.end(),
                                                                 [](unsigned char c) { return std::isdigit(c); });
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

void addMakerRoutes(RouteBook& server, const ServerContext& context) {
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

    // A self-hosted API server's route for the same answer, which a relay in
    // front of this server asks.
    server.Get("/song/url/v1", [&context](const httplib::Request& request, httplib::Response& response) {
        answerSongUrl(context, request, response);
    });
}
