#pragma once
// The play queue: the songs to play in order, each at most once, and the
// position of the song playing. A list played from a page replaces it; a
// single song played joins it once and becomes the current one. Next,
// previous and random picks move the position by the play mode; the songs
// before the position have been played, those after it are to come.
// Positions count from 1.
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
    // The queue becomes `ids` (the first of each id kept, in order) with the
    // position at 1.
    void replace(const std::vector<std::string>& ids);

    // The position of `id`; empty when it is not queued.
    std::optional<int> positionOf(const std::string& id) const;
    // Moves the position to `id`, appending it first when it is not queued;
    // true when it was appended.
    bool makeCurrent(const std::string& id);

    // Editing keeps the position on the song it stands at. Each is false,
    // changing nothing, for a position outside the queue.
    // Takes out the song at `position`. When that is the current song, the
    // position moves to the song before it, so next plays the one after.
    bool remove(int position);
    // Moves the song at `from` to `to`, the songs between shifting by one.
    bool move(int from, int to);
    // Moves the song at `position` to just after the current one, so it is
    // the next a List-mode step plays; false for the current song itself.
    bool moveAfterCurrent(int position);

    std::vector<std::string> ids() const;
    int size() const;
    int position() const;
    void setPosition(int position);

    // A position drawn at random, 1..size (0 for an empty queue).
    int randomPick() const;
    // The id at a random position, if any is queued.
    std::optional<std::string> randomSong() const;

    // Steps forward (wrapping to 1) and returns the song to play: the one at
    // the new position, or in Random mode one drawn at random, whose
    // position becomes the current one. Songs the check finds
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

    // Steps back (wrapping to the last) and returns the song to play, in
    // Random mode one drawn at random as next() does; empty for an empty
    // queue. No availability check.
    std::optional<std::string> previous(std::optional<PlayMode> mode);

    static std::uint32_t steadyClockSeed();

private:
    int randomPickLocked() const;
    // The position after `position` in a queue of `count`, wrapping to 1.
    static int positionAfter(int position, int count);
    std::string stepForwardLocked(std::optional<PlayMode> mode);
    // In Random mode the position moves to a drawn song; the song at the position.
    std::string songAtPositionLocked(std::optional<PlayMode> mode);
    bool moveLocked(int from, int to);

    SeedSource seed_;
    mutable std::mutex mutex_;
    std::vector<std::string> ids_;  // guarded by mutex_
    int position_ = 1;              // guarded by mutex_
};
