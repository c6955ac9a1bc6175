#pragma once
// The service's artist records in the forms its answers use.
#include "server/json/JsonContext.h"

// A song's "ar" member.
Json artistBriefJson(const Artist& artist);
// The full form of albums, top/artists and artist/album.
Json artistJson(const JsonContext& context, const Artist& artist);
// A member of a song search's "artists" (the service leaves pictures out there).
Json songSearchArtistJson(const JsonContext& context, const Artist& artist);
// A member of an artist search's "result.artists".
Json artistSearchJson(const JsonContext& context, const Artist& artist);
// "artist" of an artist/mv member.
Json mvArtistJson(const JsonContext& context, const Artist& artist);
// "data" of artist/detail; "user" only for artists with a user account.
Json artistDetailJson(const JsonContext& context, const Artist& artist);
