#pragma once
// The play queue: every song played is appended once, and next, previous and
// random picks move through it by the play mode. Positions count from 1.
// Safe to use from the UI thread and a play task at once (one mutex guards
// the ids and the position; availability checks run outside it).
#include "player/PlayMode.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class PlayQueue {
public:
    // Yields the seed of one random draw (the low 32 bits of a fast counter).
    using SeedSource = std::function<std::uint32_t()>;
    using AvailabilityCheck = std::function<bool(const std::string& songId)>;

    explicit PlayQueue(SeedSource seed = steadyClockSeed);

    // Appends an id unless it is queued already; true when it was appended.
    bool append(const std::string& id);
    void appendAll(const std::vector<std::string>& ids);
    // Empties the queue and moves the position back to 1.
    void clear();

    std::vector<std::string> ids() const;
    int size() const;
    int position() const;
    void setPosition(int position);

    // A position drawn at random, 1..size (0 for an empty queue).
    int randomPick() const;
    // The id at a random position, if any is queued.
    std::optional<std::string> randomSong() const;

    // Steps forward (wrapping to 1) and returns the song to play: the one at
    // the new position, or a random one in Random mode. Songs the check finds
    // unavailable are skipped; after trying every queued song once without
    // success the result is empty. An empty queue has no next song either.
    std::optional<std::string> next(std::optional<PlayMode> mode, const AvailabilityCheck& isAvailable);

    // The song a List-mode step forward would play, and the position it
    // would move to, without moving: for opening that song ahead of time.
    // Songs the check finds unavailable are passed over as next() does.
    struct Step {
        std::string id;
        int position = 0;
    };
    std::optional<Step> following(const AvailabilityCheck& isAvailable) const;

    // Steps back (wrapping to the last) and returns the song to play; empty
    // for an empty queue. No availability check.
    std::optional<std::string> previous(std::optional<PlayMode> mode);

    static std::uint32_t steadyClockSeed();

private:
    int randomPickLocked() const;
    // The position after `position` in a queue of `count`, wrapping to 1.
    static int positionAfter(int position, int count);
    std::string stepForwardLocked(std::optional<PlayMode> mode);

    SeedSource seed_;
    mutable std::mutex mutex_;
    std::vector<std::string> ids_;  // guarded by mutex_
    int position_ = 1;              // guarded by mutex_
};
