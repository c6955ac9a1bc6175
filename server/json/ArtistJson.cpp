#include "server/json/ArtistJson.h"

#include "server/json/UserJson.h"

namespace {

int albumSize(const Artist& artist) { return static_cast<int>(artist.albumIds.size()); }
int musicSize(const Artist& artist) { return static_cast<int>(artist.songIds.size()); }
int mvSize(const Artist& artist) { return static_cast<int>(artist.mvIds.size()); }

std::string firstOrEmpty(const std::vector<std::string>& texts) {
    return texts.empty() ? std::string() : texts.front();
}

}  // namespace

Json artistBriefJson(const Artist& artist) {
    return {{"id", artist.id}, {"name", artist.name}, {"tns", Json::array()}, {"alias", Json::array()}};
}

Json artistJson(const JsonContext& context, const Artist& artist) {
    Json json = {
        {"name", artist.name},
        {"id", artist.id},
        {"picId", artist.picId},
        {"img1v1Id", artist.picId},
        {"briefDesc", artist.briefDesc},
        {"picUrl", context.pictureUrl(artist.picId)},
        {"img1v1Url", context.pictureUrl(artist.picId)},
        {"albumSize", albumSize(artist)},
        {"alias", textArray(artist.alias)},
        {"trans", firstOrEmpty(artist.transNames)},
        {"musicSize", musicSize(artist)},
        {"topicPerson", 0},
        {"showPrivateMsg", nullptr},
        {"isSubed", nullptr},
    };
    if (artist.userId) json["accountId"] = *artist.userId;
    json.update(Json{
        {"picId_str", std::to_string(artist.picId)},
        {"img1v1Id_str", std::to_string(artist.picId)},
        {"transNames", artist.transNames.empty() ? Json(nullptr) : textArray(artist.transNames)},
        {"followed", false},
        {"mvSize", mvSize(artist)},
        {"publishTime", nullptr},
        {"identifyTag", nullptr},
        {"alg", nullptr},
        {"fansCount", nullptr},
        {"cityName", nullptr},
    });
    return json;
}

Json songSearchArtistJson(const JsonContext& context, const Artist& artist) {
    return {
        {"id", artist.id},      {"name", artist.name},
        {"picUrl", nullptr},    {"alias", Json::array()},
        {"albumSize", 0},       {"picId", 0},
        {"fansGroup", nullptr}, {"img1v1Url", context.pictureUrl(context.catalogue.defaultAvatarPicId())},
        {"img1v1", 0},          {"trans", nullptr},
    };
}

Json artistSearchJson(const JsonContext& context, const Artist& artist) {
    Json json = {
        {"id", artist.id},
        {"name", artist.name},
        {"picUrl", context.pictureUrl(artist.picId)},
        {"alias", textArray(artist.alias)},
        {"albumSize", albumSize(artist)},
        {"picId", artist.picId},
        {"fansGroup", nullptr},
        {"img1v1Url", context.pictureUrl(artist.picId)},
        {"img1v1", artist.picId},
        {"mvSize", mvSize(artist)},
        {"followed", false},
    };
    if (artist.userId) json["accountId"] = *artist.userId;
    json["alg"] = "alg_search_precise_artist_v2";
    json["trans"] = textOrNull(firstOrEmpty(artist.transNames));
    return json;
}

Json mvArtistJson(const JsonContext& context, const Artist& artist) {
    return {
        {"img1v1Id", artist.picId},
        {"topicPerson", 0},
        {"alias", textArray(artist.alias)},
        {"picId", artist.picId},
        {"briefDesc", ""},
        {"musicSize", musicSize(artist)},
        {"albumSize", albumSize(artist)},
        {"picUrl", context.pictureUrl(artist.picId)},
        {"img1v1Url", context.pictureUrl(artist.picId)},
        {"trans", firstOrEmpty(artist.transNames)},
        {"name", artist.name},
        {"id", artist.id},
        {"img1v1Id_str", std::to_string(artist.picId)},
    };
}

Json artistDetailJson(const JsonContext& context, const Artist& artist) {
    const Catalogue& catalogue = context.catalogue;
    Json data = {{"videoCount", mvSize(artist)}, {"vipRights", nullptr}};
    if (!artist.identity.empty()) {
        data["identify"] = {
            {"imageUrl", context.pictureUrl(artist.picId)},
            {"imageDesc", artist.identity},
            {"actionUrl", nullptr},
        };
    }
    data["artist"] = {
        {"id", artist.id},
        {"cover", context.pictureUrl(artist.picId)},
        {"avatar", context.pictureUrl(artist.picId)},
        {"name", artist.name},
        {"transNames", textArray(artist.transNames)},
        {"alias", textArray(artist.alias)},
        {"identities", Json::array()},
        {"identifyTag", nullptr},
        {"briefDesc", artist.briefDesc},
        {"rank", nullptr},
        {"albumSize", albumSize(artist)},
        {"musicSize", musicSize(artist)},
        {"mvSize", mvSize(artist)},
    };
    data.update(Json{
        {"blacklist", false},
        {"preferShow", 0},
        {"showPriMsg", false},
        {"secondaryExpertIdentiy", Json::array()},
        {"eventCount", 3 + artist.id % 40},
    });
    if (artist.userId) {
        if (const User* user = catalogue.user(*artist.userId)) data["user"] = artistUserJson(context, *user);
    }
    return data;
}
