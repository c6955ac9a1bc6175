// The demo catalogue's users and artists. Names are in several scripts on
// purpose: Chinese, Japanese, Korean, accented Latin and an emoji.
#include "server/catalogue/DemoBuilders.h"

namespace demo {

namespace {

void addUser(CatalogueData& data, User user, const std::string& caption) {
    user.avatarPicId = data.addPicture("USER", caption, PictureFormat::Png, 300, 300);
    user.backgroundPicId = data.addPicture("BACKDROP", caption, PictureFormat::Jpeg, 1280, 720);
    data.users.push_back(std::move(user));
}

void addArtist(CatalogueData& data, Artist artist, int number, PictureFormat format) {
    artist.picId = data.addPicture("ARTIST", std::to_string(number), format, 640, 640);
    data.artists.push_back(std::move(artist));
}

}  // namespace

void addPeople(CatalogueData& data) {
    data.defaultAvatarPicId = data.addPicture("NO PHOTO", "", PictureFormat::Jpeg, 300, 300);

    addUser(data,
            {.userId = kDemoUser,
             .nickname = "Mivra演示用户",
             .signature = "用耳朵旅行。",
             .gender = 2,
             .birthday = dateMs(1998, 7, 12),
             .createTime = dateMs(2016, 3, 1)},
            "DEMO");
    addUser(data,
            {.userId = kEditorUser,
             .nickname = "云村小编",
             .signature = "每天为你挑选好音乐",
             .gender = 1,
             .createTime = dateMs(2014, 1, 1),
             .userType = 10,
             .authStatus = 1},
            "EDITOR");
    addUser(data,
            {.userId = kNightOwlUser,
             .nickname = "夜猫子DJ",
             .signature = "凌晨三点的电台",
             .gender = 1,
             .province = 310000,
             .city = 310101,
             .createTime = dateMs(2017, 9, 9)},
            "NIGHT OWL");
    addUser(data,
            {.userId = kTravellerUser,
             .nickname = "旅行的耳朵",
             .signature = "在路上，听世界",
             .gender = 2,
             .province = 440000,
             .city = 440300,
             .createTime = dateMs(2018, 5, 20)},
            "TRAVELLER");
    addUser(data,
            {.userId = kEveUser,
             .nickname = "Ève Marchand",
             .signature = "Musique, café et pluie.",
             .gender = 2,
             .province = 1000000,
             .city = 1010000,
             .createTime = dateMs(2019, 2, 14)},
            "EVE");
    addUser(data,
            {.userId = kLinXiaUser,
             .nickname = "林夏",
             .signature = "新专辑《晚风》上线啦",
             .gender = 2,
             .createTime = dateMs(2017, 6, 1),
             .userType = 4,
             .authStatus = 1},
            "LIN XIA");
    addUser(data,
            {.userId = kShirakawaUser,
             .nickname = "白川ゆき_official",
             .signature = "雪の街から、こんにちは。",
             .gender = 2,
             .province = 1000000,
             .city = 1010000,
             .createTime = dateMs(2019, 12, 1),
             .userType = 4,
             .authStatus = 1},
            "YUKI");
    addUser(data,
            {.userId = kZoeUser,
             .nickname = "Zoé Lefèvre",
             .signature = "Chanteuse. Paris ↔ Shanghai.",
             .gender = 2,
             .province = 1000000,
             .city = 1010000,
             .createTime = dateMs(2018, 10, 10),
             .userType = 4,
             .authStatus = 1},
            "ZOE");
    data.demoAccountUserId = kDemoUser;

    addArtist(data,
              {.id = kLinXia,
               .name = "林夏",
               .alias = {"Lin Xia"},
               .transNames = {"Summer Lin"},
               .briefDesc = "林夏，华语创作歌手，用温柔的声音写城市里的夏天。\n代表作《夏日来信》《城市之光》。",
               .userId = kLinXiaUser,
               .identity = "网易音乐人"},
              1, PictureFormat::Png);
    addArtist(data,
              {.id = kZhouYe,
               .name = "周野",
               .alias = {"Zhou Ye"},
               .briefDesc = "周野，摇滚乐手，常年在路上巡演，留下了五十场现场影像。"},
              2, PictureFormat::Jpeg);
    addArtist(data,
              {.id = kGalaxyTravellers,
               .name = "星河旅人",
               .alias = {"Galaxy Travellers"},
               .briefDesc = "来自杭州的独立乐队，擅长太空感的吉他音色。"},
              3, PictureFormat::Jpeg);
    addArtist(data,
              {.id = kNanFeng,
               .name = "南风",
               .alias = {"Nan Feng"},
               .briefDesc = "古风音乐人，以笛与古筝入曲，写长安旧梦与江南烟雨。"},
              4, PictureFormat::Jpeg);
    addArtist(data,
              {.id = kShirakawa,
               .name = "白川ゆき",
               .alias = {"Yuki Shirakawa"},
               .transNames = {"白川雪"},
               .briefDesc = "日本のシンガーソングライター。冬の街をテーマに歌う。",
               .userId = kShirakawaUser,
               .identity = "日本歌手"},
              5, PictureFormat::Png);
    addArtist(data,
              {.id = kDawnSignal,
               .name = "夜明けシグナル",
               .alias = {"Dawn Signal"},
               .transNames = {"黎明信号"},
               .briefDesc = "東京発の四人組バンド。"},
              6, PictureFormat::Jpeg);
    addArtist(data,
              {.id = kHanByeol,
               .name = "한별",
               .alias = {"Han Byeol"},
               .transNames = {"韩星"},
               .briefDesc = "한국의 싱어송라이터. 별과 여름을 노래한다."},
              7, PictureFormat::Png);
    addArtist(data,
              {.id = kMilkyWayBand,
               .name = "은하수 밴드",
               .alias = {"Milky Way Band"},
               .transNames = {"银河乐队"},
               .briefDesc = "서울에서 온 드림팝 밴드."},
              8, PictureFormat::Jpeg);
    addArtist(data,
              {.id = kZoe,
               .name = "Zoé Lefèvre",
               .alias = {"佐伊"},
               .briefDesc = "Chanteuse française. Elle chante « Café Lumière » en français et en chinois.",
               .userId = kZoeUser,
               .identity = "欧美歌手"},
              9, PictureFormat::Png);
    addArtist(data,
              {.id = kNorthboundEcho,
               .name = "Northbound Echo",
               .transNames = {"北行回声"},
               .briefDesc = "An indie folk trio writing songs for long drives."},
              10, PictureFormat::Jpeg);
    addArtist(data,
              {.id = kMoonlightRadio,
               .name = "月光🌙电台",
               .alias = {"Moonlight Radio"},
               .briefDesc = "电子二人组，深夜的合成器与城市霓虹。"},
              11, PictureFormat::Png);
    addArtist(data,
              {.id = kMcArnold, .name = "MC阿诺", .alias = {"MC Arnold"}, .briefDesc = "说唱歌手，街角长大的孩子。"},
              12, PictureFormat::Jpeg);
    addArtist(data,
              {.id = kEtudeStudio,
               .name = "练习曲工作室",
               .alias = {"Étude Studio"},
               .briefDesc = "五百首钢琴练习曲，二十五辑，一辑二十首。"},
              13, PictureFormat::Jpeg);
}

}  // namespace demo
