// The queue as pages and the play-list window change it: a list played as
// a whole, and songs taken out, moved or put next.
#include "player/Player.h"

void Player::playList(const std::vector<std::string>& songIds, int index) {
    if (index < 0 || index >= static_cast<int>(songIds.size())) return;
    const std::string& chosen = songIds[static_cast<size_t>(index)];
    if (chosen.empty()) return;
    leaveFm();
    queue_.replace(songIds);
    queue_.setPosition(queue_.positionOf(chosen).value_or(1));
    emit queueChanged();
    startPlay(chosen);
}

void Player::removeQueued(int position) { afterQueueEdit(queue_.remove(position)); }

void Player::moveQueued(int from, int to) { afterQueueEdit(queue_.move(from, to)); }

void Player::playQueuedNext(int position) { afterQueueEdit(queue_.moveAfterCurrent(position)); }

// A song opened ahead in List mode was the queue's next; it may not be now.
void Player::afterQueueEdit(bool changed) {
    if (!changed) return;
    if (follower_ && follower_->queuePosition) discardFollower();
    emit queueChanged();
}
