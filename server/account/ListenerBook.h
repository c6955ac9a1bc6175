#pragma once
// What the demo keeps for each listener during the server's run: the songs
// the user likes (at first the tracks of the user's liked-songs playlist in
// the catalogue, newest first), and the personal FM stream, which deals songs
// round a fixed pool and passes over the songs the user put in the bin.
// Shared by the request threads; one mutex guards everything.
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "server/catalogue/Catalogue.h"

class ListenerBook {
public:
    // `catalogue` outlives the book; `fmPool` is the FM stream's songs in order.
    ListenerBook(const Catalogue& catalogue, std::vector<Id> fmPool);

    std::vector<Id> likedBy(Id userId) const;
    // A song liked again moves to the front.
    void like(Id userId, Id songId);
    void unlike(Id userId, Id songId);

    // The next `count` songs of the user's FM stream, fewer when the bin
    // holds most of the pool.
    std::vector<Id> nextFmSongs(Id userId, std::size_t count);
    void trash(Id userId, Id songId);

private:
    struct Listener {
        std::vector<Id> liked;
        std::size_t fmCursor = 0;
        std::unordered_set<Id> trashed;
    };
    // The user's entry, made on first use; mutex_ held.
    Listener& listenerLocked(Id userId) const;

    const Catalogue& catalogue_;
    const std::vector<Id> fmPool_;
    mutable std::mutex mutex_;
    mutable std::unordered_map<Id, Listener> listeners_;  // guarded by mutex_
};
