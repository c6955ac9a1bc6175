#include "scrobble/ScrobbleSettings.h"

namespace {
constexpr const char* kSection = "Scrobble";
}

bool ScrobbleSettings::sendsTo(ScrobbleService service) const {
    if (service == ScrobbleService::ListenBrainz) return listenBrainz && !listenBrainzToken.empty();
    return lastFm && !lastFmAccount.apiKey.empty() && !lastFmAccount.secret.empty() &&
           !lastFmAccount.sessionKey.empty();
}

ScrobbleSettings ScrobbleSettings::read(const AppSettings& settings) {
    ScrobbleSettings read;
    read.listenBrainz = settings.read(kSection, "ListenBrainz", "0") == "1";
    read.listenBrainzToken = settings.read(kSection, "ListenBrainzToken");
    read.lastFm = settings.read(kSection, "LastFm", "0") == "1";
    read.lastFmAccount.apiKey = settings.read(kSection, "LastFmKey");
    read.lastFmAccount.secret = settings.read(kSection, "LastFmSecret");
    read.lastFmAccount.sessionKey = settings.read(kSection, "LastFmSession");
    return read;
}

bool ScrobbleSettings::write(const AppSettings& settings) const {
    return settings.write(kSection, "ListenBrainz", listenBrainz ? "1" : "0") &&
           settings.write(kSection, "ListenBrainzToken", listenBrainzToken) &&
           settings.write(kSection, "LastFm", lastFm ? "1" : "0") &&
           settings.write(kSection, "LastFmKey", lastFmAccount.apiKey) &&
           settings.write(kSection, "LastFmSecret", lastFmAccount.secret) &&
           settings.write(kSection, "LastFmSession", lastFmAccount.sessionKey);
}
