#include "scrobble/ScrobbleServices.h"

#include "base/ProductInfo.h"
#include "net/HttpClient.h"
#include "text/PercentEncoding.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cstdlib>
#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

constexpr int kTimeoutSeconds = 20;

int statusCode(const HttpResponse& response) { return std::atoi(response.status.c_str()); }

HttpResponse post(const std::string& url, const std::string& headers, const std::string& body) {
    HttpRequest request;
    request.url = url;
    request.method = kPost;
    request.bodyBytes = body;
    request.extraHeaders = headers + "\r\nUser-Agent: MivraMusic/" + kVersionNumber;
    request.addDefaultHeaders = false;
    request.mergeReceivedCookies = false;
    request.timeoutSeconds = kTimeoutSeconds;
    return HttpClient::fetchService(request);
}

// What an answer's status line tells, for both services: success, a server
// not reachable or overloaded, or the caller's own fault.
SendOutcome byStatus(int status) {
    if (status >= 200 && status < 300) return SendOutcome::Sent;
    if (status == 401 || status == 403) return SendOutcome::AuthFailed;
    if (status == 429 || status >= 500 || status < 100) return SendOutcome::Retry;
    return SendOutcome::Rejected;
}

json trackMetadata(const Listen& listen) {
    json metadata = {{"artist_name", listen.artist}, {"track_name", listen.title}};
    if (!listen.album.empty()) metadata["release_name"] = listen.album;
    json info = {{"media_player", kProductName},
                 {"submission_client", kProductName},
                 {"submission_client_version", kVersionNumber}};
    if (listen.durationMs > 0) info["duration_ms"] = listen.durationMs;
    metadata["additional_info"] = info;
    return metadata;
}

SendOutcome submitListenBrainz(const std::string& origin, const std::string& token, const json& body) {
    const HttpResponse response =
        post(origin + "/1/submit-listens", "Authorization: Token " + token + "\r\nContent-Type: application/json",
             body.dump(-1, ' ', false, json::error_handler_t::replace));
    return byStatus(statusCode(response));
}

using Parameters = std::vector<std::pair<std::string, std::string>>;

std::string md5Hex(const std::string& text) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(text.data(), text.size(), digest, &length, EVP_md5(), nullptr) != 1) return {};
    static const char* kHex = "0123456789abcdef";
    std::string hex;
    for (unsigned i = 0; i < length; ++i) {
        hex += kHex[digest[i] >> 4];
        hex += kHex[digest[i] & 15];
    }
    return hex;
}

// Signs the parameters, sends them as a form and reads Last.fm's answer.
json callLastFm(const std::string& origin, Parameters parameters, const std::string& secret, int* status) {
    parameters.emplace_back("api_sig", LastFm::signature(parameters, secret));
    parameters.emplace_back("format", "json");
    std::string form;
    for (const auto& [name, value] : parameters) {
        if (!form.empty()) form += '&';
        form += percentEncode(name, kUriComponentPunctuation) + "=" + percentEncode(value, kUriComponentPunctuation);
    }
    const HttpResponse response = post(origin + "/2.0/", "Content-Type: application/x-www-form-urlencoded", form);
    *status = statusCode(response);
    return json::parse(response.bodyBytes, nullptr, false);
}

// Last.fm's error codes: those of the account, those worth a later try,
// and the rest (bad parameters and the like), which no retry mends.
SendOutcome byLastFmAnswer(int status, const json& answer) {
    if (!answer.is_object()) return status >= 200 && status < 300 ? SendOutcome::Retry : byStatus(status);
    if (!answer.contains("error")) return byStatus(status);
    const int error = answer["error"].is_number() ? answer["error"].get<int>() : 0;
    switch (error) {
        case 4:
        case 9:
        case 10:
        case 13:
        case 14:
        case 26: return SendOutcome::AuthFailed;
        case 8:
        case 11:
        case 16:
        case 29: return SendOutcome::Retry;
        default: return SendOutcome::Rejected;
    }
}

void addTrack(Parameters& parameters, const Listen& listen, const std::string& suffix) {
    parameters.emplace_back("artist" + suffix, listen.artist);
    parameters.emplace_back("track" + suffix, listen.title);
    if (!listen.album.empty()) parameters.emplace_back("album" + suffix, listen.album);
    if (listen.durationMs > 0) parameters.emplace_back("duration" + suffix, std::to_string(listen.durationMs / 1000));
}

}  // namespace

ScrobbleOrigins ScrobbleOrigins::fromEnvironment() {
    ScrobbleOrigins origins;
    if (const char* value = std::getenv("MIVRA_LISTENBRAINZ_ORIGIN"); value && *value) origins.listenBrainz = value;
    if (const char* value = std::getenv("MIVRA_LASTFM_ORIGIN"); value && *value) origins.lastFm = value;
    return origins;
}

namespace ListenBrainz {

SendOutcome playingNow(const std::string& origin, const std::string& token, const Listen& listen) {
    return submitListenBrainz(
        origin, token, {{"listen_type", "playing_now"}, {"payload", {{{"track_metadata", trackMetadata(listen)}}}}});
}

SendOutcome submit(const std::string& origin, const std::string& token, const std::vector<Listen>& listens) {
    json payload = json::array();
    for (const Listen& listen : listens)
        payload.push_back({{"listened_at", listen.listenedAt}, {"track_metadata", trackMetadata(listen)}});
    return submitListenBrainz(origin, token,
                              {{"listen_type", listens.size() == 1 ? "single" : "import"}, {"payload", payload}});
}

}  // namespace ListenBrainz

namespace LastFm {

std::string signature(const Parameters& parameters, const std::string& secret) {
    Parameters sorted;
    for (const auto& parameter : parameters)
        if (parameter.first != "format" && parameter.first != "callback") sorted.push_back(parameter);
    std::sort(sorted.begin(), sorted.end());
    std::string text;
    for (const auto& [name, value] : sorted) text += name + value;
    return md5Hex(text + secret);
}

SendOutcome nowPlaying(const std::string& origin, const LastFmAccount& account, const Listen& listen) {
    Parameters parameters = {
        {"method", "track.updateNowPlaying"}, {"api_key", account.apiKey}, {"sk", account.sessionKey}};
    addTrack(parameters, listen, "");
    int status = 0;
    const json answer = callLastFm(origin, parameters, account.secret, &status);
    return byLastFmAnswer(status, answer);
}

SendOutcome scrobble(const std::string& origin, const LastFmAccount& account, const std::vector<Listen>& listens) {
    Parameters parameters = {{"method", "track.scrobble"}, {"api_key", account.apiKey}, {"sk", account.sessionKey}};
    for (size_t i = 0; i < listens.size(); ++i) {
        const std::string suffix = "[" + std::to_string(i) + "]";
        addTrack(parameters, listens[i], suffix);
        parameters.emplace_back("timestamp" + suffix, std::to_string(listens[i].listenedAt));
    }
    int status = 0;
    const json answer = callLastFm(origin, parameters, account.secret, &status);
    return byLastFmAnswer(status, answer);
}

std::string mobileSession(const std::string& origin, const LastFmAccount& account, const std::string& user,
                          const std::string& password, std::string* error) {
    int status = 0;
    const json answer = callLastFm(
        origin,
        {{"method", "auth.getMobileSession"}, {"api_key", account.apiKey}, {"username", user}, {"password", password}},
        account.secret, &status);
    if (answer.is_object() && answer.contains("session") && answer["session"].is_object()) {
        const json& key = answer["session"]["key"];
        if (key.is_string() && !key.get<std::string>().empty()) return key.get<std::string>();
    }
    if (error) {
        if (answer.is_object() && answer.contains("message") && answer["message"].is_string())
            *error = answer["message"].get<std::string>();
        else
            *error = status > 0 ? "HTTP " + std::to_string(status) : "no answer";
    }
    return {};
}

}  // namespace LastFm
