#pragma once
// Which playlists each user subscribed, newest first. Kept for the server's
// run; shared by the request threads.
#include <mutex>
#include <unordered_map>
#include <vector>

#include "server/catalogue/CatalogueTypes.h"

class SubscriptionBook {
public:
    void subscribe(Id userId, Id playlistId);
    void unsubscribe(Id userId, Id playlistId);
    bool isSubscribed(Id userId, Id playlistId) const;
    std::vector<Id> subscriptionsOf(Id userId) const;

private:
    mutable std::mutex mutex_;                       // guards lists_
    std::unordered_map<Id, std::vector<Id>> lists_;  // by user, newest first
};
