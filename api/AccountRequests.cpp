// The QR login, the account answer, the
// account's playlists and subscribing to a playlist.
#include "api/AnswerReading.h"
#include "api/CloudApiClient.h"

namespace {

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

std::string CloudApiClient::qrCreateKey() const { return fetch({ServiceRoute::QrKey}).getText("data.unikey"); }

std::string CloudApiClient::qrCreateUrl(const std::string& key) const {
    return fetch({ServiceRoute::QrCreate, {{"key", key}}}).getText("data.qrurl");
}

std::string CloudApiClient::fetchQrPicture(const std::string& qrUrl) const { return transport()->qrPicture(qrUrl); }

QrPollResult CloudApiClient::qrPoll(const std::string& key) const {
    return readPollAnswer(fetch({ServiceRoute::QrCheck, {{"key", key}}}));
}

AccountProfile CloudApiClient::fetchAccount(const std::string& cookie) const {
    const JsonDocument answer = fetch({ServiceRoute::UserAccount, {{"timestamp", timestampMs()}}, cookie, true});
    return {answer.getText("profile.userId"), answer.getText("profile.nickname"), answer.getText("profile.avatarUrl")};
}

bool CloudApiClient::checkAccount(const std::string& cookie) const {
    const JsonDocument answer = fetch({ServiceRoute::UserAccount, {{"timestamp", timestampMs()}}, cookie, true});
    return !answer.getText("profile").empty();
}

std::vector<CoverItem> CloudApiClient::fetchUserPlaylists(const std::string& userId, const std::string& cookie,
                                                          ServiceStatus* status) const {
    const JsonDocument answer =
        fetch({ServiceRoute::UserPlaylists, {{"uid", userId}, {"timestamp", timestampMs()}}, cookie, true}, status);
    return readCoverItems(answer, "playlist",
                          {{CoverField::Picture, "coverImgUrl"}, {CoverField::Id, "id"}, {CoverField::Name, "name"}});
}

// Subscribing changes what the service holds, so the request is always fresh.
bool CloudApiClient::subscribePlaylist(SubscribeAction action, const std::string& id, const std::string& cookie) const {
    const JsonDocument answer =
        fetch({ServiceRoute::PlaylistSubscribe,
               {{"t", std::to_string(static_cast<int>(action))}, {"id", id}, {"timestamp", timestampMs()}},
               cookie,
               true,
               RequestHeaders::BrowserAgent});
    return answer.getText("code") == "200";
}
