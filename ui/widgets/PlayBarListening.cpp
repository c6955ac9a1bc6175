// The play bar's listener controls: the heart of the song shown and the
// personal FM look.
#include "browse/LikedSongs.h"
#include "ui/widgets/PlayBar.h"
#include "ui/widgets/PlayBarButton.h"
#include "ui/widgets/PlayBarIcons.h"
#include "ui/widgets/Theme.h"
#include "ui/windows/AccountNotices.h"

#include <QLabel>

namespace {

constexpr QSize kSmallButton(35, 35);
constexpr QSize kSmallIcon(22, 22);

}  // namespace

void PlayBar::showListening(LikedSongs& liked) {
    liked_ = &liked;
    // The title and artists make room for the heart at their end.
    title_->resize(262, title_->height());
    artists_->resize(262, artists_->height());
    heart_ = new PlayBarButton(PlayBarIcons::render(PlayBarIcon::Heart, kSmallIcon),
                               PlayBarIcons::render(PlayBarIcon::Heart, kSmallIcon, true), this);
    heart_->setObjectName("播放栏_喜欢");
    heart_->setGeometry(QRect(QPoint(405, 26), kSmallButton));
    heart_->setToolTip("喜欢");
    heart_->hide();

    trash_ = new PlayBarButton(PlayBarIcons::render(PlayBarIcon::Trash, {24, 24}), this);
    trash_->setObjectName("播放栏_不喜欢");
    trash_->setGeometry(previous_->geometry());
    trash_->setToolTip("不喜欢");
    trash_->hide();

    fmBadge_ = new QLabel("私人FM", this);
    fmBadge_->setObjectName("播放栏_私人FM");
    fmBadge_->setGeometry(690, 26, 115, 35);
    fmBadge_->setAlignment(Qt::AlignCenter);
    fmBadge_->setFont(Theme::font(14, QFont::Medium));
    fmBadge_->setStyleSheet(
        QString("color: %1; background: %2; border-radius: 17px;")
            .arg(QColor::fromRgba(Theme::kAccent).name(), QColor::fromRgba(Theme::kInputBackground).name()));
    fmBadge_->hide();

    connect(heart_, &QAbstractButton::clicked, this, [this] {
        if (!liked_->toggle(player_.currentSongId())) MessageBoxWindow::show(kLoginNeededNotice);
    });
    connect(trash_, &QAbstractButton::clicked, &player_, &Player::trashFm);
    connect(liked_, &LikedSongs::changed, this, &PlayBar::showHeart);
    connect(liked_, &LikedSongs::toggleFailed, this, [] { MessageBoxWindow::show(kChangeFailedNotice); });
    connect(&player_, &Player::songChanged, this, &PlayBar::showHeart);
    connect(&player_, &Player::songCleared, this, &PlayBar::showHeart);
    connect(&player_, &Player::fmChanged, this, &PlayBar::showFm);
    showHeart();
    showFm(player_.inFm());
}

void PlayBar::showHeart() {
    const std::string& song = player_.currentSongId();
    heart_->setVisible(!song.empty());
    heart_->showSecond(liked_->contains(song));
    heart_->setToolTip(liked_->contains(song) ? "取消喜欢" : "喜欢");
}

void PlayBar::showFm(bool on) {
    previous_->setVisible(!on);
    trash_->setVisible(on);
    for (PlayBarButton* button : modeButtons_) button->setVisible(!on);
    fmBadge_->setVisible(on);
}

QWidget* PlayBar::heartButton() const { return heart_; }
QWidget* PlayBar::trashButton() const { return trash_; }
QWidget* PlayBar::fmBadge() const { return fmBadge_; }
