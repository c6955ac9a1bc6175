// Personal FM: the service's FM stream played a few songs ahead. Songs it
// gives are played as the player's own choice (they do not leave FM); a
// play the user starts does. The stream's next song is opened ahead to
// follow the one playing without a gap, as a queued song is.
#include "player/Player.h"

void Player::startFm(const std::string& accountCookie) {
    leaveFm();
    discardFollower();  // it was picked by the queue's mode
    enterFm(accountCookie);
    playNextFm();
}

void Player::enterFm(const std::string& accountCookie) {
    fm_ = FmStream{};
    fm_->cookie = accountCookie;
    ++fmGeneration_;
    emit fmChanged(true);
}

void Player::leaveFm() {
    if (!fm_) return;
    fm_.reset();
    ++fmGeneration_;
    emit fmChanged(false);
}

void Player::playNextFm() {
    if (!fm_) return;
    if (fm_->ahead.empty()) {
        fm_->playWhenFetched = true;
        fetchFm();
        return;
    }
    const std::string songId = fm_->ahead.front();
    fm_->ahead.pop_front();
    if (fm_->ahead.size() < kFmSongsAhead) fetchFm();
    startPlay(songId);
}

std::optional<std::string> Player::nextFmSong() const {
    if (!fm_ || fm_->ahead.empty()) return std::nullopt;
    return fm_->ahead.front();
}

// The FM song has ended: the stream's next song, opened ahead, sounds
// already and takes its place; without one, the next song is fetched.
void Player::endFmSong() {
    if (!follower_ || nextFmSong() != follower_->songId) {
        playNextFm();
        return;
    }
    fm_->ahead.pop_front();
    if (fm_->ahead.size() < kFmSongsAhead) fetchFm();
    promoteFollower();
}

// One request at a time; what it brings after FM was left or started again is dropped.
void Player::fetchFm() {
    if (!fm_ || fm_->fetching) return;
    fm_->fetching = true;
    tasks_.start([this, generation = fmGeneration_, cookie = fm_->cookie] {
        std::vector<SongItem> songs = api_.fetchPersonalFm(cookie);
        runOnUiThread(this, [this, generation, songs = std::move(songs)] {
            if (!fm_ || generation != fmGeneration_) return;
            fm_->fetching = false;
            for (const SongItem& song : songs)
                if (!song.id.empty() && song.id != songId_) fm_->ahead.push_back(song.id);
            // A stream that gives nothing leaves the song that played paused at its end.
            if (fm_->playWhenFetched && !fm_->ahead.empty()) {
                fm_->playWhenFetched = false;
                playNextFm();
            }
        });
    });
}

// The service is told on a task; the next song plays at once either way.
void Player::trashFm() {
    if (!fm_ || songId_.empty()) return;
    tasks_.start([this, songId = songId_, cookie = fm_->cookie] { api_.trashFmSong(songId, cookie); });
    playNextFm();
}
