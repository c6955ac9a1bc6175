#pragma once
// What the relay's routes share: the upstream, how long to wait for it, and
// the logged-in user's cookie. Owned by the server, shared by the request
// threads.
#include <mutex>
#include <optional>
#include <string>

#include "server/json/JsonContext.h"
#include "server/relay/UpstreamCall.h"
#include "server/relay/UpstreamOrigin.h"

// The cookie of the last login the relay saw: a QR login it completed, or the
// stored login the program checks its account with at start. The maker's
// song URL and service cookie answer with it. Locks itself.
class AccountCookie {
public:
    void remember(const std::string& cookie) {
        std::lock_guard lock(mutex_);
        cookie_ = cookie;
    }
    std::string current() const {
        std::lock_guard lock(mutex_);
        return cookie_;
    }

private:
    mutable std::mutex mutex_;
    std::string cookie_;  // guarded by mutex_
};

struct RelayContext {
    const UpstreamOrigin upstream;
    const int phaseSeconds;  // see callUpstream
    AccountCookie account;

    // The upstream's JSON object at `pathAndQuery` (the account cookie added
    // as the "cookie" value when asked for and known); nothing when the
    // upstream could not be reached or did not answer a JSON object,
    // whatever its status.
    std::optional<Json> fetchJson(const std::string& pathAndQuery, bool withAccountCookie = false) const;
};
