#include "server/json/PlaylistJson.h"

#include <algorithm>

#include "server/json/SongJson.h"
#include "server/json/UserJson.h"

namespace {

Json creatorOf(const JsonContext& context, const Playlist& playlist) {
    const User* user = context.catalogue.user(playlist.creatorId);
    return user ? creatorJson(context, *user) : Json(nullptr);
}

Json subscribedJson(SubscribedFlag subscribed) { return subscribed ? Json(*subscribed) : Json(nullptr); }

int trackCount(const Playlist& playlist) { return static_cast<int>(playlist.trackIds.size()); }

}  // namespace

Json playlistJson(const JsonContext& context, const Playlist& playlist, SubscribedFlag subscribed) {
    Json json = {
        {"name", playlist.name},
        {"id", playlist.id},
        {"trackNumberUpdateTime", playlist.updateTime},
        {"status", 0},
        {"userId", playlist.creatorId},
        {"createTime", playlist.createTime},
        {"updateTime", playlist.updateTime},
        {"subscribedCount", playlist.subscribedCount},
        {"trackCount", trackCount(playlist)},
        {"cloudTrackCount", 0},
        {"coverImgUrl", context.pictureUrl(playlist.coverPicId)},
        {"coverImgId", playlist.coverPicId},
        {"description", textOrNull(playlist.description)},
        {"tags", textArray(playlist.tags)},
        {"playCount", playlist.playCount},
        {"trackUpdateTime", playlist.updateTime},
        {"specialType", playlist.specialType},
        {"totalDuration", 0},
        {"creator", creatorOf(context, playlist)},
        {"tracks", nullptr},
        {"subscribers", Json::array()},
        {"subscribed", subscribedJson(subscribed)},
        {"commentThreadId", "A_PL_0_" + std::to_string(playlist.id)},
        {"newImported", false},
        {"adType", 0},
        {"highQuality", playlist.highQuality},
        {"privacy", 0},
        {"ordered", true},
        {"anonimous", false},
        {"coverStatus", 3},
        {"recommendInfo", nullptr},
        {"shareCount", playlist.shareCount},
        {"coverImgId_str", std::to_string(playlist.coverPicId)},
        {"commentCount", playlist.commentCount},
    };
    if (playlist.highQuality) {
        json["copywriter"] = playlist.copywriter;
        json["tag"] = playlist.tags.empty() ? std::string() : playlist.tags.front();
    }
    json["alg"] = "alg_sq_featured";
    return json;
}

Json personalizedPlaylistJson(const JsonContext& context, const Playlist& playlist) {
    return {
        {"id", playlist.id},
        {"type", 0},
        {"name", playlist.name},
        {"copywriter", playlist.copywriter},
        {"picUrl", context.pictureUrl(playlist.coverPicId)},
        {"canDislike", true},
        {"trackNumberUpdateTime", playlist.updateTime},
        {"playCount", playlist.playCount},
        {"trackCount", trackCount(playlist)},
        {"highQuality", playlist.highQuality},
        {"alg", "cityLevel_unknow"},
    };
}

Json toplistJson(const JsonContext& context, const Playlist& playlist) {
    Json json = {
        {"subscribers", Json::array()},
        {"subscribed", nullptr},
        {"creator", nullptr},
        {"artists", nullptr},
        {"tracks", nullptr},
        {"updateFrequency", playlist.updateFrequency},
        {"backgroundCoverId", 0},
        {"backgroundCoverUrl", nullptr},
        {"titleImage", 0},
        {"titleImageUrl", nullptr},
        {"englishTitle", nullptr},
        {"opRecommend", false},
        {"recommendInfo", nullptr},
        {"socialPlaylistCover", nullptr},
        {"tsTags", nullptr},
        {"algType", nullptr},
        {"originalCoverUrl", nullptr},
        {"topTrackIds", nullptr},
        {"playlistType", "TOPLIST"},
        {"uiPlaylistType", nullptr},
        {"highQuality", false},
        {"newImported", false},
        {"updateTime", playlist.updateTime},
        {"coverImgId", playlist.coverPicId},
        {"specialType", playlist.specialType},
        {"coverImgUrl", context.pictureUrl(playlist.coverPicId)},
        {"trackCount", trackCount(playlist)},
        {"commentThreadId", "A_PL_0_" + std::to_string(playlist.id)},
        {"privacy", 0},
        {"trackUpdateTime", playlist.updateTime},
        {"trackNumberUpdateTime", playlist.updateTime},
        {"playCount", playlist.playCount},
        {"adType", 0},
        {"subscribedCount", playlist.subscribedCount},
        {"cloudTrackCount", 0},
        {"createTime", playlist.createTime},
        {"ordered", true},
        {"description", textOrNull(playlist.description)},
        {"status", 0},
        {"tags", textArray(playlist.tags)},
        {"userId", playlist.creatorId},
        {"anonimous", false},
        {"coverImgId_str", std::to_string(playlist.coverPicId)},
        {"totalDuration", 0},
        {"name", playlist.name},
        {"id", playlist.id},
    };
    if (!playlist.toplistType.empty()) json["ToplistType"] = playlist.toplistType;
    return json;
}

Json playlistSearchJson(const JsonContext& context, const Playlist& playlist) {
    const User* user = context.catalogue.user(playlist.creatorId);
    Json creator =
        user ? Json{{"nickname", user->nickname}, {"userId", user->userId},         {"userType", user->userType},
                    {"avatarUrl", nullptr},       {"authStatus", user->authStatus}, {"expertTags", nullptr},
                    {"experts", nullptr}}
             : Json(nullptr);
    return {
        {"id", playlist.id},
        {"name", playlist.name},
        {"coverImgUrl", context.pictureUrl(playlist.coverPicId)},
        {"creator", creator},
        {"subscribed", false},
        {"trackCount", trackCount(playlist)},
        {"userId", playlist.creatorId},
        {"playCount", playlist.playCount},
        {"bookCount", playlist.subscribedCount},
        {"specialType", playlist.specialType},
        {"officialTags", nullptr},
        {"action", nullptr},
        {"actionType", nullptr},
        {"recommendText", nullptr},
        {"score", nullptr},
        {"description", textOrNull(playlist.description)},
        {"highQuality", playlist.highQuality},
        {"track", nullptr},
        {"alg", "alg_search_precise_playlist"},
    };
}

Json playlistDetailJson(const JsonContext& context, const Playlist& playlist, SubscribedFlag subscribed) {
    Json tracks = Json::array();
    const std::size_t fullTracks = std::min(playlist.trackIds.size(), kDetailTrackCount);
    for (std::size_t i = 0; i < fullTracks; ++i) {
        if (const Song* song = context.catalogue.song(playlist.trackIds[i])) tracks.push_back(songJson(context, *song));
    }
    Json trackIds = Json::array();
    for (Id id : playlist.trackIds) {
        trackIds.push_back({{"id", id},
                            {"v", 12},
                            {"t", 0},
                            {"at", playlist.updateTime},
                            {"alg", nullptr},
                            {"uid", playlist.creatorId},
                            {"rcmdReason", ""},
                            {"sc", nullptr},
                            {"f", nullptr},
                            {"sr", nullptr}});
    }
    return {
        {"id", playlist.id},
        {"name", playlist.name},
        {"coverImgId", playlist.coverPicId},
        {"coverImgUrl", context.pictureUrl(playlist.coverPicId)},
        {"coverImgId_str", std::to_string(playlist.coverPicId)},
        {"adType", 0},
        {"userId", playlist.creatorId},
        {"createTime", playlist.createTime},
        {"status", 0},
        {"opRecommend", false},
        {"highQuality", playlist.highQuality},
        {"newImported", false},
        {"updateTime", playlist.updateTime},
        {"trackCount", trackCount(playlist)},
        {"specialType", playlist.specialType},
        {"privacy", 0},
        {"trackUpdateTime", playlist.updateTime},
        {"commentThreadId", "A_PL_0_" + std::to_string(playlist.id)},
        {"playCount", playlist.playCount},
        {"trackNumberUpdateTime", playlist.updateTime},
        {"subscribedCount", playlist.subscribedCount},
        {"cloudTrackCount", 0},
        {"ordered", true},
        {"description", textOrNull(playlist.description)},
        {"tags", textArray(playlist.tags)},
        {"updateFrequency", textOrNull(playlist.updateFrequency)},
        {"backgroundCoverId", 0},
        {"backgroundCoverUrl", nullptr},
        {"titleImage", 0},
        {"titleImageUrl", nullptr},
        {"englishTitle", nullptr},
        {"officialPlaylistType", nullptr},
        {"copied", false},
        {"relateResType", nullptr},
        {"subscribers", Json::array()},
        {"subscribed", subscribedJson(subscribed)},
        {"creator", creatorOf(context, playlist)},
        {"tracks", tracks},
        {"videoIds", nullptr},
        {"videos", nullptr},
        {"trackIds", trackIds},
        {"bannedTrackIds", nullptr},
        {"mvResourceInfos", nullptr},
        {"shareCount", playlist.shareCount},
        {"commentCount", playlist.commentCount},
        {"remixVideo", nullptr},
        {"sharedUsers", nullptr},
        {"historySharedUsers", nullptr},
        {"gradeStatus", "NONE"},
        {"score", nullptr},
        {"algTags", nullptr},
    };
}
