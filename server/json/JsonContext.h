#pragma once
// What every answer builder needs: the catalogue, the address the client
// reached the server by (picture, stream and page URLs are built on it) and
// the logged-in user of the request, if any.
#include <nlohmann/json.hpp>

#include <optional>
#include <string>

#include "server/catalogue/Catalogue.h"

using Json = nlohmann::ordered_json;

struct JsonContext {
    const Catalogue& catalogue;
    std::string origin;          // "http://host:port", no trailing "/"
    std::optional<Id> viewerId;  // the user of the request's cookie

    // The URL of a catalogue picture; the empty text for an unknown id.
    std::string pictureUrl(Id picId) const;
    // The URL the song's stream is served at for a quality level.
    std::string songStreamUrl(Id songId, const std::string& level, const std::string& extension) const;
    // The URL of an MV's video, with the service's signature keys (wsSecret, wsTime).
    std::string mvStreamUrl(Id mvId, std::int64_t unixSeconds) const;
};

// A JSON array of texts.
Json textArray(const std::vector<std::string>& texts);
// A text, or null when it is empty (the service leaves absent texts null).
Json textOrNull(const std::string& text);
