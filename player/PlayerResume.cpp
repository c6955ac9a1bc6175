// Where listening stands, kept for the next start, and coming back to it.
#include "player/Player.h"

#include <algorithm>

ResumePoint Player::resumePoint() const {
    ResumePoint point;
    point.queue = queue_.ids();
    point.queuePosition = queue_.position();
    point.songId = shownSongId_;
    if (loading_ && arrivals_.resumeAtSeconds) {
        // Still coming back from the last run: where it stood then.
        point.songId = arrivals_.songId;
        point.positionSeconds = *arrivals_.resumeAtSeconds;
    } else if (!shownSongId_.empty()) {
        const double seconds = engine_.bytesToSeconds(stream_, engine_.getPosition(stream_));
        point.positionSeconds = seconds > 0 ? static_cast<int>(seconds) : elapsedSeconds_;
    }
    point.volume = volume_.position();
    point.mode = mode_ ? playModeName(*mode_) : "";
    point.fm = fm_.has_value() && !point.songId.empty();
    return point;
}

void Player::resume(const ResumePoint& point, const std::string& accountCookie) {
    applyStored(point.volume, point.mode);
    if (!point.queue.empty()) appendToQueue(point.queue);
    queue_.setPosition(std::clamp(point.queuePosition, 1, std::max(1, queue_.size())));
    if (point.songId.empty()) return;
    if (point.fm && !accountCookie.empty()) {
        // The stream's next songs are fetched at once: the song resumed is
        // followed as any FM song is.
        enterFm(accountCookie);
        fetchFm();
    }
    startPlay(point.songId);
    arrivals_.resumeAtSeconds = point.positionSeconds;
}
