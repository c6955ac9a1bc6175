#include "browse/Account.h"

#include "api/CloudApiClient.h"

Account::Account(const CloudApiClient& client, AppSettings settings, std::string storedCookie)
    : client_(client), settings_(std::move(settings)), cookie_(std::move(storedCookie)) {
    pollTimer_.setObjectName("时钟_二维码回调");
    connect(&pollTimer_, &QTimer::timeout, this, &Account::pollQrLogin);
}

// The check's profile is the account: it shows at once, without asking
// again.
void Account::restore(const AccountProfile& profile) {
    profile_ = profile;
    if (profile.userId.empty()) {
        cookie_.clear();
        emit loggedOut();
        return;
    }
    ++loadGeneration_;  // a load still under way is older than the check
    emit loadStarted();
    emit loaded();
}

void Account::reload() { load(false); }

void Account::load(bool afterLogin) {
    const std::uint64_t generation = ++loadGeneration_;
    emit loadStarted();
    tasks_.start([this, generation, afterLogin, cookie = cookie_] {
        AccountProfile profile = client_.fetchAccount(cookie);
        runOnUiThread(this, [this, generation, afterLogin, profile = std::move(profile)] {
            if (generation == loadGeneration_) takeLoaded(profile, afterLogin);
        });
    });
}

// An account that cannot be read leaves nobody logged in, and its cookie
// is not sent on.
void Account::takeLoaded(const AccountProfile& profile, bool afterLogin) {
    profile_ = profile;
    if (profile_.userId.empty()) cookie_.clear();
    emit loaded();
    if (!afterLogin) return;
    emit accountChanged();
    emit loginFinished();
}

// The cookie goes from the file and from memory, so no later request still
// acts for the old account.
void Account::logOut() {
    settings_.write("User", "cookie", "");
    cookie_.clear();
    profile_ = {};
    ++loadGeneration_;  // an account load still under way changes nothing
    emit loggedOut();
    emit accountChanged();
}

std::uint64_t Account::nextQrStep() {
    qrBusy_ = true;
    return ++qrStep_;
}

void Account::startQrLogin() {
    if (qrBusy_) return;
    const std::uint64_t step = nextQrStep();
    tasks_.start([this, step] {
        QrCodeOffer offer{client_.qrCreateKey(), {}, {}};
        if (!offer.key.empty()) offer.loginUrl = client_.qrCreateUrl(offer.key);
        if (!offer.loginUrl.empty()) offer.pictureBytes = client_.fetchQrPicture(offer.loginUrl);
        runOnUiThread(this, [this, step, offer = std::move(offer)] {
            if (step != qrStep_) return;
            qrBusy_ = false;
            qrKey_ = offer.key;
            if (offer.loginUrl.empty())
                pollTimer_.stop();
            else
                pollTimer_.start(kQrPollIntervalMs);
            emit qrOffered(offer);
        });
    });
}

void Account::pollQrLogin() {
    if (qrBusy_ || qrKey_.empty()) return;
    const std::uint64_t step = nextQrStep();
    tasks_.start([this, step, key = qrKey_] {
        QrPollResult result = client_.qrPoll(key);
        runOnUiThread(this, [this, step, result = std::move(result)] {
            if (step != qrStep_) return;
            qrBusy_ = false;
            // A "logged in" answer without a cookie would log in nobody:
            // keep waiting for a real one.
            if (result.state == QrLoginState::LoggedIn && result.cookie.empty()) {
                emit qrPolled(QrLoginState::NoAnswer);
                return;
            }
            if (result.state == QrLoginState::LoggedIn) onQrLoggedIn(result.cookie);
            emit qrPolled(result.state);
        });
    });
}

void Account::endQrLogin() {
    pollTimer_.stop();
    qrKey_.clear();
    qrBusy_ = false;
    ++qrStep_;  // whatever a step under way still hands over is dropped
}

// The cookie is kept in the settings file too, so the login survives a
// restart. `loginFinished` waits for the account to be loaded.
void Account::onQrLoggedIn(const std::string& cookie) {
    endQrLogin();
    cookie_ = cookie;
    settings_.write("User", "Cookie", cookie);
    load(true);
}

bool Account::changeSubscription(SubscribeAction action, const std::string& playlistId) {
    if (!loggedIn()) return false;
    tasks_.start([this, action, playlistId, cookie = cookie_] {
        const bool done = client_.subscribePlaylist(action, playlistId, cookie);
        runOnUiThread(this, [this, action, playlistId, done] { emit subscriptionEnded(action, playlistId, done); });
    });
    return true;
}
