#pragma once
// The records the service client returns. Every field is text exactly as the
// answer gave it (ids included: they are never parsed as numbers); a value the
// answer lacks is the empty text.
#include <string>
#include <vector>

struct SongDetail {
    std::string name;
    std::string artists;   // first artist, or the first two joined by "，"
    std::string coverUrl;  // as the answer gives it, without a size suffix
    std::string mvId;      // "0" when the song has no MV
    std::string album;     // the album's name
};

// A song's stream as the song URL answer gives it.
struct SongStream {
    std::string url;    // "null" when the answer names none
    double gainDb = 0;  // the service's loudness adjustment for the song; 0 when it gives none
    double peak = 0;    // the song's peak, linear (1 = full scale); 0 when it gives none
};

// A song's lyric texts as the newer lyric answer gives them.
struct SongLyrics {
    std::string lyric;        // time-tagged lines
    std::string translation;  // the translation's lines; empty when there is none
    std::string wordLyric;    // each word timed ("yrc"); empty when the service has none
};

// Names and first-artist names of several songs, index-aligned, answer order.
struct SongNameList {
    std::vector<std::string> names;
    std::vector<std::string> firstArtists;
};

struct SongItem {
    std::string id;
    std::string name;
    std::string artists;
    // Lists that name songs by id, title and artist alone leave these empty.
    std::string album = {};       // the album's name; empty where the answer names none
    std::string coverUrl = {};    // the album's cover; empty where the answer gives none (search)
    std::string durationMs = {};  // the length in milliseconds, as text; empty where unknown
};

// One entry of a list of pictures with captions.
struct CoverItem {
    std::string pictureUrl;
    std::string name;
    std::string id;
    std::string subtitle;  // second caption: the artist of a searched album; empty elsewhere
};

struct PlaylistDetail {
    std::string name;
    std::string creatorNickname;
    std::string coverUrl;
    std::string description;
    std::string creatorId = {};
    // Whether the account the request carried subscribed the playlist.
    bool subscribed = false;
};

struct ArtistDetail {
    std::string name;
    std::string pictureUrl;  // always carries its "?param=250y250" suffix
    std::string identity;
    std::string description;
};

// One album and its songs in track order. A failed request leaves every
// field empty; an album the service knows always has a name.
struct AlbumDetail {
    std::string name;
    std::string coverUrl;  // as the answer gives it, without a size suffix
    std::string artistName;
    std::string artistId;
    std::string publishTime;  // milliseconds since the epoch, as text
    std::string company;
    std::string description;
    std::vector<SongItem> songs;

    bool found() const { return !name.empty(); }
};

// What the account answer says about the logged-in user.
struct AccountProfile {
    std::string userId;  // empty: logged out
    std::string nickname;
    std::string avatarUrl;
};

enum class QrLoginState {
    Expired,         // the key is no longer valid: start over with a new key
    WaitingScan,     // nobody has scanned the code yet
    WaitingConfirm,  // scanned, not yet confirmed on the phone
    LoggedIn,        // confirmed; the result carries the account cookie
    NoAnswer,        // the poll failed or the answer had no code: keep waiting
};

struct QrPollResult {
    QrLoginState state = QrLoginState::NoAnswer;
    std::string cookie;  // only for LoggedIn
};

enum class SubscribeAction { Subscribe = 1, Unsubscribe = 2 };
