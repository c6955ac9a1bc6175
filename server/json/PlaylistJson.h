#pragma once
// The service's playlist records in the forms its answers use.
#include <optional>

#include "server/json/JsonContext.h"

// Whether the request's user subscribed the playlist; nothing when nobody
// is logged in (the service then writes null).
using SubscribedFlag = std::optional<bool>;

// Members of top/playlist, top/playlist/highquality and user/playlist.
Json playlistJson(const JsonContext& context, const Playlist& playlist, SubscribedFlag subscribed);
// A member of personalized's "result".
Json personalizedPlaylistJson(const JsonContext& context, const Playlist& playlist);
// A member of toplist's "list".
Json toplistJson(const JsonContext& context, const Playlist& playlist);
// A member of a playlist search's "result.playlists".
Json playlistSearchJson(const JsonContext& context, const Playlist& playlist);
// "playlist" of playlist/detail: the header, the first tracks and every track id.
Json playlistDetailJson(const JsonContext& context, const Playlist& playlist, SubscribedFlag subscribed);

// How many songs playlist/detail carries in full.
inline constexpr std::size_t kDetailTrackCount = 20;
