#pragma once
// Everything that shows the account: the toolbar's avatar or "登录" label,
// the music library, the settings page's account box with its log-out
// button, and the notices of a login and a log-out. The avatar and the gear
// beside it lead to the settings page. The account itself (its
// cookie, user and QR login) lives in the browse layer; this only draws it
// and hands it what the user does.
//
// Thread: UI thread only; the avatar loads on a task, the newest load wins.
#include "ui/lists/LatestLoad.h"

#include <QImage>
#include <QObject>

class Account;
class LibraryPage;
class MainWindow;
class SettingsPage;

class AccountView : public QObject {
public:
    // `account` and `window` must outlive the view; the window's pages 10
    // and 11 must be the settings and library pages.
    AccountView(Account& account, MainWindow& window);

protected:
    // A click on the toolbar's avatar opens the settings page.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showLoading();
    void showLoaded();
    void showAccount(const QImage& avatar);
    void showLoggedOut();
    // The library lists the account's playlists afresh.
    void reloadLibrary();
    void logOut();
    void greetLogin();
    void openSettings();

    Account& account_;
    MainWindow& window_;
    LibraryPage& library_;
    SettingsPage& settingsPage_;
    // What the avatars show before anyone logs in; log-out puts them back.
    const QImage toolbarStartAvatar_;
    const QImage settingsStartAvatar_;
    LatestLoad avatarLoad_{this};
};
