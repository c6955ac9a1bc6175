#include "ui/pages/LoginPage.h"

#include "browse/Account.h"
#include "ui/pictures/PictureDecoder.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/QrCodePicture.h"
#include "ui/widgets/Theme.h"

#include <QEvent>
#include <QLabel>

namespace {

constexpr const char* kWaitingScan = "等待扫码";
constexpr const char* kWaitingConfirm = "扫码成功，待确认";
constexpr const char* kLoggedIn = "登录成功";

// The QR host's picture of the login URL; when that host failed or sent
// something that is not a picture, the code is drawn here, so login does
// not depend on it.
QImage qrPictureOf(const QrCodeOffer& offer) {
    if (offer.loginUrl.empty()) return {};
    QImage picture = decodePicture(offer.pictureBytes);
    return picture.isNull() ? drawQrCode(offer.loginUrl, LoginPage::kQrSize) : picture;
}

QLabel* label(QWidget* parent, const char* name, const char* text, QRect geometry, int pixelSize) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(Theme::font(pixelSize));
    return label;
}

}  // namespace

LoginPage::LoginPage(Navigation& navigation) : Page(Pages::kLogin, nullptr), navigation_(navigation) {
    QWidget* box = content();
    label(box, "标签_登录账号", "扫码登录网易云账号", {83, 41, 334, 40}, 24);
    qr_ = new PictureBox(box);
    qr_->setObjectName("登录_二维码");
    qr_->setGeometry(122, 100, kQrSize, kQrSize);
    qr_->setCursor(Qt::PointingHandCursor);
    qr_->installEventFilter(this);
    status_ = label(box, "tips2", kWaitingScan, {83, 364, 334, 25}, 16);
}

void LoginPage::followAccount(Account& account) {
    account_ = &account;
    connect(&account, &Account::qrOffered, this, [this](const QrCodeOffer& offer) {
        status_->setText(QString::fromUtf8(kWaitingScan));
        qr_->setPicture(qrPictureOf(offer));
    });
    connect(&account, &Account::qrPolled, this, &LoginPage::showPollResult);
}

void LoginPage::startQrLogin() {
    navigation_.showPage(Pages::kLogin);
    if (account_) account_->startQrLogin();
}

void LoginPage::showPollResult(QrLoginState state) {
    switch (state) {
        case QrLoginState::Expired: onExpired(); return;
        case QrLoginState::WaitingScan: status_->setText(QString::fromUtf8(kWaitingScan)); return;
        case QrLoginState::WaitingConfirm: status_->setText(QString::fromUtf8(kWaitingConfirm)); return;
        case QrLoginState::NoAnswer: return;
        case QrLoginState::LoggedIn: status_->setText(QString::fromUtf8(kLoggedIn)); return;
    }
}

// A new code is fetched only while the user is looking at the page; away
// from it the login ends, and "登录" starts it over.
void LoginPage::onExpired() {
    if (navigation_.currentPage() == Pages::kLogin) {
        account_->endQrLogin();
        account_->startQrLogin();
        return;
    }
    account_->endQrLogin();
}

bool LoginPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qr_ && event->type() == QEvent::MouseButtonRelease) {
        startQrLogin();
        return true;
    }
    return Page::eventFilter(watched, event);
}
