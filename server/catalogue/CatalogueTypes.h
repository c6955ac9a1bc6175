#pragma once
// The records of the demo catalogue. Ids are the service's numbers; times are
// milliseconds since 1970 (UTC) as the service writes them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

using Id = std::int64_t;

enum class PictureFormat { Jpeg, Png };

// A generated picture; its URL is "/pic/<id>.jpg" or ".png".
struct Picture {
    Id id = 0;
    std::string title = {};     // first caption line drawn on it
    std::string subtitle = {};  // second caption line
    PictureFormat format = PictureFormat::Jpeg;
    int width = 640;  // size when no "?param=WxH" asks for another
    int height = 640;
    double hue = 0.0;
};

struct User {
    Id userId = 0;
    std::string nickname = {};
    std::string signature = {};
    Id avatarPicId = 0;
    Id backgroundPicId = 0;
    int gender = 0;
    int province = 110000;
    int city = 110101;
    std::int64_t birthday = 0;
    std::int64_t createTime = 0;
    int vipType = 0;
    int userType = 0;
    int authStatus = 0;
    std::string description = {};
};

struct Artist {
    Id id = 0;
    std::string name = {};
    std::vector<std::string> alias = {};
    std::vector<std::string> transNames = {};
    std::string briefDesc = {};
    Id picId = 0;
    std::optional<Id> userId = {};  // the artist's own user account, if any
    std::string identity = {};      // identity badge text; empty for none
    // Filled by the catalogue from the other records:
    std::vector<Id> albumIds = {};  // newest first
    std::vector<Id> songIds = {};
    std::vector<Id> mvIds = {};  // newest first
};

enum class LyricKind {
    Timed,            // time-tagged lines and a translation
    TimedSharedTags,  // as Timed, with one line carrying two time tags
    PureMusic,        // the service's "pure music" answer
    Untimed,          // plain lines without time tags
    Missing,          // no lyric at all
};

enum class LyricLanguage { Chinese, Japanese, Korean, English };

struct Song {
    Id id = 0;
    std::string name = {};
    std::vector<Id> artistIds = {};
    Id albumId = 0;
    std::vector<std::string> alias = {};
    int clip = 0;  // index into audioClips(); gives the length
    int trackNo = 1;
    Id mvId = 0;
    bool flacByDefault = false;  // the stream is FLAC unless a lower level is asked for
    bool hasStream = true;       // false: the song URL answer carries url null
    bool licensed = true;        // false: the availability check fails
    LyricKind lyric = LyricKind::Timed;
    LyricLanguage language = LyricLanguage::Chinese;
    int pop = 100;
    int fee = 8;
    std::int64_t publishTime = 0;
};

struct Album {
    Id id = 0;
    std::string name = {};
    Id artistId = 0;
    Id picId = 0;
    std::int64_t publishTime = 0;
    std::string company = {};
    std::string type = "专辑";
    std::string subType = "录音室版";
    std::string description = {};
    std::vector<Id> songIds = {};  // filled by the catalogue, in track order
};

struct Mv {
    Id id = 0;
    std::string name = {};
    Id artistId = 0;
    Id picId = 0;
    std::int64_t playCount = 0;
    std::string publishDate = {};  // "YYYY-MM-DD"
    std::string briefDesc = {};
};

struct Playlist {
    Id id = 0;
    std::string name = {};
    Id creatorId = 0;
    Id coverPicId = 0;
    std::string description = {};  // empty: the answer carries null
    std::vector<std::string> tags = {};
    std::vector<Id> trackIds = {};
    std::int64_t playCount = 0;
    std::int64_t subscribedCount = 0;
    std::int64_t shareCount = 0;
    std::int64_t commentCount = 0;
    bool highQuality = false;
    int specialType = 0;  // 0 ordinary, 5 a user's liked songs, 10 a chart
    std::int64_t createTime = 0;
    std::int64_t updateTime = 0;
    std::string copywriter = {};       // one-line pitch of recommended and high-quality lists
    std::string updateFrequency = {};  // charts only
    std::string toplistType = {};      // the four official charts only
};

struct Banner {
    Id picId = 0;
    Id targetId = 0;  // 0 for an external link
    int targetType = 1;
    std::string typeTitle = {};
    std::string titleColor = "red";
    std::string url = {};  // external links only
};
