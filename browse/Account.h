#pragma once
// The account the program is logged in to, without a window: the one owner
// of the login cookie and of the user, and the QR login flow. Pages, the
// player and the views read it here; nobody keeps a copy.
//
// Thread: UI thread only. Its requests run on tasks it owns; their answers
// come back to the UI thread in order, and a newer account load or QR step
// drops what an older one still hands over.
#include "api/CloudRecords.h"
#include "base/AppSettings.h"
#include "base/BackgroundTask.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <string>

class CloudApiClient;

// A QR code to show: its key, the login URL it stands for and the picture
// the QR image host drew of it (empty when that host gave none).
struct QrCodeOffer {
    std::string key;
    std::string loginUrl;  // empty: no code could be had
    std::string pictureBytes;
};

class Account : public QObject {
    Q_OBJECT
public:
    static constexpr int kQrPollIntervalMs = 3000;

    // `client` must outlive the account. `storedCookie` is the cookie the
    // settings file keeps; it is held (and sent) until `restore` decides.
    Account(const CloudApiClient& client, AppSettings settings, std::string storedCookie);

    // The cookie the requests carry; empty when none is held.
    const std::string& cookie() const { return cookie_; }
    const AccountProfile& profile() const { return profile_; }
    // Logged in means a user id.
    const std::string& userId() const { return profile_.userId; }
    bool loggedIn() const { return !profile_.userId.empty(); }

    // Start-up: `profile` is what the account check found for the stored
    // cookie. Without a user the cookie is forgotten for this run; with one
    // it is the account, loaded.
    void restore(const AccountProfile& profile);
    // Asks for the account of the cookie held; `loadStarted` now and
    // `loaded` when the answer is in.
    void reload();
    // Forgets the account here and in the settings file.
    void logOut();

    // Asks for a new QR key, its login URL and picture (`qrOffered`), and
    // polls the key every 3 seconds. A step still under way is let be.
    void startQrLogin();
    // One poll of the key; what the timer runs. Skipped while another QR
    // step is under way or no key is held.
    void pollQrLogin();
    // Stops polling and forgets the key.
    void endQrLogin();
    const std::string& qrKey() const { return qrKey_; }

    // Subscribes to a playlist, or ends a subscription, through the service;
    // `subscriptionEnded` tells how it went. Returns false, sending nothing,
    // while nobody is logged in.
    bool changeSubscription(SubscribeAction action, const std::string& playlistId);
    const QTimer& pollTimer() const { return pollTimer_; }

signals:
    void qrOffered(const QrCodeOffer& offer);
    // What a poll found (`NoAnswer` included); on `LoggedIn` the account
    // loads and `loginFinished` follows.
    void qrPolled(QrLoginState state);
    void loadStarted();
    // The account load is in: `profile()` holds it. A profile without a
    // user (the account could not be read) leaves nobody logged in.
    void loaded();
    // A QR login ended with the account loaded.
    void loginFinished();
    void loggedOut();
    // Someone logged in or out: whatever the account personalises is to be
    // loaded again.
    void accountChanged();
    // The service took (`done`) or refused a subscription change; when it
    // took it, the library's playlists are to be loaded again.
    void subscriptionEnded(SubscribeAction action, const std::string& playlistId, bool done);

private:
    void onQrLoggedIn(const std::string& cookie);
    void load(bool afterLogin);
    void takeLoaded(const AccountProfile& profile, bool afterLogin);
    std::uint64_t nextQrStep();

    const CloudApiClient& client_;
    const AppSettings settings_;
    std::string cookie_;
    AccountProfile profile_;
    std::string qrKey_;
    QTimer pollTimer_;
    bool qrBusy_ = false;       // a new code or a poll is under way
    std::uint64_t qrStep_ = 0;  // bumped by every QR step and by endQrLogin
    std::uint64_t loadGeneration_ = 0;
    // Last: its tasks end before anything they use is gone.
    TaskOwner tasks_;
};
