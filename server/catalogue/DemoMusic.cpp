// The demo catalogue's albums and songs: 44 named songs by twelve artists and
// the 500 piano études of one studio (25 albums of 20), which fill the long
// playlist.
#include <map>

#include "server/catalogue/DemoBuilders.h"

namespace demo {

namespace {

struct AlbumEntry {
    Id id;
    std::string name;
    Id artist;
    int year, month, day;
    const char* company;
    const char* type;
};

// Songs name their album; the first artist of a song is its album's artist
// unless the song lists its own.
struct SongEntry {
    Id id;
    std::string name;
    Id album;
    int clip;
    std::vector<Id> artists = {};
    Id mv = 0;
    bool flac = false;
    LyricKind lyric = LyricKind::Timed;
    bool hasStream = true;
    bool licensed = true;
    std::vector<std::string> alias = {};
};

LyricLanguage languageOf(Id artist) {
    switch (artist) {
        case kShirakawa:
        case kDawnSignal: return LyricLanguage::Japanese;
        case kHanByeol:
        case kMilkyWayBand: return LyricLanguage::Korean;
        case kZoe:
        case kNorthboundEcho: return LyricLanguage::English;
        default: return LyricLanguage::Chinese;
    }
}

void addAlbum(CatalogueData& data, const AlbumEntry& entry, int number) {
    Album album;
    album.id = entry.id;
    album.name = entry.name;
    album.artistId = entry.artist;
    album.picId = data.addPicture("ALBUM", std::to_string(number), PictureFormat::Jpeg, 640, 640);
    album.publishTime = dateMs(entry.year, entry.month, entry.day);
    album.company = entry.company;
    album.type = entry.type;
    album.description =
        "《" + entry.name + "》收录了" + (entry.artist == kEtudeStudio ? "二十首钢琴练习曲。" : "新的作品。");
    data.albums.push_back(std::move(album));
}

void addSong(CatalogueData& data, const SongEntry& entry, std::map<Id, int>& tracksPerAlbum) {
    const Album* album = nullptr;
    for (const Album& candidate : data.albums) {
        if (candidate.id == entry.album) album = &candidate;
    }
    Song song;
    song.id = entry.id;
    song.name = entry.name;
    song.albumId = entry.album;
    song.artistIds = entry.artists.empty() ? std::vector<Id>{album ? album->artistId : 0} : entry.artists;
    song.alias = entry.alias;
    song.clip = entry.clip;
    song.trackNo = ++tracksPerAlbum[entry.album];
    song.mvId = entry.mv;
    song.flacByDefault = entry.flac;
    song.hasStream = entry.hasStream;
    song.licensed = entry.licensed;
    song.lyric = entry.lyric;
    song.language = languageOf(song.artistIds.front());
    song.pop = 100 - static_cast<int>(entry.id % 7) * 5;
    song.publishTime = album ? album->publishTime : 0;
    data.songs.push_back(std::move(song));
}

}  // namespace

void addMusic(CatalogueData& data) {
    const AlbumEntry albums[] = {
        {150001, "夏日来信", kLinXia, 2019, 7, 1, "夏日唱片", "专辑"},
        {150002, "城市之光", kLinXia, 2021, 10, 15, "夏日唱片", "专辑"},
        {150003, "晚风", kLinXia, 2024, 5, 20, "夏日唱片", "EP/Single"},
        {150004, "野火", kZhouYe, 2018, 4, 1, "旷野音乐", "专辑"},
        {150005, "旷野来信", kZhouYe, 2023, 9, 9, "旷野音乐", "专辑"},
        {150006, "星河", kGalaxyTravellers, 2020, 11, 11, "银河唱片", "专辑"},
        {150007, "长安旧梦", kNanFeng, 2022, 2, 22, "古韵文化", "专辑"},
        {150008, "雪の街", kShirakawa, 2021, 12, 24, "Snow Records", "专辑"},
        {150009, "夜明けシグナル", kDawnSignal, 2023, 6, 6, "Dawn Label", "EP/Single"},
        {150010, "별빛 일기", kHanByeol, 2022, 8, 8, "Starlight Ent.", "专辑"},
        {150011, "은하수", kMilkyWayBand, 2024, 3, 3, "Starlight Ent.", "EP/Single"},
        {150012, "Café Lumière", kZoe, 2020, 9, 1, "Lumière Musique", "专辑"},
        {150013, "Paper Lanterns", kNorthboundEcho, 2023, 11, 1, "Northbound Records", "专辑"},
        {kNeonDriveAlbum, "Neon 🌙 Drive", kMoonlightRadio, 2024, 8, 18, "月光电台", "专辑"},
        {150015, "街角", kMcArnold, 2024, 1, 15, "街角厂牌", "EP/Single"},
    };
    int albumNumber = 0;
    for (const AlbumEntry& entry : albums) addAlbum(data, entry, ++albumNumber);

    for (int volume = 1; volume <= 25; ++volume) {
        // One volume every two months from early 2015 on, so the named albums are the newest.
        const int monthIndex = (volume - 1) * 2;
        addAlbum(data,
                 {kFirstEtudeAlbum + volume - 1, "练习曲集 第" + std::to_string(volume) + "辑", kEtudeStudio,
                  2015 + monthIndex / 12, monthIndex % 12 + 1, 1, "练习曲工作室", "专辑"},
                 ++albumNumber);
    }

    const SongEntry songs[] = {
        {kSummerLetterSong, "夏日来信", 150001, 3, {}, 10900001},
        {1900001002, "风吹过的街", 150001, 2},
        {1900001003, "晚安，城市", 150001, 1},
        {1900001004, "萤火虫", 150001, 0},
        {1900001005, "城市之光", 150002, 5, {}, 0, true},
        {1900001006, "雨后", 150002, 2},
        {.id = 1900001007,
         .name = "三人行",
         .album = 150002,
         .clip = 3,
         .artists = {kLinXia, kZhouYe, kNanFeng},
         .alias = {"电影《夏至》插曲"}},
        {1900001008, "晚风", 150003, 4},
        {1900001009, "海边的信号", 150003, 1},
        {1900001010, "小宇宙", 150003, 2},
        {1900001011, "野火", 150004, 4, {}, 10900002},
        {.id = 1900001012, .name = "无人知晓", .album = 150004, .clip = 1, .hasStream = false},
        {1900001013, "旷野", 150004, 3},
        {1900001014, "公路电影", 150005, 2},
        {.id = 1900001015, .name = "逆光", .album = 150005, .clip = 1, .lyric = LyricKind::Untimed},
        {1900001016, "星河", 150006, 5, {}, 10900011},
        {.id = 1900001017, .name = "遗失的旋律", .album = 150006, .clip = 2, .licensed = false},
        {1900001018, "银河铁道", 150006, 3},
        {1900001019, "长安旧梦", 150007, 4, {}, 10900009, true},
        {.id = 1900001020, .name = "竹林听雨", .album = 150007, .clip = 2, .lyric = LyricKind::PureMusic},
        {.id = 1900001021, .name = "青石巷", .album = 150007, .clip = 3, .lyric = LyricKind::TimedSharedTags},
        {1900001022, "雪の街で", 150008, 3, {}, 10900008},
        {1900001023, "夜明け前", 150008, 2, {}, 10900003},
        {1900001024, "さよならの代わりに", 150008, 4},
        {1900001025, "春を待つ", 150008, 1},
        {1900001026, "シグナル", 150009, 2},
        {1900001027, "東京ミッドナイト", 150009, 3},
        {1900001028, "별이 빛나는 밤", 150010, 5},
        {1900001029, "너에게 가는 길", 150010, 2, {}, 10900004},
        {1900001030, "안녕, 여름", 150010, 1},
        {1900001031, "은하수", 150011, 3, {}, 10900012},
        {1900001032, "첫눈", 150011, 2},
        {kCafeLumiereSong, "Café Lumière", 150012, 3, {}, 10900010, true},
        {1900001034, "Déjà vu à Paris", 150012, 2, {kZoe, kLinXia}},
        {.id = 1900001035, .name = "Été éternel", .album = 150012, .clip = 1, .lyric = LyricKind::Missing},
        {1900001036, "Paper Lanterns", 150013, 3},
        {1900001037, "Northbound", 150013, 4, {}, 10900005},
        {1900001038, "Echoes in the Rain", 150013, 2},
        {1900001039, "Neon 🌙 Drive", kNeonDriveAlbum, 5, {}, 10900006, true},
        {1900001040, "午夜电台", kNeonDriveAlbum, 2, {kMoonlightRadio, kMcArnold}},
        {1900001041, "Moonlight.exe", kNeonDriveAlbum, 1},
        {1900001042, "街角", 150015, 2, {}, 10900007},
        {1900001043, "不服", 150015, 1},
        {1900001044, "凌晨四点", 150015, 3},
    };
    std::map<Id, int> tracksPerAlbum;
    for (const SongEntry& entry : songs) addSong(data, entry, tracksPerAlbum);

    for (int number = 1; number <= kEtudeCount; ++number) {
        addSong(data,
                {.id = kFirstEtudeSong + number - 1,
                 .name = "练习曲 第" + std::to_string(number) + "号",
                 .album = kFirstEtudeAlbum + (number - 1) / 20,
                 .clip = number % 6,
                 .flac = number % 10 == 0,
                 .alias = {"Étude No." + std::to_string(number)}},
                tracksPerAlbum);
    }
}

}  // namespace demo
