// The demo catalogue's playlists: enough of every discover-page category, a
// few high-quality and recommended ones, the users' own lists, the charts and
// the 500-song list of études.
#include <algorithm>

#include "server/catalogue/DemoBuilders.h"

namespace demo {

namespace {

struct PlaylistEntry {
    Id id;
    std::string name;
    Id creator;
    std::vector<std::string> tags;
    std::string description;
    bool highQuality = false;
    std::string copywriter = {};
};

// The named (non-étude) songs.
std::vector<Id> namedSongIds(const CatalogueData& data) {
    std::vector<Id> ids;
    for (const Song& song : data.songs) {
        if (song.artistIds.front() != kEtudeStudio) ids.push_back(song.id);
    }
    return ids;
}

// A fixed pseudo-random choice of `count` different named songs.
std::vector<Id> pickSongs(const CatalogueData& data, Id seed, std::size_t count) {
    std::vector<Id> pool = namedSongIds(data);
    std::uint64_t state = static_cast<std::uint64_t>(seed) * 6364136223846793005ULL + 1442695040888963407ULL;
    std::vector<Id> picked;
    while (picked.size() < count && !pool.empty()) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const std::size_t at = static_cast<std::size_t>((state >> 33) % pool.size());
        picked.push_back(pool[at]);
        pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(at));
    }
    return picked;
}

Playlist makePlaylist(CatalogueData& data, const PlaylistEntry& entry, int number) {
    Playlist playlist;
    playlist.id = entry.id;
    playlist.name = entry.name;
    playlist.creatorId = entry.creator;
    playlist.coverPicId = data.addPicture("PLAYLIST", std::to_string(number),
                                          number % 2 ? PictureFormat::Jpeg : PictureFormat::Png, 640, 640);
    playlist.description = entry.description;
    playlist.tags = entry.tags;
    playlist.trackIds = pickSongs(data, entry.id, 10 + static_cast<std::size_t>(entry.id % 17));
    playlist.playCount = 50000 + (entry.id % 977) * 10391;
    playlist.subscribedCount = playlist.playCount / 37;
    playlist.shareCount = playlist.playCount / 301;
    playlist.commentCount = playlist.playCount / 503;
    playlist.highQuality = entry.highQuality;
    playlist.copywriter = entry.copywriter;
    playlist.createTime = dateMs(2020, 1, 1) + (entry.id % 1000) * 86400000LL;
    playlist.updateTime = playlist.createTime + 30 * 86400000LL;
    return playlist;
}

}  // namespace

void addPlaylists(CatalogueData& data) {
    const PlaylistEntry entries[] = {
        {7000000001,
         "云村热歌精选",
         kEditorUser,
         {"官方", "华语", "流行"},
         "云村小编每周更新的热门歌曲。",
         true,
         "每周更新的热门好歌"},
        {7000000002, "每周新歌速递", kEditorUser, {"官方", "流行"}, "本周上线的新歌都在这里。", false},
        {7000000003,
         "官方 · 欧美金曲",
         kEditorUser,
         {"官方", "欧美"},
         "Western hits picked by our editors.",
         true,
         "欧美流行的温度"},
        {7000000004, "官方 · 古风专区", kEditorUser, {"官方", "古风"}, "一曲长安，一曲江南。", false},
        {7000000005,
         "Café 午后的法语歌",
         kEveUser,
         {"欧美", "轻音乐"},
         "Des chansons pour un après-midi au café.",
         true,
         "法语歌里的慢时光"},
        {7000000006, "Roadtrip Indie", kTravellerUser, {"欧美", "摇滚"}, "Windows down, volume up.", false},
        {7000000007, "Rainy Day Acoustic", kEveUser, {"欧美", "流行"}, "", false},
        {7000000008,
         "华语流行 · 2024",
         kEditorUser,
         {"华语", "流行"},
         "2024 年的华语流行新声。",
         true,
         "华语流行年度精选"},
        {7000000009, "J-Pop 通勤列车 🚃", kTravellerUser, {"流行"}, "通勤路上的日语流行。", false},
        {7000000010, "K-Pop 星光夜", kNightOwlUser, {"流行"}, "별빛 아래서 듣는 노래.", false},
        {7000000011, "独立摇滚现场", kTravellerUser, {"摇滚", "华语"}, "现场的汗水与吉他。", false},
        {7000000012, "Loud & Proud", kNightOwlUser, {"摇滚", "欧美"}, "Turn it up to eleven.", false},
        {7000000013, "野火燎原：中文摇滚", kEditorUser, {"摇滚"}, "中文摇滚的火焰从未熄灭。", true, "燃！中文摇滚"},
        {7000000014, "旷野上的吉他", kTravellerUser, {"摇滚"}, "", false},
        {7000000015, "霓虹都市 Synthwave", kNightOwlUser, {"电子"}, "合成器与霓虹灯。", false},
        {7000000016, "深夜电子实验室", kNightOwlUser, {"电子", "轻音乐"}, "凌晨的电子实验。", false},
        {7000000017,
         "Lo-Fi 写作业",
         kNightOwlUser,
         {"电子", "轻音乐"},
         "写作业专用，安静不打扰。",
         true,
         "专注时的背景音"},
        {7000000018, "月光🌙电台精选", kNightOwlUser, {"电子"}, "月光🌙电台的深夜节目单。", false},
        {7000000019, "街头说唱现场", kTravellerUser, {"说唱", "华语"}, "从街角唱到舞台。", false},
        {7000000020, "凌晨四点的 Flow", kNightOwlUser, {"说唱"}, "", false},
        {7000000021, "说唱新势力", kEditorUser, {"说唱"}, "新一代说唱歌手。", false},
        {7000000022, "说唱 × 摇滚", kNightOwlUser, {"说唱", "摇滚"}, "当说唱遇到失真吉他。", false},
        {7000000023,
         "江湖夜雨十年灯",
         kTravellerUser,
         {"古风"},
         "桃李春风一杯酒，江湖夜雨十年灯。",
         true,
         "古风里的江湖"},
        {7000000024, "长安月下", kTravellerUser, {"古风", "华语"}, "长安一片月。", false},
        {7000000025, "竹林雅集", kEditorUser, {"古风", "轻音乐"}, "竹林听雨，煮茶抚琴。", false},
        {7000000026, "钢琴与雨", kEveUser, {"轻音乐"}, "Piano, pluie, silence.", false},
        {7000000027, "专注 · 学习白噪音", kEditorUser, {"轻音乐"}, "", false},
        {7000000028, "华语民谣：写给你的信", kTravellerUser, {"华语"}, "民谣是写给远方的信。", false},
        {7000000029, "KTV 必点华语金曲", kEditorUser, {"华语", "流行"}, "麦克风准备好了吗？", false},
        {kSummerSoundsPlaylist,
         "夏天的声音 ☀️",
         kEveUser,
         {"流行", "华语"},
         "收录“夏天”的声音和\"海风\"的味道。\n第二行：愿你喜欢。",
         true,
         "夏天的风、海和汽水"},
        {kFiveHundredPlaylist,
         "练习曲全集 · 500首",
         kNightOwlUser,
         {"轻音乐"},
         "练习曲工作室的全部 500 首钢琴练习曲，按编号排列。",
         false},
        {7100000001, "Mivra演示用户喜欢的音乐", kDemoUser, {}, "", false},
        {7100000002, "开车听的歌", kDemoUser, {"流行"}, "一路向北。", false},
        {7100000003, "한국어 노래 모음", kDemoUser, {"流行"}, "좋아하는 한국 노래.", false},
        {7100000011, "林夏喜欢的音乐", kLinXiaUser, {}, "", false},
    };
    int number = 0;
    for (const PlaylistEntry& entry : entries) {
        Playlist playlist = makePlaylist(data, entry, ++number);
        if (entry.id == 7100000001 || entry.id == 7100000011) playlist.specialType = 5;
        if (entry.id == kFiveHundredPlaylist) {
            playlist.trackIds.clear();
            for (int i = 0; i < kEtudeCount; ++i) playlist.trackIds.push_back(kFirstEtudeSong + i);
        }
        data.playlists.push_back(std::move(playlist));
    }

    struct ChartEntry {
        Id id;
        std::string name;
        std::string frequency;
        std::string toplistType;
    };
    const ChartEntry charts[] = {
        {991001, "飙升榜", "每天更新", "S"},   {991002, "新歌榜", "每天更新", "N"},
        {991003, "原创榜", "每周四更新", "O"}, {991004, "热歌榜", "每周四更新", "H"},
        {991005, "古风榜", "每周五更新", ""},  {991006, "电音榜", "每周五更新", ""},
    };
    for (const ChartEntry& chart : charts) {
        Playlist playlist = makePlaylist(
            data, {chart.id, chart.name, kEditorUser, {}, "云音乐" + chart.name + "，" + chart.frequency + "。"},
            ++number);
        playlist.specialType = 10;
        playlist.trackIds = pickSongs(data, chart.id, 20);
        playlist.updateFrequency = chart.frequency;
        playlist.toplistType = chart.toplistType;
        data.playlists.push_back(std::move(playlist));
        data.toplistIds.push_back(chart.id);
    }

    // What the demo account listens to: today's recommended songs and the
    // FM stream's pool (songs that play), and a week of listening.
    const auto playable = [&data](std::vector<Id> ids) {
        std::erase_if(ids, [&data](Id id) {
            const auto song =
                std::find_if(data.songs.begin(), data.songs.end(), [id](const Song& s) { return s.id == id; });
            return !song->hasStream || !song->licensed;
        });
        return ids;
    };
    data.dailySongIds = playable(pickSongs(data, 20260101, 30));
    data.fmSongIds = playable(pickSongs(data, 880088, 40));
    data.weekRecordIds = pickSongs(data, 70007, 15);

    data.personalizedPlaylistIds = {kSummerSoundsPlaylist,
                                    7000000001,
                                    7000000005,
                                    7000000017,
                                    7000000013,
                                    7000000023,
                                    7000000009,
                                    7000000010,
                                    7000000015,
                                    kFiveHundredPlaylist,
                                    7000000026,
                                    7000000028};
    for (Playlist& playlist : data.playlists) {
        const bool recommended = std::find(data.personalizedPlaylistIds.begin(), data.personalizedPlaylistIds.end(),
                                           playlist.id) != data.personalizedPlaylistIds.end();
        if (recommended && playlist.copywriter.empty()) {
            playlist.copywriter = "根据你的口味推荐";
        }
    }
}

}  // namespace demo
