#include "player/PlayQueue.h"

#include <algorithm>
#include <chrono>

PlayQueue::PlayQueue(SeedSource seed) : seed_(std::move(seed)) {}

std::uint32_t PlayQueue::steadyClockSeed() {
    return static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

bool PlayQueue::append(const std::string& id) {
    std::lock_guard lock(mutex_);
    if (std::find(ids_.begin(), ids_.end(), id) != ids_.end()) return false;
    ids_.push_back(id);
    return true;
}

void PlayQueue::appendAll(const std::vector<std::string>& ids) {
    for (const std::string& id : ids) append(id);
}

void PlayQueue::clear() {
    std::lock_guard lock(mutex_);
    ids_.clear();
    position_ = 1;
}

std::vector<std::string> PlayQueue::ids() const {
    std::lock_guard lock(mutex_);
    return ids_;
}

int PlayQueue::size() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(ids_.size());
}

int PlayQueue::position() const {
    std::lock_guard lock(mutex_);
    return position_;
}

void PlayQueue::setPosition(int position) {
    std::lock_guard lock(mutex_);
    position_ = position;
}

int PlayQueue::randomPick() const {
    std::lock_guard lock(mutex_);
    return randomPickLocked();
}

int PlayQueue::randomPickLocked() const {
    std::uint32_t n = static_cast<std::uint32_t>(ids_.size());
    if (n <= 1) return static_cast<int>(n);
    // One step of the classic linear congruential generator, freshly seeded.
    std::uint32_t v = ((seed_() * 214013u + 2531011u) >> 16) & 0x7FFFu;
    return static_cast<int>(1 + v % n);
}

std::optional<std::string> PlayQueue::randomSong() const {
    std::lock_guard lock(mutex_);
    if (ids_.empty()) return std::nullopt;
    return ids_[randomPickLocked() - 1];
}

int PlayQueue::positionAfter(int position, int count) { return position == count ? 1 : std::min(position + 1, count); }

std::string PlayQueue::stepForwardLocked(std::optional<PlayMode> mode) {
    position_ = positionAfter(position_, static_cast<int>(ids_.size()));
    return songAtPositionLocked(mode);
}

std::string PlayQueue::songAtPositionLocked(std::optional<PlayMode> mode) {
    if (mode == PlayMode::Random) position_ = randomPickLocked();
    return ids_[static_cast<size_t>(position_) - 1];
}

std::optional<std::string> PlayQueue::next(std::optional<PlayMode> mode, const AvailabilityCheck& isAvailable) {
    int attempts;
    {
        std::lock_guard lock(mutex_);
        attempts = static_cast<int>(ids_.size());
    }
    for (int i = 0; i < attempts; ++i) {
        std::string candidate;
        {
            // The queue may have been cleared while a song was checked.
            std::lock_guard lock(mutex_);
            if (ids_.empty()) return std::nullopt;
            candidate = stepForwardLocked(mode);
        }
        if (isAvailable(candidate)) return candidate;
    }
    return std::nullopt;
}

std::optional<PlayQueue::Step> PlayQueue::following(const AvailabilityCheck& isAvailable) const {
    int attempts;
    int position;
    {
        std::lock_guard lock(mutex_);
        attempts = static_cast<int>(ids_.size());
        position = position_;
    }
    for (int i = 0; i < attempts; ++i) {
        Step step;
        {
            std::lock_guard lock(mutex_);
            if (ids_.empty()) return std::nullopt;
            position = positionAfter(position, static_cast<int>(ids_.size()));
            step = {ids_[static_cast<size_t>(position) - 1], position};
        }
        if (isAvailable(step.id)) return step;
    }
    return std::nullopt;
}

std::optional<std::string> PlayQueue::previous(std::optional<PlayMode> mode) {
    std::lock_guard lock(mutex_);
    if (ids_.empty()) return std::nullopt;
    int count = static_cast<int>(ids_.size());
    position_ = position_ == 1 ? count : std::clamp(position_ - 1, 1, count);
    return songAtPositionLocked(mode);
}

void PlayQueue::replace(const std::vector<std::string>& ids) {
    {
        std::lock_guard lock(mutex_);
        ids_.clear();
        position_ = 1;
    }
    appendAll(ids);
}

std::optional<int> PlayQueue::positionOf(const std::string& id) const {
    std::lock_guard lock(mutex_);
    const auto found = std::find(ids_.begin(), ids_.end(), id);
    if (found == ids_.end()) return std::nullopt;
    return static_cast<int>(found - ids_.begin()) + 1;
}

bool PlayQueue::makeCurrent(const std::string& id) {
    std::lock_guard lock(mutex_);
    const auto found = std::find(ids_.begin(), ids_.end(), id);
    const bool appended = found == ids_.end();
    if (appended) ids_.push_back(id);
    position_ = appended ? static_cast<int>(ids_.size()) : static_cast<int>(found - ids_.begin()) + 1;
    return appended;
}

bool PlayQueue::remove(int position) {
    std::lock_guard lock(mutex_);
    const int count = static_cast<int>(ids_.size());
    if (position < 1 || position > count) return false;
    ids_.erase(ids_.begin() + (position - 1));
    if (position <= position_) --position_;
    // Before the first song: next wraps round to it.
    if (position_ < 1) position_ = std::max(1, count - 1);
    return true;
}

bool PlayQueue::move(int from, int to) {
    std::lock_guard lock(mutex_);
    return moveLocked(from, to);
}

bool PlayQueue::moveLocked(int from, int to) {
    const int count = static_cast<int>(ids_.size());
    if (from < 1 || from > count || to < 1 || to > count) return false;
    std::string id = std::move(ids_[static_cast<size_t>(from) - 1]);
    ids_.erase(ids_.begin() + (from - 1));
    ids_.insert(ids_.begin() + (to - 1), std::move(id));
    if (position_ == from)
        position_ = to;
    else if (from < position_ && to >= position_)
        --position_;
    else if (from > position_ && to <= position_)
        ++position_;
    return true;
}

bool PlayQueue::moveAfterCurrent(int position) {
    std::lock_guard lock(mutex_);
    if (position == position_) return false;
    // Taking out a song before the current one moves the current one up.
    return moveLocked(position, position < position_ ? position_ : position_ + 1);
}
