#pragma once
// The songs the logged-in user likes, as the hearts show them: the ids are
// fetched once per account and kept current by each like and unlike the
// program sends. A heart's click likes or unlikes through the service; the
// set changes only once the service has confirmed.
//
// Threads: lives on the UI thread, where every call and signal happens; the
// requests run on its tasks, and an answer for an account no longer held is
// dropped. `client` must outlive it.
#include "base/BackgroundTask.h"

#include <QObject>
#include <cstdint>
#include <string>
#include <unordered_set>

class CloudApiClient;

class LikedSongs : public QObject {
    Q_OBJECT
public:
    explicit LikedSongs(const CloudApiClient& client, QObject* parent = nullptr);

    // The account whose likes the hearts show: its liked ids are fetched.
    // An empty user id (logged out) empties the set.
    void useAccount(const std::string& userId, const std::string& accountCookie);
    bool loggedIn() const { return !userId_.empty(); }

    bool contains(const std::string& songId) const { return ids_.contains(songId); }
    // Likes the song, or unlikes a liked one, through the service. Returns
    // false, sending nothing, while nobody is logged in.
    bool toggle(const std::string& songId);

signals:
    // The set changed: the hearts are to be drawn again.
    void changed();
    // The service did not take a like or unlike of the song.
    void toggleFailed(const std::string& songId);

private:
    const CloudApiClient& client_;
    std::string userId_, cookie_;
    std::unordered_set<std::string> ids_;
    std::uint64_t account_ = 0;  // bumped at every account change; older answers are dropped
    TaskOwner tasks_;            // last: its tasks stop before anything above goes
};
