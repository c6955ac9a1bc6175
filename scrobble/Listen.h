#pragma once
// One play of a song as the scrobbling services are told of it.
#include <cstdint>
#include <string>

struct Listen {
    std::string artist;
    std::string title;
    std::string album;            // may be empty
    std::int64_t durationMs = 0;  // 0 when unknown
    std::int64_t listenedAt = 0;  // when it started, seconds since the epoch (UTC)
};

// The two services a listen goes to.
enum class ScrobbleService { ListenBrainz, LastFm };

const char* scrobbleServiceName(ScrobbleService service);
