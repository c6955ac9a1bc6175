// The song that was playing while a new play loads: kept paused, so a play
// that fails leaves the player where it was instead of silent and empty.
#include "player/Player.h"

void Player::parkStream() {
    // A play superseded before it started: what was parked for it stays.
    if (stream_ == 0) return;
    freeParked();
    engine_.pause(stream_);
    playTimer_.stop();
    endCheckTimer_.stop();
    parked_ = Parked{.stream = std::exchange(stream_, 0),
                     .songId = shownSongId_,
                     .title = title_,
                     .artists = artists_,
                     .album = album_,
                     .mvId = mvId_,
                     .coverBytes = coverBytes_,
                     .lengthSeconds = lengthSeconds_,
                     .progressTicks = progressTicks_,
                     .elapsedSeconds = elapsedSeconds_};
    mvId_ = kNoMv;
    emit mvAvailableChanged(false);
}

// Shown again as it was, paused where it stood, and the queue's current song.
void Player::unparkStream() {
    if (!parked_ || stream_ != 0 || loading_) return;
    Parked song = std::move(*parked_);
    parked_.reset();
    stream_ = song.stream;
    songId_ = shownSongId_ = song.songId;
    title_ = song.title;
    artists_ = song.artists;
    album_ = song.album;
    coverBytes_ = song.coverBytes;
    if (!songId_.empty() && queue_.makeCurrent(songId_)) emit queueChanged();
    emit songChanged(QString::fromStdString(title_), QString::fromStdString(artists_));
    emit coverChanged(QByteArray::fromStdString(coverBytes_));
    lengthSeconds_ = song.lengthSeconds;
    emit lengthChanged(lengthSeconds_);
    setProgress(song.progressTicks, song.elapsedSeconds);
    mvId_ = song.mvId;
    emit mvAvailableChanged(mvId_ != kNoMv);
    setPlaying(false);
    endCheckTimer_.start(kEndCheckMs);
}

void Player::freeParked() {
    if (!parked_) return;
    rememberLoudness(parked_->stream, parked_->songId, parked_->album);
    engine_.freeStream(parked_->stream);
    parked_.reset();
}
