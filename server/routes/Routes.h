#pragma once
// Each group of paths registers its handlers on the server. The handlers keep
// a reference to the context, which outlives the server.
#include <httplib.h>

#include "server/ServerContext.h"
#include "server/routes/RouteBook.h"

// song/detail, lyric, lyric/new, check/music.
void addSongRoutes(RouteBook& server, const ServerContext& context);
// search in its four kinds.
void addSearchRoutes(RouteBook& server, const ServerContext& context);
// top/playlist (+ highquality), personalized, toplist, playlist/detail, playlist/track/all.
void addPlaylistRoutes(RouteBook& server, const ServerContext& context);
// artist/detail, artist/album, artist/mv, artist/top/song, top/artists.
void addArtistRoutes(RouteBook& server, const ServerContext& context);
// album: one album and its songs.
void addAlbumRoutes(RouteBook& server, const ServerContext& context);
// banner, personalized/mv, album/newest, mv/first, mv/all, mv/url.
void addHomeRoutes(RouteBook& server, const ServerContext& context);
// The QR login of the account host (also on the API server's login/qr/key,
// login/qr/create and login/qr/check), the demo scan page, user/account,
// user/playlist, playlist/subscribe.
void addAccountRoutes(RouteBook& server, const ServerContext& context);
// What the service keeps for a listener: recommend/songs, personal_fm,
// fm_trash, like, likelist, user/record.
void addListenerRoutes(RouteBook& server, const ServerContext& context);
// The maker's API: song URLs (also on the API server's song/url/v1) and the service cookie.
void addMakerRoutes(RouteBook& server, const ServerContext& context);
// The maker's configuration, update log, download page and heartbeat.
void addMakerDocumentRoutes(httplib::Server& server, const ServerContext& context);
// Pictures, audio and video files, the QR picture and the web player page.
void addMediaRoutes(httplib::Server& server, const ServerContext& context);
// The QR picture of a text alone.
void addQrPictureRoute(httplib::Server& server);
// The web player page alone.
void addPlayerPageRoute(httplib::Server& server);
// The service's own web API: weapi, eapi and linuxapi requests unwrapped and
// answered by the demo's handlers in `book`, in the service's answer shapes.
void addServiceProtocolRoutes(httplib::Server& server, const RouteBook& book, const ServerContext& context);
