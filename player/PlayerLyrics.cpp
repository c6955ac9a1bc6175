// How the player follows a song's lyrics: by the audio position, moved by
// the song's lyric offset, with the lyric timer set for the next change.
#include "player/Player.h"

#include "audio/StreamActivity.h"
#include "player/LyricSchedule.h"

#include <cmath>

std::optional<int> Player::lyricPositionMs() const {
    const int64_t position = engine_.getPosition(stream_);
    if (position < 0) return std::nullopt;
    const double seconds = engine_.bytesToSeconds(stream_, position);
    if (!(seconds >= 0)) return std::nullopt;
    return static_cast<int>(std::floor(seconds * 1000.0)) + lyricOffsetMs_;
}

void Player::tickLyrics() {
    const std::optional<int> lyricMs = lyricPositionMs();
    // Without a stream position there is no current line to show.
    if (lyricMs) {
        const LyricTick tick = lyrics_->tick(std::max(0, *lyricMs / 1000));
        // The same line comes at every tick while it lasts; only a change is news.
        if (tick.desktopText && *tick.desktopText != desktopLyric_) {
            desktopLyric_ = *tick.desktopText;
            emit desktopLyricChanged(QString::fromStdString(desktopLyric_));
        }
        if (tick.selectedItem) emit lyricSelected(*tick.selectedItem);
        if (const std::optional<int> line = words_->lineAt(*lyricMs)) {
            const std::pair<int, double> fill{*line, words_->fillAt(*line, *lyricMs)};
            if (fill != wordFill_) {
                wordFill_ = fill;
                emit wordFillChanged(fill.first, fill.second);
            }
        }
    }
    const int activity = engine_.isActive(stream_);
    if (activity == StreamActivity::kStopped) {
        lyricTimer_.stop();
    } else if (lyricTimer_.isActive()) {
        // A paused song has nothing coming: the timer only looks in now and then.
        lyricTimer_.start(lyricMs && activity == StreamActivity::kPlaying
                              ? LyricSchedule::msUntilNextChange(*lyricMs, *words_)
                              : LyricSchedule::kLongestWaitMs);
    }
}

void Player::shiftLyrics(int steps) {
    if (shownSongId_.empty() || steps == 0) return;
    lyricOffsetMs_ = lyricOffsets_.set(shownSongId_, lyricOffsetMs_ + steps * LyricOffsets::kStepMs);
    emit lyricOffsetChanged(lyricOffsetMs_);
    tickLyrics();
}
