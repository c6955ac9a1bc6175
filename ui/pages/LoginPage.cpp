#include "ui/pages/LoginPage.h"

#include "api/CloudApiClient.h"
#include "ui/widgets/PictureBox.h"
#include "ui/pictures/PictureDecoder.h"
#include "ui/widgets/QrCodePicture.h"
#include "ui/widgets/Theme.h"

#include <QEvent>
#include <QLabel>
#include <QPointer>

namespace {

constexpr const char* kWaitingScan = "等待扫码";
constexpr const char* kWaitingConfirm = "扫码成功，待确认";
constexpr const char* kLoggedIn = "登录成功";

struct QrCode {
    std::string key;
    QImage picture;  // null when there is no key or no login URL
};

// The key, its login URL and the QR picture of that URL. The picture comes
// from the QR image host; when that host fails or sends something that is
// not a picture, the code is drawn here, so login does not depend on it.
QrCode fetchQrCode(const CloudApiClient& client) {
    QrCode code{client.qrCreateKey(), {}};
    if (code.key.empty()) return code;
    const std::string loginUrl = client.qrCreateUrl(code.key);
    if (loginUrl.empty()) return code;
    code.picture = decodePicture(client.fetchQrPicture(loginUrl));
    if (code.picture.isNull()) code.picture = drawQrCode(loginUrl, LoginPage::kQrSize);
    return code;
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

    pollTimer_.setObjectName("时钟_二维码回调");
    connect(&pollTimer_, &QTimer::timeout, this, &LoginPage::pollQrLogin);
}

void LoginPage::startQrLogin() {
    navigation_.showPage(Pages::kLogin);
    const CloudApiClient* client = navigation_.catalogue();
    if (busy_ || !client) return;
    busy_ = true;
    const QPointer<LoginPage> alive(this);
    QrCode code = tasks_.runPumping([client] { return fetchQrCode(*client); });
    if (!alive) return;
    busy_ = false;
    qrKey_ = code.key;
    status_->setText(QString::fromUtf8(kWaitingScan));
    qr_->setPicture(code.picture);
    if (code.picture.isNull()) {
        pollTimer_.stop();
        return;
    }
    pollTimer_.start(kPollIntervalMs);
}

void LoginPage::pollQrLogin() {
    const CloudApiClient* client = navigation_.catalogue();
    if (busy_ || !client || qrKey_.empty()) return;
    busy_ = true;
    const QPointer<LoginPage> alive(this);
    const QrPollResult result = tasks_.runPumping([client, key = qrKey_] { return client->qrPoll(key); });
    if (!alive) return;
    busy_ = false;
    switch (result.state) {
        case QrLoginState::Expired: onExpired(); return;
        case QrLoginState::WaitingScan: status_->setText(QString::fromUtf8(kWaitingScan)); return;
        case QrLoginState::WaitingConfirm: status_->setText(QString::fromUtf8(kWaitingConfirm)); return;
        case QrLoginState::NoAnswer: return;
        case QrLoginState::LoggedIn:
            // A "logged in" answer without a cookie would log in nobody:
            // keep waiting for a real one.
            if (result.cookie.empty()) return;
            pollTimer_.stop();
            qrKey_.clear();
            status_->setText(QString::fromUtf8(kLoggedIn));
            emit loggedIn(result.cookie);
            return;
    }
}

// A new code is fetched only while the user is looking at the page; away
// from it the login ends, and "登录" starts it over.
void LoginPage::onExpired() {
    if (navigation_.currentPage() == Pages::kLogin) {
        startQrLogin();
        return;
    }
    pollTimer_.stop();
    qrKey_.clear();
}

bool LoginPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qr_ && event->type() == QEvent::MouseButtonRelease) {
        startQrLogin();
        return true;
    }
    return Page::eventFilter(watched, event);
}
