#include "ui/AccountSession.h"

#include "api/CloudApiClient.h"
#include "ui/widgets/FlatButton.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/widgets/PictureBox.h"
#include "ui/pictures/PicturePipeline.h"
#include "ui/widgets/Toolbar.h"
#include "ui/pages/LibraryPage.h"
#include "ui/pages/LoginPage.h"
#include "ui/pages/SettingsPage.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace {

constexpr int kAvatarSize = 70;  // the largest place an avatar is shown

}  // namespace

AccountSession::AccountSession(const CloudApiClient& client, AppSettings settings, MainWindow& window)
    : client_(client),
      settings_(std::move(settings)),
      window_(window),
      login_(*static_cast<LoginPage*>(window.page(Pages::kLogin))),
      library_(*static_cast<LibraryPage*>(window.page(Pages::kMusicLibrary))),
      settingsPage_(*static_cast<SettingsPage*>(window.page(Pages::kSettings))),
      toolbarStartAvatar_(window.toolbar()->avatar()->picture()),
      settingsStartAvatar_(settingsPage_.accountAvatar()->picture()) {
    connect(window.toolbar()->loginLabel(), &QAbstractButton::clicked, &login_, &LoginPage::startQrLogin);
    connect(&login_, &LoginPage::loggedIn, this, &AccountSession::onLoggedIn);
    connect(library_.refreshButton(), &QAbstractButton::clicked, this, [this] { loadAccount(); });
    connect(settingsPage_.logOutButton(), &QAbstractButton::clicked, this, &AccountSession::logOut);
}

void AccountSession::restore(const std::string& cookie, const AccountProfile& profile) {
    if (profile.userId.empty()) {
        state_.cookie.clear();
        showLoggedOut();
        return;
    }
    state_.cookie = cookie;
    window_.setAccountCookie(cookie);
    loadAccount();
}

BackgroundTask::Handle AccountSession::loadAccount() {
    window_.toolbar()->showAccountArea(true);
    settingsPage_.logOutButton()->show();
    const int generation = ++loadGeneration_;
    PicturePipeline* pictures = window_.pictures();
    const qreal ratio = window_.devicePixelRatioF();
    return tasks_.start([this, generation, pictures, ratio, cookie = state_.cookie] {
        LoadedAccount account{client_.fetchAccount(cookie), {}};
        if (pictures) account.avatar = pictures->load(account.profile.avatarUrl, {{kAvatarSize, kAvatarSize}, 0, ratio});
        runOnUiThread(this, [this, generation, account = std::move(account)] {
            if (generation == loadGeneration_) showAccount(account);
        });
    });
}

void AccountSession::showAccount(const LoadedAccount& account) {
    state_.profile = account.profile;
    window_.setLoggedInUserId(account.profile.userId);
    // An account that cannot be read leaves nobody logged in: "登录" comes
    // back instead of an avatar area that stands for no one.
    if (account.profile.userId.empty()) {
        window_.setAccountCookie({});
        window_.toolbar()->showAccountArea(false);
        return;
    }
    const QImage avatar = account.avatar.isNull() ? toolbarStartAvatar_ : account.avatar;
    window_.toolbar()->avatar()->setPicture(avatar);
    settingsPage_.accountAvatar()->setPicture(account.avatar.isNull() ? settingsStartAvatar_ : account.avatar);
    settingsPage_.nickname()->setText(QString::fromStdString(account.profile.nickname));
    library_.showAccount(account.profile.nickname, account.avatar);
    library_.loadLibrary(account.profile.userId, state_.cookie);
}

// The cookie is kept in the settings file too, so the login survives a
// restart. The account is loaded before the home page and the notice show.
void AccountSession::onLoggedIn(const std::string& cookie) {
    state_.cookie = cookie;
    window_.setAccountCookie(cookie);
    settings_.write("User", "Cookie", cookie);
    const QPointer<AccountSession> alive(this);
    BackgroundTask::waitPumping(loadAccount());
    if (!alive) return;
    QCoreApplication::sendPostedEvents(this);  // the account's hand-over to this thread
    emit accountChanged();
    if (!alive) return;
    window_.showPage(Pages::kHome);
    MessageBoxWindow::show({.title = "登录成功",
                            .content = "登录成功啦！现在可以尽情享受Mivra音乐啦！",
                            .confirmCaption = "知道了"});
}

// The cookie goes from the file and from memory, so no later request still
// acts for the old account. The library keeps what it showed.
void AccountSession::logOut() {
    settings_.write("User", "cookie", "");
    state_ = {};
    ++loadGeneration_;  // an account load still under way shows nothing
    showLoggedOut();
    emit accountChanged();
    MessageBoxWindow::show({.title = "退出登录成功",
                            .content = "Mivra酱已经退出了您的网易云音乐账号，音乐库已经无法使用了呢QAQ，请大人知悉...",
                            .confirmCaption = "知道了"});
}

void AccountSession::showLoggedOut() {
    window_.setLoggedInUserId({});
    window_.setAccountCookie({});
    window_.toolbar()->avatar()->setPicture(toolbarStartAvatar_);
    window_.toolbar()->showAccountArea(false);
    settingsPage_.accountAvatar()->setPicture(settingsStartAvatar_);
    settingsPage_.nickname()->setText("暂未登录");
}
