#include "player/ListeningKeeper.h"

#include "player/Player.h"

#include <QDateTime>

ListeningKeeper::ListeningKeeper(Player& player, const std::string& folder)
    : player_(player), resumePath_(folder + "/resume.json"), history_(folder + "/history.json") {
    player_.keepLyricOffsetsIn(folder + "/lyric-offsets.json");
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &ListeningKeeper::writeResumePoint);
    playing_.setInterval(kPlayingWriteMs);
    connect(&playing_, &QTimer::timeout, this, &ListeningKeeper::writeResumePoint);

    connect(&player_, &Player::songStarted, this, [this](const std::string& songId) {
        history_.add({songId, player_.title(), player_.artists(), QDateTime::currentMSecsSinceEpoch()});
        emit historyChanged();
        settle_.start();
    });
    connect(&player_, &Player::playingChanged, this, [this](bool playing) {
        if (playing)
            playing_.start();
        else
            playing_.stop();
        settle_.start();
    });
    const auto changed = [this] { settle_.start(); };
    connect(&player_, &Player::seeked, this, changed);
    connect(&player_, &Player::modeChanged, this, changed);
    connect(&player_, &Player::volumeChanged, this, changed);
    connect(&player_, &Player::queueChanged, this, changed);
    connect(&player_, &Player::songCleared, this, changed);
    connect(&player_, &Player::fmChanged, this, changed);
}

void ListeningKeeper::resumePlayer(const std::string& accountCookie) {
    if (const std::optional<ResumePoint> point = ResumePoint::read(resumePath_)) player_.resume(*point, accountCookie);
}

void ListeningKeeper::writeResumePoint() {
    settle_.stop();
    player_.resumePoint().write(resumePath_);
}
