#include "app/ScrobbleFeed.h"

#include "player/Player.h"
#include "scrobble/Scrobbler.h"

#include <QDateTime>

ScrobbleFeed::ScrobbleFeed(Player& player, Scrobbler& scrobbler) : player_(player), scrobbler_(scrobbler) {
    connect(&player_, &Player::songStarted, this, [this] {
        lastTicks_ = 0;
        Listen listen;
        listen.artist = player_.artists();
        listen.title = player_.title();
        listen.album = player_.album();
        listen.durationMs = std::int64_t(player_.lengthSeconds()) * 1000;
        listen.listenedAt = QDateTime::currentSecsSinceEpoch();
        scrobbler_.songStarted(listen, player_.lengthSeconds());
    });
    connect(&player_, &Player::progressChanged, this, [this](int ticks, int) { onProgress(ticks); });
    connect(&player_, &Player::songCleared, this, [this] { scrobbler_.songStopped(); });
}

void ScrobbleFeed::onProgress(int ticks) {
    if (ticks == lastTicks_ + 1) scrobbler_.secondPlayed();
    lastTicks_ = ticks;
}
