#include "server/json/AlbumJson.h"

#include "server/json/ArtistJson.h"

namespace {

Json artistOf(const JsonContext& context, const Album& album) {
    const Artist* artist = context.catalogue.artist(album.artistId);
    return artist ? artistJson(context, *artist) : Json(nullptr);
}

}  // namespace

Json albumJson(const JsonContext& context, const Album& album) {
    const Json artist = artistOf(context, album);
    return {
        {"songs", Json::array()},
        {"paid", false},
        {"onSale", false},
        {"mark", 0},
        {"awardTags", nullptr},
        {"blurPicUrl", context.pictureUrl(album.picId)},
        {"companyId", 0},
        {"pic", album.picId},
        {"alias", Json::array()},
        {"artists", Json::array({artist})},
        {"copyrightId", 7003},
        {"picId", album.picId},
        {"artist", artist},
        {"publishTime", album.publishTime},
        {"company", album.company},
        {"briefDesc", ""},
        {"picUrl", context.pictureUrl(album.picId)},
        {"commentThreadId", "R_AL_3_" + std::to_string(album.id)},
        {"tags", ""},
        {"description", album.description},
        {"status", 1},
        {"subType", album.subType},
        {"name", album.name},
        {"id", album.id},
        {"type", album.type},
        {"size", static_cast<int>(album.songIds.size())},
        {"picId_str", std::to_string(album.picId)},
    };
}

Json albumSearchJson(const JsonContext& context, const Album& album) {
    const Json artist = artistOf(context, album);
    return {
        {"name", album.name},
        {"id", album.id},
        {"type", album.type},
        {"size", static_cast<int>(album.songIds.size())},
        {"picId", album.picId},
        {"blurPicUrl", context.pictureUrl(album.picId)},
        {"companyId", 0},
        {"pic", album.picId},
        {"picUrl", context.pictureUrl(album.picId)},
        {"publishTime", album.publishTime},
        {"description", ""},
        {"tags", ""},
        {"company", album.company},
        {"briefDesc", ""},
        {"artist", artist},
        {"songs", nullptr},
        {"alias", Json::array()},
        {"status", 1},
        {"copyrightId", 7003},
        {"commentThreadId", "R_AL_3_" + std::to_string(album.id)},
        {"artists", Json::array({artist})},
        {"paid", false},
        {"onSale", false},
        {"picId_str", std::to_string(album.picId)},
        {"alg", "alg_album_basic"},
    };
}
