#include "ui/windows/ScrobbleSettingsWindow.h"

#include "scrobble/ScrobbleSettings.h"
#include "ui/widgets/Theme.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* field(const char* name, const std::string& text, bool secret = false) {
    auto* edit = new QLineEdit(QString::fromStdString(text));
    edit->setObjectName(QString::fromUtf8(name));
    edit->setMinimumWidth(320);
    if (secret) edit->setEchoMode(QLineEdit::Password);
    return edit;
}

}  // namespace

ScrobbleSettingsWindow::ScrobbleSettingsWindow(AppSettings settings, ScrobbleOrigins origins, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(std::move(settings)), origins_(std::move(origins)) {
    setObjectName("听歌记录窗口");
    setWindowTitle(QString::fromUtf8("听歌记录"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(Theme::font(14));
    const ScrobbleSettings stored = ScrobbleSettings::read(settings_);
    sessionKey_ = stored.lastFmAccount.sessionKey;

    auto* layout = new QVBoxLayout(this);
    auto* lb = new QGroupBox("ListenBrainz");
    auto* lbForm = new QFormLayout(lb);
    listenBrainz_ = new QCheckBox(QString::fromUtf8("发送听歌记录"));
    listenBrainz_->setObjectName("听歌记录_ListenBrainz");
    listenBrainz_->setChecked(stored.listenBrainz);
    token_ = field("听歌记录_令牌", stored.listenBrainzToken, true);
    lbForm->addRow(listenBrainz_);
    lbForm->addRow(QString::fromUtf8("用户令牌"), token_);
    layout->addWidget(lb);

    auto* lf = new QGroupBox("Last.fm");
    auto* lfForm = new QFormLayout(lf);
    lastFm_ = new QCheckBox(QString::fromUtf8("发送听歌记录"));
    lastFm_->setObjectName("听歌记录_LastFm");
    lastFm_->setChecked(stored.lastFm);
    apiKey_ = field("听歌记录_API_Key", stored.lastFmAccount.apiKey);
    secret_ = field("听歌记录_Secret", stored.lastFmAccount.secret, true);
    user_ = field("听歌记录_用户名", "");
    password_ = field("听歌记录_密码", "", true);
    logIn_ = new QPushButton(QString::fromUtf8("登录 Last.fm"));
    logIn_->setObjectName("听歌记录_登录");
    lastFmStatus_ = new QLabel;
    lastFmStatus_->setObjectName("听歌记录_状态");
    lfForm->addRow(lastFm_);
    lfForm->addRow("API key", apiKey_);
    lfForm->addRow("Shared secret", secret_);
    lfForm->addRow(QString::fromUtf8("用户名"), user_);
    lfForm->addRow(QString::fromUtf8("密码"), password_);
    lfForm->addRow(logIn_, lastFmStatus_);
    layout->addWidget(lf);
    showLastFmSession();

    for (QCheckBox* box : {listenBrainz_, lastFm_})
        connect(box, &QCheckBox::toggled, this, &ScrobbleSettingsWindow::store);
    for (QLineEdit* edit : {token_, apiKey_, secret_})
        connect(edit, &QLineEdit::editingFinished, this, &ScrobbleSettingsWindow::store);
    connect(logIn_, &QPushButton::clicked, this, &ScrobbleSettingsWindow::logInToLastFm);
}

void ScrobbleSettingsWindow::store() {
    ScrobbleSettings chosen;
    chosen.listenBrainz = listenBrainz_->isChecked();
    chosen.listenBrainzToken = token_->text().trimmed().toStdString();
    chosen.lastFm = lastFm_->isChecked();
    chosen.lastFmAccount = {apiKey_->text().trimmed().toStdString(), secret_->text().trimmed().toStdString(),
                            sessionKey_};
    chosen.write(settings_);
    emit accountChanged();
}

void ScrobbleSettingsWindow::logInToLastFm() {
    const LastFmAccount account{apiKey_->text().trimmed().toStdString(), secret_->text().trimmed().toStdString(), {}};
    if (account.apiKey.empty() || account.secret.empty() || user_->text().isEmpty()) {
        lastFmStatus_->setText(QString::fromUtf8("请先填写 API key、Shared secret 和用户名"));
        return;
    }
    logIn_->setEnabled(false);
    lastFmStatus_->setText(QString::fromUtf8("正在登录…"));
    tasks_.start([this, origin = origins_.lastFm, account, user = user_->text().toStdString(),
                  password = password_->text().toStdString()] {
        std::string error;
        const std::string session = LastFm::mobileSession(origin, account, user, password, &error);
        runOnUiThread(this, [this, session, error] {
            logIn_->setEnabled(true);
            password_->clear();
            if (session.empty()) {
                lastFmStatus_->setText(QString::fromUtf8("登录失败：") + QString::fromStdString(error));
                return;
            }
            sessionKey_ = session;
            store();
            showLastFmSession();
        });
    });
}

void ScrobbleSettingsWindow::showLastFmSession() {
    lastFmStatus_->setText(sessionKey_.empty() ? QString::fromUtf8("未登录") : QString::fromUtf8("已登录"));
}
