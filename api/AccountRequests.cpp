// The QR login through the maker's account host, the account answer, the
// account's playlists and subscribing to a playlist.
#include "api/AnswerReading.h"
#include "api/CloudApiClient.h"
#include "api/ServiceRequest.h"

namespace {

constexpr std::string_view kQrLoginPath = "/mivra/public/?type=apiCloudMusicQRCodeLogin&op=";

QrPollResult readPollAnswer(const JsonDocument& answer) {
    const std::string code = answer.getText("code");
    // No code at all means the poll failed or was not understood; only an
    // answer that names another code is a login, so a dropped connection
    // never logs anyone in with an empty cookie.
    if (code.empty()) return {QrLoginState::NoAnswer, {}};
    if (code == "800") return {QrLoginState::Expired, {}};
    if (code == "801") return {QrLoginState::WaitingScan, {}};
    if (code == "802") return {QrLoginState::WaitingConfirm, {}};
    return {QrLoginState::LoggedIn, answer.getText("cookie")};
}

}  // namespace

std::string CloudApiClient::qrCreateKey() const {
    const JsonDocument answer =
        fetchJson(hosts_.accountOrigin + std::string(kQrLoginPath) + "0", RequestHeaders::EngineDefaults);
    return answer.getText("data.unikey");
}

std::string CloudApiClient::qrCreateUrl(const std::string& key) const {
    const JsonDocument answer =
        fetchJson(hosts_.accountOrigin + std::string(kQrLoginPath) + "1&key=" + key, RequestHeaders::EngineDefaults);
    return answer.getText("data.qrurl");
}

std::string CloudApiClient::fetchQrPicture(const std::string& qrUrl) const {
    return HttpClient::fetchPicture(
               makeGetRequest(hosts_.qrOrigin + "/lokpay/qrcode.php?size=256&text=" + qrUrl))
        .bodyBytes;
}

QrPollResult CloudApiClient::qrPoll(const std::string& key) const {
    return readPollAnswer(
        fetchJson(hosts_.accountOrigin + std::string(kQrLoginPath) + "2&key=" + key, RequestHeaders::EngineDefaults));
}

AccountProfile CloudApiClient::fetchAccount(const std::string& cookie) const {
    const JsonDocument answer =
        fetchJson(hosts_.serviceBase + "user/account?cookie=" + cookie, RequestHeaders::EngineDefaults);
    return {answer.getText("profile.userId"), answer.getText("profile.nickname"), answer.getText("profile.avatarUrl")};
}

bool CloudApiClient::checkAccount(const std::string& cookie) const {
    const JsonDocument answer =
        fetchJson(hosts_.serviceBase + "user/account?cookie=" + cookie, RequestHeaders::EngineDefaults);
    return !answer.getText("profile").empty();
}

std::vector<CoverItem> CloudApiClient::fetchUserPlaylists(const std::string& userId, const std::string& cookie, ServiceStatus* status) const {
    const JsonDocument answer = fetchJson(hosts_.serviceBaseNoSlash() + "/user/playlist?uid=" + userId +
                                              "&timestamp=" + timestampMs() + "&cookie=" + cookie,
                                          RequestHeaders::EngineDefaults, status);
    return readCoverItems(answer, "playlist",
                          {{CoverField::Picture, "coverImgUrl"}, {CoverField::Id, "id"}, {CoverField::Name, "name"}});
}

bool CloudApiClient::subscribePlaylist(SubscribeAction action, const std::string& id, const std::string& cookie) const {
    const JsonDocument answer =
        fetchJson(hosts_.serviceBase + "playlist/subscribe?t=" + std::to_string(static_cast<int>(action)) +
                      "&id=" + id + "&cookie=" + cookie,
                  RequestHeaders::BrowserAgent);
    return answer.getText("code") == "200";
}
