#include "desktop/MprisService.h"

#include "desktop/MprisNames.h"
#include "desktop/MprisPlayerAdaptor.h"
#include "desktop/MprisRootAdaptor.h"
#include "player/Player.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

MprisService::MprisService(Player& player, Window window, const QString& coverFolder, QDBusConnection bus)
    : bus_(std::move(bus)), cover_(coverFolder) {
    new MprisRootAdaptor(this, std::move(window.raise), std::move(window.quit));
    playerAdaptor_ = new MprisPlayerAdaptor(this, player);
    follow(player);
    if (!bus_.isConnected()) return;
    if (!bus_.registerObject(kMprisPath, this, QDBusConnection::ExportAdaptors)) return;
    registered_ = bus_.registerService(kMprisService);
    if (!registered_) bus_.unregisterObject(kMprisPath);
}

MprisService::~MprisService() {
    if (!registered_) return;
    bus_.unregisterService(kMprisService);
    bus_.unregisterObject(kMprisPath);
}

void MprisService::follow(Player& player) {
    const QStringList songProperties{"Metadata", "PlaybackStatus", "CanPlay", "CanPause", "CanSeek"};
    connect(&player, &Player::songChanged, this, [this, &player, songProperties] {
        playerAdaptor_->setCoverUrl(cover_.urlFor(QString::fromStdString(player.currentSongId())));
        announce(songProperties);
    });
    connect(&player, &Player::songCleared, this, [this, songProperties] {
        cover_.remove();
        playerAdaptor_->setCoverUrl({});
        announce(songProperties);
    });
    connect(&player, &Player::coverChanged, this, [this, &player](const QByteArray& bytes) {
        playerAdaptor_->setCoverUrl(cover_.store(QString::fromStdString(player.currentSongId()), bytes));
        announce({"Metadata"});
    });
    connect(&player, &Player::lengthChanged, this, [this] { announce({"Metadata", "CanSeek"}); });
    connect(&player, &Player::playingChanged, this, [this] { announce({"PlaybackStatus"}); });
    connect(&player, &Player::modeChanged, this, [this] { announce({"LoopStatus", "Shuffle"}); });
    connect(&player, &Player::volumeChanged, this, [this] { announce({"Volume"}); });
    connect(&player, &Player::lyricsChanged, this, [this] { announce({"Metadata"}); });
    connect(&player, &Player::desktopLyricChanged, this, [this] { announce({"Metadata"}); });
    connect(&player, &Player::fmChanged, this, [this] { announce({"CanGoPrevious"}); });
    connect(&player, &Player::seeked, this, [this] { emit playerAdaptor_->Seeked(playerAdaptor_->position()); });
}

void MprisService::announce(const QStringList& properties) {
    if (!registered_) return;
    QVariantMap changed;
    for (const QString& name : properties) changed.insert(name, playerAdaptor_->property(name.toUtf8().constData()));
    QDBusMessage signal =
        QDBusMessage::createSignal(kMprisPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
    signal << QString(kMprisPlayerInterface) << changed << QStringList();
    bus_.send(signal);
}
