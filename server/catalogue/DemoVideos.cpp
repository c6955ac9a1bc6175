// The demo catalogue's music videos: one or two per artist and fifty for
// 周野, whose tour left a video of every show.
#include "server/catalogue/DemoBuilders.h"

namespace demo {

namespace {

void addMv(CatalogueData& data, Id id, std::string name, Id artist, std::string date, std::int64_t playCount,
           std::string briefDesc, int number) {
    Mv mv;
    mv.id = id;
    mv.name = std::move(name);
    mv.artistId = artist;
    mv.picId = data.addPicture("MV", std::to_string(number), PictureFormat::Jpeg, 640, 360);
    mv.playCount = playCount;
    mv.publishDate = std::move(date);
    mv.briefDesc = std::move(briefDesc);
    data.mvs.push_back(std::move(mv));
}

}  // namespace

void addVideos(CatalogueData& data) {
    int number = 0;
    addMv(data, 10900001, "夏日来信", kLinXia, "2019-07-05", 2310456, "林夏《夏日来信》官方MV", ++number);
    addMv(data, 10900002, "野火", kZhouYe, "2018-04-10", 1876002, "", ++number);
    addMv(data, 10900003, "夜明け前", kShirakawa, "2021-12-30", 987654, "白川ゆき「夜明け前」Music Video", ++number);
    addMv(data, 10900004, "너에게 가는 길", kHanByeol, "2022-08-20", 1543210, "한별 '너에게 가는 길' MV", ++number);
    addMv(data, 10900005, "Northbound", kNorthboundEcho, "2023-11-10", 456789, "", ++number);
    addMv(data, 10900006, "Neon 🌙 Drive", kMoonlightRadio, "2024-08-20", 3456789, "霓虹与月光的午夜公路", ++number);
    addMv(data, 10900007, "街角", kMcArnold, "2024-01-20", 765432, "", ++number);
    addMv(data, 10900008, "雪の街で (Live)", kShirakawa, "2022-02-01", 345678, "東京公演より", ++number);
    addMv(data, 10900009, "长安旧梦", kNanFeng, "2022-03-01", 1234567, "南风《长安旧梦》古风MV", ++number);
    addMv(data, 10900010, "Café Lumière", kZoe, "2020-09-15", 2109876, "Clip officiel", ++number);
    addMv(data, 10900011, "星河", kGalaxyTravellers, "2020-11-20", 654321, "", ++number);
    addMv(data, 10900012, "은하수", kMilkyWayBand, "2024-03-10", 876543, "은하수 밴드 'Milky Way' MV", ++number);

    const char* cities[] = {"北京", "上海", "广州", "深圳", "成都", "杭州", "武汉", "西安", "南京", "重庆"};
    for (int show = 1; show <= 49; ++show) {
        const std::int64_t date = dateMs(2019, 1, 1) + static_cast<std::int64_t>(show) * 14 * 86400000;
        addMv(data, kFirstLiveMv + show - 1,
              "野火巡演 Live · 第" + std::to_string(show) + "站 " + cities[(show - 1) % 10], kZhouYe, dateText(date),
              100000 + show * 3217, "周野「野火」巡演现场", ++number);
    }
}

}  // namespace demo
