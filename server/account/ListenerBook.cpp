#include "server/account/ListenerBook.h"

#include <algorithm>

ListenerBook::ListenerBook(const Catalogue& catalogue, std::vector<Id> fmPool)
    : catalogue_(catalogue), fmPool_(std::move(fmPool)) {}

ListenerBook::Listener& ListenerBook::listenerLocked(Id userId) const {
    auto [entry, made] = listeners_.try_emplace(userId);
    if (made) {
        for (const Playlist* playlist : catalogue_.playlistsCreatedBy(userId))
            if (playlist->specialType == 5) entry->second.liked = playlist->trackIds;
    }
    return entry->second;
}

std::vector<Id> ListenerBook::likedBy(Id userId) const {
    std::lock_guard lock(mutex_);
    return listenerLocked(userId).liked;
}

void ListenerBook::like(Id userId, Id songId) {
    std::lock_guard lock(mutex_);
    std::vector<Id>& liked = listenerLocked(userId).liked;
    std::erase(liked, songId);
    liked.insert(liked.begin(), songId);
}

void ListenerBook::unlike(Id userId, Id songId) {
    std::lock_guard lock(mutex_);
    std::erase(listenerLocked(userId).liked, songId);
}

std::vector<Id> ListenerBook::nextFmSongs(Id userId, std::size_t count) {
    std::lock_guard lock(mutex_);
    Listener& listener = listenerLocked(userId);
    std::vector<Id> songs;
    // One round of the pool at most: a bin holding everything deals nothing.
    for (std::size_t looked = 0; looked < fmPool_.size() && songs.size() < count; ++looked) {
        const Id song = fmPool_[listener.fmCursor % fmPool_.size()];
        listener.fmCursor = (listener.fmCursor + 1) % fmPool_.size();
        if (!listener.trashed.contains(song)) songs.push_back(song);
    }
    return songs;
}

void ListenerBook::trash(Id userId, Id songId) {
    std::lock_guard lock(mutex_);
    listenerLocked(userId).trashed.insert(songId);
}
