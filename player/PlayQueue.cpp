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
    if (mode == PlayMode::Random) return ids_[randomPickLocked() - 1];
    return ids_[position_ - 1];
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
    if (mode == PlayMode::Random) return ids_[randomPickLocked() - 1];
    return ids_[position_ - 1];
}
