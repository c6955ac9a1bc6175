#pragma once
// The account cookies the QR login hands out. A cookie's MUSIC_U value
// carries the user id and a signature made with the server's secret, so any
// cookie this server (or an earlier run with the same secret) issued is
// recognised without a session table, and no other is.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "server/catalogue/CatalogueTypes.h"

class SessionCookies {
public:
    explicit SessionCookies(std::string secret);

    // A cookie text shaped like the service's: several cookies with their
    // attributes, joined by ";;".
    std::string issue(Id userId, std::int64_t nowUnixSeconds) const;
    // The user of a cookie text, when it holds a MUSIC_U this server signed.
    std::optional<Id> userOf(const std::string& cookieText) const;

    // The secret kept in `file`, made (random) when the file does not exist;
    // a random secret that is not kept when the file cannot be written.
    static std::string loadOrCreateSecret(const std::filesystem::path& file);

private:
    std::string token(Id userId) const;

    const std::string secret_;
};
