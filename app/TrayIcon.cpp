#include "app/TrayIcon.h"

#include "player/Player.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace {

QString songCaption(const Player& player) {
    if (player.currentSongId().empty()) return "未在播放";
    return QString::fromStdString(player.title() + " - " + player.artists());
}

}  // namespace

TrayIcon::TrayIcon(Player& player, const QMenu& look, std::function<void()> showWindow, std::function<void()> quit)
    : player_(player),
      showWindow_(std::move(showWindow)),
      menu_(std::make_unique<QMenu>()),
      icon_(new QSystemTrayIcon(this)) {
    menu_->setObjectName("TrayMenu");
    menu_->setFont(look.font());
    menu_->setStyleSheet(look.styleSheet());
    song_ = menu_->addAction(songCaption(player));
    song_->setEnabled(false);
    menu_->addSeparator();
    playPause_ = menu_->addAction("播放", &player, &Player::togglePlay);
    menu_->addAction("上一首", &player, &Player::previous);
    menu_->addAction("下一首", &player, &Player::next);
    menu_->addSeparator();
    menu_->addAction("显示主界面", this, [this] { showWindow_(); });
    menu_->addAction("退出", std::move(quit));

    icon_->setIcon(QApplication::windowIcon());
    icon_->setToolTip("Mivra Music");
    icon_->setContextMenu(menu_.get());
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) showWindow_();
    });
    followPlayer();
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::showIfAvailable() {
    if (QSystemTrayIcon::isSystemTrayAvailable()) icon_->show();
}

// Play/pause only while a song is shown and not loading, as on the play bar.
void TrayIcon::followPlayer() {
    auto update = [this] {
        playPause_->setText(player_.isPlaying() ? "暂停" : "播放");
        playPause_->setEnabled(!player_.currentSongId().empty() && !player_.isLoading());
        song_->setText(songCaption(player_));
        icon_->setToolTip(player_.currentSongId().empty() ? "Mivra Music" : song_->text());
    };
    connect(&player_, &Player::playingChanged, this, update);
    connect(&player_, &Player::loadingChanged, this, update);
    connect(&player_, &Player::songChanged, this, update);
    connect(&player_, &Player::songCleared, this, update);
    update();
}
