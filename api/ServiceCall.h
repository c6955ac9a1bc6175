#pragma once
// One request of the service client, described by what it asks rather than
// by where it goes: the route, its query values and the cookie it acts with.
// A transport (ServiceTransport) turns the description into the exchange of
// its way of reaching the service.
#include "api/ServiceRequest.h"

#include <string>
#include <vector>

// Every request the client makes, named by the API server path of its
// gateway form.
enum class ServiceRoute {
    SongDetail,            // song/detail
    SongUrl,               // the maker's song URL
    Lyric,                 // lyric
    CheckMusic,            // check/music
    Search,                // search
    TopPlaylist,           // top/playlist
    Personalized,          // personalized
    HighQualityPlaylists,  // top/playlist/highquality
    Toplist,               // toplist
    PlaylistDetail,        // playlist/detail
    PlaylistTracks,        // playlist/track/all
    ArtistDetail,          // artist/detail
    ArtistAlbums,          // artist/album
    ArtistMvs,             // artist/mv
    ArtistTopSongs,        // artist/top/song
    Album,                 // album
    QrKey,                 // the maker's QR login, step 0
    QrCreate,              // the maker's QR login, step 1
    QrCheck,               // the maker's QR login, step 2
    UserAccount,           // user/account
    UserPlaylists,         // user/playlist
    PlaylistSubscribe,     // playlist/subscribe
    Banner,                // banner
    PersonalizedMvs,       // personalized/mv
    TopArtists,            // top/artists
    NewestAlbums,          // album/newest
    FirstMvs,              // mv/first
    AllMvs,                // mv/all
    MvUrl,                 // mv/url
    DailySongs,            // recommend/songs
    PersonalFm,            // personal_fm
    FmTrash,               // fm_trash
    LikeSong,              // like
    LikedSongIds,          // likelist
    PlayRecord,            // user/record
    WordLyric,             // lyric/new
};

// How a query value is percent-encoded in a URL.
enum class ValueEncoding {
    Standard,  // letters, digits and ' ( ) * - . _ kept, a space as "+"
    Keyword,   // every byte of the UTF-8 form encoded, a space as "+"
};

struct QueryValue {
    std::string name;
    std::string value;  // the plain text; encoded where a URL carries it
    ValueEncoding encoding = ValueEncoding::Standard;
};

// Which of the program's engines reads the answer in the gateway form.
enum class AnswerEngine {
    Service,  // the service engine (JSON answers)
    Lyric,    // the lyric engine (the raw lyric text)
};

struct ServiceCall {
    ServiceRoute route;
    // In the order a URL carries them; "timestamp" makes the request fresh.
    std::vector<QueryValue> query = {};
    // The cookie the request acts with; `sendsCookie` false sends none.
    std::string cookie = {};
    bool sendsCookie = false;
    RequestHeaders headers = RequestHeaders::EngineDefaults;
    AnswerEngine engine = AnswerEngine::Service;
    // The song quality a song URL asks for (standard, higher, exhigh,
    // lossless); the gateway's song URL path chooses its own.
    std::string songLevel = {};

    // The value of the first query value named `name`; empty when none is.
    const std::string& value(const std::string& name) const;
};

// The answer as the transport got it: the engine's status line ("200 OK" or
// a numbered failure message) and the body.
struct ServiceAnswer {
    std::string status;
    std::string body;
};
