// The home page's curated parts of the demo catalogue: banners (one of them an
// external link), the recommended artists and the daily MV strip.
#include "server/catalogue/DemoBuilders.h"

namespace demo {

void addHome(CatalogueData& data) {
    auto bannerPicture = [&data](int number, PictureFormat format) {
        return data.addPicture("BANNER", std::to_string(number), format, 1080, 420);
    };
    data.banners = {
        {bannerPicture(1, PictureFormat::Jpeg), kSummerLetterSong, 1, "新歌首发", "red"},
        {bannerPicture(2, PictureFormat::Jpeg), kNeonDriveAlbum, 10, "新碟首发", "red"},
        {bannerPicture(3, PictureFormat::Jpeg), kSummerSoundsPlaylist, 1000, "歌单推荐", "blue"},
        {bannerPicture(4, PictureFormat::Jpeg), 10900004, 1004, "MV首发", "red"},
        {bannerPicture(5, PictureFormat::Png), 0, 3000, "活动", "blue", "https://example.com/mivra/summer-festival"},
        {bannerPicture(6, PictureFormat::Jpeg), kCafeLumiereSong, 1, "独家", "blue"},
        {bannerPicture(7, PictureFormat::Jpeg), kFiveHundredPlaylist, 1000, "", "blue"},
    };

    data.topArtistIds = {kLinXia,         kShirakawa, kHanByeol,         kZoe,        kZhouYe,       kMoonlightRadio,
                         kNorthboundEcho, kNanFeng,   kGalaxyTravellers, kDawnSignal, kMilkyWayBand, kMcArnold,
                         kEtudeStudio};
    data.dailyMvIds = {10900001, 10900004, 10900006, 10900010};
}

}  // namespace demo
