#include "ui/AccountView.h"

#include "browse/Account.h"
#include "ui/pages/LibraryPage.h"
#include "ui/pages/LoginPage.h"
#include "ui/pages/SettingsPage.h"
#include "ui/pictures/PicturePipeline.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace {

constexpr int kAvatarSize = 70;  // the largest place an avatar is shown

}  // namespace

AccountView::AccountView(Account& account, MainWindow& window)
    : account_(account),
      window_(window),
      library_(*static_cast<LibraryPage*>(window.page(Pages::kMusicLibrary))),
      settingsPage_(*static_cast<SettingsPage*>(window.page(Pages::kSettings))),
      toolbarStartAvatar_(window.toolbar()->avatar()->picture()),
      settingsStartAvatar_(settingsPage_.accountAvatar()->picture()) {
    auto* login = static_cast<LoginPage*>(window.page(Pages::kLogin));
    connect(window.toolbar()->loginLabel(), &QAbstractButton::clicked, login, &LoginPage::startQrLogin);
    connect(library_.refreshButton(), &QAbstractButton::clicked, &account, &Account::reload);
    connect(settingsPage_.logOutButton(), &QAbstractButton::clicked, this, &AccountView::logOut);
    connect(window.toolbar()->settingsButton(), &QAbstractButton::clicked, this, &AccountView::openSettings);
    window.toolbar()->avatar()->installEventFilter(this);
    connect(&account, &Account::loadStarted, this, &AccountView::showLoading);
    connect(&account, &Account::loaded, this, &AccountView::showLoaded);
    connect(&account, &Account::loggedOut, this, &AccountView::showLoggedOut);
    connect(&account, &Account::loginFinished, this, &AccountView::greetLogin);
}

void AccountView::showLoading() {
    window_.toolbar()->showAccountArea(true);
    settingsPage_.logOutButton()->show();
}

// An account that cannot be read leaves nobody logged in: "登录" comes back
// instead of an avatar area that stands for no one. A readable one shows
// once its avatar is in.
void AccountView::showLoaded() {
    if (!account_.loggedIn()) {
        avatarLoad_.cancel();
        window_.toolbar()->showAccountArea(false);
        return;
    }
    PicturePipeline* pictures = window_.pictures();
    const PictureShape shape{{kAvatarSize, kAvatarSize}, 0, window_.devicePixelRatioF()};
    avatarLoad_.start([this, pictures, shape, url = account_.profile().avatarUrl](const LatestLoad::Deliver& deliver) {
        QImage avatar = pictures ? pictures->load(url, shape) : QImage();
        deliver([this, avatar = std::move(avatar)] { showAccount(avatar); });
    });
}

void AccountView::showAccount(const QImage& avatar) {
    const AccountProfile& profile = account_.profile();
    window_.toolbar()->avatar()->setPicture(avatar.isNull() ? toolbarStartAvatar_ : avatar);
    settingsPage_.accountAvatar()->setPicture(avatar.isNull() ? settingsStartAvatar_ : avatar);
    settingsPage_.nickname()->setText(QString::fromStdString(profile.nickname));
    library_.showAccount(profile.nickname, avatar);
    reloadLibrary();
}

void AccountView::reloadLibrary() {
    if (account_.loggedIn()) library_.loadLibrary(account_.userId(), account_.cookie());
}

// Going back from the settings leads to the page they were opened over.
void AccountView::openSettings() { window_.router().open({Place::Settings, ""}, window_.router().current()); }

bool AccountView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_.toolbar()->avatar() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        openSettings();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void AccountView::greetLogin() {
    window_.showPage(Pages::kHome);
    MessageBoxWindow::show(
        {.title = "登录成功", .content = "登录成功啦！现在可以尽情享受Mivra音乐啦！", .confirmCaption = "知道了"});
}

// The library keeps what it showed.
void AccountView::logOut() {
    account_.logOut();
    MessageBoxWindow::show({.title = "退出登录成功",
                            .content = "Mivra酱已经退出了您的网易云音乐账号，音乐库已经无法使用了呢QAQ，请大人知悉...",
                            .confirmCaption = "知道了"});
}

void AccountView::showLoggedOut() {
    avatarLoad_.cancel();
    window_.toolbar()->avatar()->setPicture(toolbarStartAvatar_);
    window_.toolbar()->showAccountArea(false);
    settingsPage_.accountAvatar()->setPicture(settingsStartAvatar_);
    settingsPage_.nickname()->setText("暂未登录");
}
