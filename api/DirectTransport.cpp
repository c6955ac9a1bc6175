#include "api/DirectTransport.h"

#include "net/HeaderUtils.h"
#include "net/ServiceCipher.h"
#include "text/PercentEncoding.h"
#include "text/TextUtils.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

using Json = nlohmann::ordered_json;
using CookieFields = std::vector<std::pair<std::string, std::string>>;

// The identity of the desktop client whose requests these are.
constexpr const char* kOs = "pc";
constexpr const char* kOsVersion = "Microsoft-Windows-10-Professional-build-19045-64bit";
constexpr const char* kAppVersion = "3.1.17.204416";
constexpr const char* kChannel = "netease";
constexpr const char* kWeapiUserAgent =
    "Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/124.0.0.0 "
    "Safari/537.36 Edg/124.0.0.0";
constexpr const char* kEapiUserAgent = "NeteaseMusic 9.0.90/5038 (iPhone; iOS 16.2; zh_CN)";
constexpr const char* kLinuxapiUserAgent =
    "Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/60.0.3112.90 Safari/537.36";
constexpr const char* kAntiCheatToken =
    "9ca17ae2e6ffcda170e2e6ee8af14fbabdb988f225b3868eb2c15a879b9a83d274a790ac8ff54a97b889d5d42af0feaec3b92af58cff99c470"
    "a7eafd88f75e839a9ea7c14e909da883e83fb692a3abdb6b92adee9e";
constexpr const char* kQrLoginUrl = "https://music.163.com/login?codekey=";
// After a registration failed, logged-out requests go without a visitor
// token this long before the next registration is tried.
constexpr std::int64_t kRegistrationRetryMs = 30000;

// "a=1; b=2" into its fields; an item without exactly one "=" is no field.
CookieFields parseCookie(const std::string& cookie) {
    CookieFields fields;
    for (const std::string& item : splitText(cookie, ";")) {
        const std::vector<std::string> parts = splitText(item, "=");
        if (parts.size() == 2) fields.emplace_back(trimText(parts[0]), trimText(parts[1]));
    }
    return fields;
}

const std::string* fieldOf(const CookieFields& fields, std::string_view name) {
    for (const auto& [key, value] : fields)
        if (key == name) return &value;
    return nullptr;
}

void addMissing(CookieFields& fields, std::string name, std::string value) {
    if (!fieldOf(fields, name)) fields.emplace_back(std::move(name), std::move(value));
}

std::string encodeComponent(std::string_view text) { return percentEncode(text, kUriComponentPunctuation); }

std::string cookieLine(const CookieFields& fields) {
    std::string line;
    for (const auto& [name, value] : fields) {
        if (!line.empty()) line += "; ";
        line += encodeComponent(name) + "=" + encodeComponent(value);
    }
    return line;
}

// As a form body encodes its values: letters, digits and * - . _ kept.
std::string encodeFormValue(std::string_view text) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string form;
    for (const char c : encodeComponent(text)) {
        if (c == '!' || c == '~' || c == '\'' || c == '(' || c == ')') {
            form += '%';
            form += kHexDigits[static_cast<unsigned char>(c) >> 4];
            form += kHexDigits[static_cast<unsigned char>(c) & 0x0F];
        } else {
            form += c;
        }
    }
    return form;
}

std::string dumpJson(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace); }

Json parseJson(const std::string& text) { return Json::parse(text, nullptr, false); }

bool answered(const ServiceAnswer& answer) { return !answer.status.empty() && answer.status[0] == '2'; }

std::string requestId(const RequestRandomness& randomness, std::int64_t now) {
    const std::string bytes = randomness.bytes(2);
    const int number = (static_cast<unsigned char>(bytes[0]) * 256 + static_cast<unsigned char>(bytes[1])) % 1000;
    std::string digits = std::to_string(number);
    return std::to_string(now) + "_" + std::string(4 - digits.size(), '0') + digits;
}

std::string makeWnmcid(const RequestRandomness& randomness) {
    std::string letters;
    for (const char c : randomness.bytes(6)) letters += static_cast<char>('a' + static_cast<unsigned char>(c) % 26);
    return letters + "." + std::to_string(randomness.unixMilliseconds()) + ".01.0";
}

// The service's answer with the trial and availability rules applied: the
// first song's entry says whether it can be played.
ServiceAnswer availabilityAnswer(const ServiceAnswer& urlAnswer) {
    const Json answer = parseJson(urlAnswer.body);
    if (answer.is_discarded()) return urlAnswer;
    const bool playable = answer.value("code", 0) == 200 && answer.contains("data") && answer["data"].is_array() &&
                          !answer["data"].empty() && answer["data"][0].value("code", 0) == 200;
    const Json composed = playable ? Json{{"code", 200}, {"success", true}, {"message", "ok"}}
                                   : Json{{"code", 200}, {"success", false}, {"message", "亲爱的,暂无版权"}};
    return {urlAnswer.status, dumpJson(composed)};
}

int numberOr(const std::string& text, int fallback) {
    const int number = std::atoi(text.c_str());
    return number != 0 ? number : fallback;
}

}  // namespace

DirectOrigins DirectOrigins::service() { return {"https://music.163.com", "https://interface.music.163.com"}; }

DirectOrigins DirectOrigins::allAt(const std::string& origin) {
    std::string bare = origin;
    while (!bare.empty() && bare.back() == '/') bare.pop_back();
    return {bare, bare};
}

DirectTransport::DirectTransport(DirectOrigins origins, std::string deviceId, RequestRandomness randomness,
                                 std::string weapiSecretKey)
    : origins_(std::move(origins)),
      deviceId_(std::move(deviceId)),
      randomness_(std::move(randomness)),
      weapiSecretKey_(std::move(weapiSecretKey)),
      wnmcid_(makeWnmcid(randomness_)) {}

std::string DirectTransport::qrPicture(const std::string&) const { return {}; }

HttpRequest DirectTransport::prepare(const DirectRequest& request, const std::string& accountCookie,
                                     const std::string& visitorToken) const {
    CookieFields cookie = parseCookie(accountCookie);
    const std::int64_t now = randomness_.unixMilliseconds();
    const std::string nuid = randomness_.lowerHex(64);
    addMissing(cookie, "__remember_me", "true");
    addMissing(cookie, "ntes_kaola_ad", "1");
    addMissing(cookie, "_ntes_nuid", nuid);
    addMissing(cookie, "_ntes_nnid", nuid + "," + std::to_string(now));
    addMissing(cookie, "WNMCID", wnmcid_);
    addMissing(cookie, "WEVNSM", "1.0.0");
    addMissing(cookie, "osver", kOsVersion);
    addMissing(cookie, "deviceId", deviceId_);
    addMissing(cookie, "os", kOs);
    addMissing(cookie, "channel", kChannel);
    addMissing(cookie, "appver", kAppVersion);
    if (request.uri.find("login") == std::string::npos) addMissing(cookie, "NMTID", randomness_.lowerHex(32));
    const std::string* musicU = fieldOf(cookie, "MUSIC_U");
    if (!musicU) addMissing(cookie, "MUSIC_A", visitorToken);
    const std::string* csrf = fieldOf(cookie, "__csrf");
    const std::string csrfToken = csrf ? *csrf : std::string();

    HttpRequest exchange;
    exchange.method = kPost;
    Json params = request.params;
    params["e_r"] = false;
    std::string userAgent;
    std::string extraHeaders;
    const std::string apiPath = request.uri.size() > 5 ? request.uri.substr(5) : std::string();
    switch (request.form) {
        case CipherForm::Weapi: {
            params["csrf_token"] = csrfToken;
            const std::string key =
                weapiSecretKey_.empty() ? ServiceCipher::weapiSecretKeyFrom(randomness_.bytes(16)) : weapiSecretKey_;
            const ServiceCipher::WeapiForm form = ServiceCipher::weapi(dumpJson(params), key);
            exchange.url = origins_.web + "/weapi/" + apiPath;
            exchange.bodyText =
                "params=" + encodeFormValue(form.params) + "&encSecKey=" + encodeFormValue(form.encSecKey);
            userAgent = kWeapiUserAgent;
            extraHeaders = "Referer: " + origins_.web + "\r\nCookie: " + cookieLine(cookie);
            break;
        }
        case CipherForm::Linuxapi: {
            const Json wrapped{{"method", "POST"}, {"url", origins_.web + request.uri}, {"params", params}};
            exchange.url = origins_.web + "/api/linux/forward";
            exchange.bodyText = "eparams=" + ServiceCipher::linuxapi(dumpJson(wrapped));
            userAgent = kLinuxapiUserAgent;
            extraHeaders = "Cookie: " + cookieLine(cookie);
            break;
        }
        case CipherForm::Eapi: {
            const auto field = [&cookie](const char* name) { return *fieldOf(cookie, name); };
            CookieFields header = {{"osver", field("osver")},
                                   {"deviceId", field("deviceId")},
                                   {"os", field("os")},
                                   {"appver", field("appver")},
                                   {"versioncode", "140"},
                                   {"mobilename", ""},
                                   {"buildver", std::to_string(now).substr(0, 10)},
                                   {"resolution", "1920x1080"},
                                   {"__csrf", csrfToken},
                                   {"channel", field("channel")},
                                   {"requestId", requestId(randomness_, now)}};
            if (request.antiCheatToken) header.emplace_back("X-antiCheatToken", kAntiCheatToken);
            if (const std::string* u = fieldOf(cookie, "MUSIC_U")) header.emplace_back("MUSIC_U", *u);
            if (const std::string* a = fieldOf(cookie, "MUSIC_A")) header.emplace_back("MUSIC_A", *a);
            Json headerJson = Json::object();
            for (const auto& [name, value] : header) headerJson[name] = value;
            params["header"] = headerJson;
            exchange.url = origins_.api + "/eapi/" + apiPath;
            exchange.bodyText = "params=" + ServiceCipher::eapi(request.uri, dumpJson(params));
            userAgent = kEapiUserAgent;
            extraHeaders = "Cookie: " + cookieLine(header);
            break;
        }
    }
    exchange.extraHeaders = extraHeaders + "\r\nUser-Agent: " + userAgent;
    return exchange;
}

DirectTransport::Exchange DirectTransport::exchange(const DirectRequest& request,
                                                    const std::string& accountCookie) const {
    const bool forAccount = fieldOf(parseCookie(accountCookie), "MUSIC_U") != nullptr;
    const std::string token = forAccount ? std::string() : visitorToken();
    const HttpResponse response = HttpClient::fetchService(prepare(request, accountCookie, token));
    return {{response.status, response.bodyBytes}, collectSetCookies(response.headers)};
}

std::string DirectTransport::visitorToken() const {
    const std::lock_guard lock(registrationMutex_);
    if (!visitorToken_.empty()) return visitorToken_;
    const std::int64_t now = randomness_.unixMilliseconds();
    if (lastFailedRegistrationMs_ != 0 && now - lastFailedRegistrationMs_ < kRegistrationRetryMs) return {};
    const HttpResponse response = HttpClient::fetchService(prepare(anonymousRegistration(deviceId_), {}, {}));
    const CookieFields received = parseCookie(collectSetCookies(response.headers));
    const std::string* token = fieldOf(received, "MUSIC_A");
    if (token && !token->empty()) {
        visitorToken_ = *token;
    } else {
        lastFailedRegistrationMs_ = now == 0 ? 1 : now;
    }
    return visitorToken_;
}

ServiceAnswer DirectTransport::send(const ServiceCall& call) const {
    switch (call.route) {
        case ServiceRoute::QrCreate:
            return {"200 OK",
                    dumpJson(Json{{"code", 200},
                                  {"data", Json{{"qrurl", kQrLoginUrl + call.value("key")}, {"qrimg", ""}}}})};
        case ServiceRoute::PlaylistTracks: return playlistTracks(call);
        case ServiceRoute::SongUrl: return songUrl(call);
        case ServiceRoute::CheckMusic: return availabilityAnswer(exchange(directRequest(call), call.cookie).answer);
        case ServiceRoute::QrKey: {
            const ServiceAnswer answer = exchange(directRequest(call), call.cookie).answer;
            const Json body = parseJson(answer.body);
            if (body.is_discarded()) return answer;
            return {answer.status, dumpJson(Json{{"data", body}, {"code", 200}})};
        }
        case ServiceRoute::QrCheck: {
            const Exchange result = exchange(directRequest(call), call.cookie);
            Json body = parseJson(result.answer.body);
            if (body.is_discarded() || !body.is_object()) return result.answer;
            body["cookie"] = result.setCookies;
            return {result.answer.status, dumpJson(body)};
        }
        default: return exchange(directRequest(call), call.cookie).answer;
    }
}

// The playlist's track ids from its detail, then the details of the slice
// asked for.
ServiceAnswer DirectTransport::playlistTracks(const ServiceCall& call) const {
    const ServiceAnswer detail = exchange(directRequest(call), call.cookie).answer;
    const Json answer = parseJson(detail.body);
    if (!answered(detail) || answer.is_discarded()) return detail;
    const int limit = numberOr(call.value("limit"), 1000);
    const int offset = std::max(0, std::atoi(call.value("offset").c_str()));
    std::vector<std::string> ids;
    const Json* trackIds = nullptr;
    if (answer.contains("playlist") && answer["playlist"].is_object() && answer["playlist"].contains("trackIds"))
        trackIds = &answer["playlist"]["trackIds"];
    if (trackIds && trackIds->is_array()) {
        for (int i = offset; i < offset + limit && i < static_cast<int>(trackIds->size()); ++i) {
            const Json& id = (*trackIds)[static_cast<std::size_t>(i)]["id"];
            ids.push_back(id.is_string() ? id.get<std::string>() : dumpJson(id));
        }
    }
    return exchange(songDetailRequest(ids, CipherForm::Eapi), call.cookie).answer;
}

// The quality asked for, then each lower one while the service names no URL.
ServiceAnswer DirectTransport::songUrl(const ServiceCall& call) const {
    auto level = std::find(kSongLevels.rbegin(), kSongLevels.rend(), call.songLevel);
    if (level == kSongLevels.rend()) level = std::find(kSongLevels.rbegin(), kSongLevels.rend(), "exhigh");
    ServiceAnswer answer;
    for (; level != kSongLevels.rend(); ++level) {
        answer = exchange(songUrlRequest(call.value("id"), *level), call.cookie).answer;
        const Json body = parseJson(answer.body);
        if (!answered(answer) || body.is_discarded()) return answer;
        const Json* url = nullptr;
        if (body.contains("data") && body["data"].is_array() && !body["data"].empty() && body["data"][0].is_object() &&
            body["data"][0].contains("url"))
            url = &body["data"][0]["url"];
        if (url && url->is_string() && !url->get<std::string>().empty()) return answer;
    }
    return answer;
}
