#include "server/json/MvJson.h"

#include "server/json/ArtistJson.h"
#include "server/media/AudioClips.h"

namespace {

constexpr int kDurationMs = kMvVideoSeconds * 1000;

std::string artistName(const JsonContext& context, const Mv& mv) {
    const Artist* artist = context.catalogue.artist(mv.artistId);
    return artist ? artist->name : std::string();
}

}  // namespace

Json mvListJson(const JsonContext& context, const Mv& mv) {
    const std::string artist = artistName(context, mv);
    return {
        {"id", mv.id},
        {"cover", context.pictureUrl(mv.picId)},
        {"name", mv.name},
        {"playCount", mv.playCount},
        {"briefDesc", textOrNull(mv.briefDesc)},
        {"desc", nullptr},
        {"artistName", artist},
        {"artistId", mv.artistId},
        {"duration", kDurationMs},
        {"mark", 0},
        {"subed", false},
        {"artists",
         Json::array({Json{{"id", mv.artistId}, {"name", artist}, {"alias", Json::array()}, {"transNames", nullptr}}})},
    };
}

Json personalizedMvJson(const JsonContext& context, const Mv& mv) {
    const std::string artist = artistName(context, mv);
    return {
        {"id", mv.id},
        {"type", 5},
        {"name", mv.name},
        {"copywriter", mv.briefDesc.empty() ? mv.name : mv.briefDesc},
        {"picUrl", context.pictureUrl(mv.picId)},
        {"canDislike", false},
        {"trackNumberUpdateTime", nullptr},
        {"duration", kDurationMs},
        {"playCount", mv.playCount},
        {"subed", false},
        {"artists", Json::array({Json{{"id", mv.artistId}, {"name", artist}}})},
        {"artistName", artist},
        {"artistId", mv.artistId},
        {"alg", "itembased"},
    };
}

Json artistMvJson(const JsonContext& context, const Mv& mv) {
    const Artist* artist = context.catalogue.artist(mv.artistId);
    return {
        {"id", mv.id},
        {"name", mv.name},
        {"status", 0},
        {"artistName", artist ? artist->name : std::string()},
        {"artist", artist ? mvArtistJson(context, *artist) : Json(nullptr)},
        {"imgurl16v9", context.pictureUrl(mv.picId)},
        {"imgurl", context.pictureUrl(mv.picId)},
        {"duration", kDurationMs},
        {"playCount", mv.playCount},
        {"publishTime", mv.publishDate},
        {"subed", false},
    };
}

Json mvUrlJson(const JsonContext& context, const Mv& mv, const MediaFile* video, std::int64_t unixSeconds) {
    return {
        {"id", mv.id},
        {"url", video ? Json(context.mvStreamUrl(mv.id, unixSeconds)) : Json(nullptr)},
        {"r", 360},
        {"size", video ? video->size : 0},
        {"md5", video ? video->md5 : std::string()},
        {"code", video ? 200 : 404},
        {"expi", 3600},
        {"fee", 0},
        {"mvFee", 0},
        {"st", 0},
        {"promotionVo", nullptr},
        {"msg", ""},
    };
}
