#pragma once
// The account the program is logged in to and everything that shows it:
// the toolbar's avatar or "登录" label, the QR login page, the music
// library, and the settings page's account box with its log-out button.
// Lives on the UI thread; account requests run on tasks, and the newest
// account load wins over older ones still under way.
#include "api/CloudRecords.h"
#include "base/AppSettings.h"
#include "base/BackgroundTask.h"

#include <QImage>
#include <QObject>
#include <string>

class CloudApiClient;
class LibraryPage;
class LoginPage;
class MainWindow;
class SettingsPage;

class AccountSession : public QObject {
    Q_OBJECT
public:
    // `client` must outlive the session; the window's pages 9, 10 and 11
    // must be the login, settings and library pages.
    AccountSession(const CloudApiClient& client, AppSettings settings, MainWindow& window);

    // Start-up: `cookie` is the stored cookie and `profile` what the account
    // check found for it. Without a user the cookie is forgotten and "登录"
    // shows; with one the avatar area shows and the account loads in the
    // background.
    void restore(const std::string& cookie, const AccountProfile& profile);

    // Shows the avatar area, asks for the account and its avatar, then
    // fills the toolbar, the library and the settings page and starts
    // loading the library. Returns the task for callers that wait.
    BackgroundTask::Handle loadAccount();
    // Forgets the account here and in the settings file.
    void logOut();

    const AccountState& state() const { return state_; }

signals:
    // Someone logged in or out: whatever the account personalises (the
    // recommendations) is to be loaded again with `state().cookie`.
    void accountChanged();
    // The account's profile was loaded and shown (or could not be read):
    // `state()` holds who is logged in now.
    void accountShown();

private:
    struct LoadedAccount {
        AccountProfile profile;
        QImage avatar;
    };

    void onLoggedIn(const std::string& cookie);
    void showAccount(const LoadedAccount& account);
    void showLoggedOut();

    const CloudApiClient& client_;
    const AppSettings settings_;
    MainWindow& window_;
    LoginPage& login_;
    LibraryPage& library_;
    SettingsPage& settingsPage_;
    // What the avatars show before anyone logs in; log-out puts them back.
    const QImage toolbarStartAvatar_;
    const QImage settingsStartAvatar_;
    AccountState state_;
    int loadGeneration_ = 0;
    // Last: its tasks end before anything they use is gone.
    TaskOwner tasks_;
};
