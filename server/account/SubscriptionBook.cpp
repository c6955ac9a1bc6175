#include "server/account/SubscriptionBook.h"

#include <algorithm>

void SubscriptionBook::subscribe(Id userId, Id playlistId) {
    std::lock_guard lock(mutex_);
    std::vector<Id>& list = lists_[userId];
    std::erase(list, playlistId);
    list.insert(list.begin(), playlistId);
}

void SubscriptionBook::unsubscribe(Id userId, Id playlistId) {
    std::lock_guard lock(mutex_);
    if (auto found = lists_.find(userId); found != lists_.end()) std::erase(found->second, playlistId);
}

bool SubscriptionBook::isSubscribed(Id userId, Id playlistId) const {
    std::lock_guard lock(mutex_);
    const auto found = lists_.find(userId);
    return found != lists_.end() &&
           std::find(found->second.begin(), found->second.end(), playlistId) != found->second.end();
}

std::vector<Id> SubscriptionBook::subscriptionsOf(Id userId) const {
    std::lock_guard lock(mutex_);
    const auto found = lists_.find(userId);
    return found == lists_.end() ? std::vector<Id>{} : found->second;
}
