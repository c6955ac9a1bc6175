#include "browse/LikedSongs.h"

#include "api/CloudApiClient.h"

#include <vector>

LikedSongs::LikedSongs(const CloudApiClient& client, QObject* parent) : QObject(parent), client_(client) {}

void LikedSongs::useAccount(const std::string& userId, const std::string& accountCookie) {
    userId_ = userId;
    cookie_ = accountCookie;
    ++account_;
    ids_.clear();
    emit changed();
    if (userId.empty()) return;
    tasks_.start([this, account = account_, userId, accountCookie] {
        std::vector<std::string> ids = client_.fetchLikedSongIds(userId, accountCookie);
        runOnUiThread(this, [this, account, ids = std::move(ids)] {
            if (account != account_) return;
            ids_.insert(ids.begin(), ids.end());
            emit changed();
        });
    });
}

bool LikedSongs::toggle(const std::string& songId) {
    if (!loggedIn() || songId.empty()) return false;
    const bool like = !contains(songId);
    tasks_.start([this, account = account_, songId, like, cookie = cookie_] {
        const bool done = client_.likeSong(songId, like, cookie);
        runOnUiThread(this, [this, account, songId, like, done] {
            if (account != account_) return;
            if (!done) {
                emit toggleFailed(songId);
                return;
            }
            if (like)
                ids_.insert(songId);
            else
                ids_.erase(songId);
            emit changed();
        });
    });
    return true;
}
