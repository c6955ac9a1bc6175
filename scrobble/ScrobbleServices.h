#pragma once
// The two scrobbling services' web APIs, one blocking exchange per call
// (run them on a task): ListenBrainz's submit-listens with the user's token,
// and Last.fm's track.updateNowPlaying and track.scrobble signed with the
// user's own API key and secret and a session key from auth.getMobileSession.
// Every call says what became of what it sent, so the caller knows whether
// to drop the listens, keep them for later, or stop until the user mends
// the account.
#include "scrobble/Listen.h"

#include <string>
#include <vector>

enum class SendOutcome {
    Sent,        // the service took them
    Retry,       // no answer, a server failure or a rate limit: try again later
    Rejected,    // the service refuses these listens themselves: they are dropped
    AuthFailed,  // the token, key, secret or session is not accepted
};

// Where the services are reached: their public origins, or those named by
// MIVRA_LISTENBRAINZ_ORIGIN and MIVRA_LASTFM_ORIGIN (a local stand-in).
struct ScrobbleOrigins {
    std::string listenBrainz = "https://api.listenbrainz.org";
    std::string lastFm = "https://ws.audioscrobbler.com";

    static ScrobbleOrigins fromEnvironment();
};

struct LastFmAccount {
    std::string apiKey, secret, sessionKey;
};

namespace ListenBrainz {
SendOutcome playingNow(const std::string& origin, const std::string& token, const Listen& listen);
// Up to 1 000 listens in one request, in the order given.
SendOutcome submit(const std::string& origin, const std::string& token, const std::vector<Listen>& listens);
}  // namespace ListenBrainz

namespace LastFm {
SendOutcome nowPlaying(const std::string& origin, const LastFmAccount& account, const Listen& listen);
// Up to 50 listens in one request, in the order given.
SendOutcome scrobble(const std::string& origin, const LastFmAccount& account, const std::vector<Listen>& listens);

// A session key for the user's name and password; empty when refused or
// unreachable (then `error` says why).
std::string mobileSession(const std::string& origin, const LastFmAccount& account, const std::string& user,
                          const std::string& password, std::string* error = nullptr);

// The request signature: the MD5 (hex) of every parameter's name and value
// in name order, then the secret; "format" and "callback" are not signed.
std::string signature(const std::vector<std::pair<std::string, std::string>>& parameters, const std::string& secret);
}  // namespace LastFm
