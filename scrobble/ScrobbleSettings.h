#pragma once
// The scrobbling choices kept in the settings file under [Scrobble]: each
// service off until the user turns it on, the ListenBrainz token, and the
// user's own Last.fm API key and secret with the session key got for them.
#include "base/AppSettings.h"
#include "scrobble/ScrobbleServices.h"

#include <string>

struct ScrobbleSettings {
    bool listenBrainz = false;
    std::string listenBrainzToken;
    bool lastFm = false;
    LastFmAccount lastFmAccount;

    bool sendsTo(ScrobbleService service) const;

    static ScrobbleSettings read(const AppSettings& settings);
    bool write(const AppSettings& settings) const;
};
