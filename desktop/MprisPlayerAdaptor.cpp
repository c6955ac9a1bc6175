#include "desktop/MprisPlayerAdaptor.h"

#include "player/Player.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

constexpr qlonglong kMicroseconds = 1000000;

}  // namespace

MprisPlayerAdaptor::MprisPlayerAdaptor(QObject* parent, Player& player)
    : QDBusAbstractAdaptor(parent), player_(player) {}

bool MprisPlayerAdaptor::hasSong() const { return !player_.currentSongId().empty(); }

bool MprisPlayerAdaptor::canGoPrevious() const { return !player_.inFm(); }

bool MprisPlayerAdaptor::canSeek() const { return hasSong() && player_.lengthSeconds() > 0; }

QString MprisPlayerAdaptor::playbackStatus() const {
    if (player_.isPlaying()) return "Playing";
    return hasSong() ? "Paused" : "Stopped";
}

QString MprisPlayerAdaptor::loopStatus() const {
    const std::optional<PlayMode> mode = player_.mode();
    if (!mode) return "None";
    return *mode == PlayMode::Circulate ? "Track" : "Playlist";
}

// "Playlist" while shuffling keeps the shuffle on.
void MprisPlayerAdaptor::setLoopStatus(const QString& status) {
    if (status == "Track")
        player_.setMode(PlayMode::Circulate);
    else if (status == "Playlist" && !shuffle())
        player_.setMode(PlayMode::List);
}

bool MprisPlayerAdaptor::shuffle() const { return player_.mode() == PlayMode::Random; }

// Shuffle off goes back to the list in order.
void MprisPlayerAdaptor::setShuffle(bool on) {
    if (on)
        player_.setMode(PlayMode::Random);
    else if (shuffle())
        player_.setMode(PlayMode::List);
}

QDBusObjectPath MprisPlayerAdaptor::trackId() const {
    static const QRegularExpression plain("^[A-Za-z0-9_]+$");
    const QString id = QString::fromStdString(player_.currentSongId());
    if (!plain.match(id).hasMatch()) return QDBusObjectPath(kNoTrack);
    return QDBusObjectPath("/org/mivra/track/" + id);
}

qlonglong MprisPlayerAdaptor::lengthMicroseconds() const { return qlonglong(player_.lengthSeconds()) * kMicroseconds; }

QVariantMap MprisPlayerAdaptor::metadata() const {
    QVariantMap map{{"mpris:trackid", QVariant::fromValue(trackId())}};
    if (!hasSong()) return map;
    map.insert("xesam:title", QString::fromStdString(player_.title()));
    map.insert("xesam:artist", QStringList{QString::fromStdString(player_.artists())});
    map.insert("xesam:album", QString::fromStdString(player_.album()));
    if (player_.lengthSeconds() > 0) map.insert("mpris:length", lengthMicroseconds());
    // Percent-encoded, so a cover folder with spaces or Chinese in its path
    // is still a valid URI for the clients that parse it strictly.
    if (!coverUrl_.isEmpty()) map.insert("mpris:artUrl", coverUrl_.toString(QUrl::FullyEncoded));
    // A line with its translation holds both, one under the other; the
    // padding of lines without one is left out.
    QStringList lyrics;
    for (const LyricItem& item : player_.lyrics().items())
        for (const QString& part : QString::fromStdString(item.text).split("\r\n"))
            if (!part.trimmed().isEmpty()) lyrics.append(part.trimmed());
    if (!lyrics.isEmpty()) map.insert("xesam:asText", lyrics.join('\n'));
    if (!player_.desktopLyric().empty())
        map.insert("mivra:lyricLine", QString::fromStdString(player_.desktopLyric()).replace("\r\n", "\n"));
    return map;
}

double MprisPlayerAdaptor::volume() const { return player_.volume() / 100.0; }

void MprisPlayerAdaptor::setVolume(double volume) {
    if (std::isnan(volume)) return;
    player_.setVolume(int(std::lround(std::clamp(volume, 0.0, 1.0) * 100)));
}

qlonglong MprisPlayerAdaptor::position() const {
    return std::min(qlonglong(player_.progressTicks()) * kMicroseconds, lengthMicroseconds());
}

void MprisPlayerAdaptor::Next() { player_.next(); }

void MprisPlayerAdaptor::Previous() { player_.previous(); }

// While a play loads there is nothing to pause or resume yet.
void MprisPlayerAdaptor::Pause() {
    if (player_.isPlaying()) player_.togglePlay();
}

void MprisPlayerAdaptor::Play() {
    if (hasSong() && !player_.isPlaying() && !player_.isLoading()) player_.togglePlay();
}

void MprisPlayerAdaptor::PlayPause() {
    if (player_.isPlaying())
        Pause();
    else
        Play();
}

// Stopping pauses the song and goes back to its start.
void MprisPlayerAdaptor::Stop() {
    Pause();
    if (canSeek()) player_.seek(0);
}

// Seeking past the end goes on to the next song; before the start, to the start.
void MprisPlayerAdaptor::Seek(qlonglong offset) {
    if (!canSeek()) return;
    const qlonglong target = std::max<qlonglong>(0, position() + offset);
    if (target > lengthMicroseconds())
        player_.next();
    else
        seekTo(target);
}

// Only for the song shown and a position within it.
void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position) {
    if (!canSeek() || trackId != this->trackId() || position < 0 || position > lengthMicroseconds()) return;
    seekTo(position);
}

void MprisPlayerAdaptor::seekTo(qlonglong microseconds) { player_.seek(int(microseconds / kMicroseconds)); }
