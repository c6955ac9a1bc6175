#include "server/json/SongJson.h"

#include "server/json/ArtistJson.h"

namespace {

constexpr int kMp3Bitrate = 192000;
constexpr int kFlacNominalBitrate = 999000;

bool playable(const Song& song) { return song.hasStream && song.licensed; }

Json qualityJson(int bitrate, int durationMs) {
    return {{"br", bitrate},
            {"fid", 0},
            {"size", static_cast<std::int64_t>(bitrate) / 8 * durationMs / 1000},
            {"vd", -38000},
            {"sr", 44100}};
}

Json artistsOf(const JsonContext& context, const Song& song, bool searchForm) {
    Json artists = Json::array();
    for (Id id : song.artistIds) {
        if (const Artist* artist = context.catalogue.artist(id)) {
            artists.push_back(searchForm ? songSearchArtistJson(context, *artist) : artistBriefJson(*artist));
        }
    }
    return artists;
}

}  // namespace

Json songJson(const JsonContext& context, const Song& song) {
    const Album* album = context.catalogue.album(song.albumId);
    const int duration = context.catalogue.durationMs(song);
    Json albumBrief = {
        {"id", song.albumId},
        {"name", album ? album->name : std::string()},
        {"picUrl", album ? context.pictureUrl(album->picId) : std::string()},
        {"tns", Json::array()},
        {"pic_str", album ? std::to_string(album->picId) : std::string()},
        {"pic", album ? album->picId : 0},
    };
    return {
        {"name", song.name},
        {"id", song.id},
        {"pst", 0},
        {"t", 0},
        {"ar", artistsOf(context, song, false)},
        {"alia", textArray(song.alias)},
        {"pop", song.pop},
        {"st", 0},
        {"rt", ""},
        {"fee", song.fee},
        {"v", 12},
        {"crbt", nullptr},
        {"cf", ""},
        {"al", albumBrief},
        {"dt", duration},
        {"h", qualityJson(320000, duration)},
        {"m", qualityJson(kMp3Bitrate, duration)},
        {"l", qualityJson(128000, duration)},
        {"sq", qualityJson(kFlacNominalBitrate, duration)},
        {"hr", nullptr},
        {"a", nullptr},
        {"cd", "01"},
        {"no", song.trackNo},
        {"rtUrl", nullptr},
        {"ftype", 0},
        {"rtUrls", Json::array()},
        {"djId", 0},
        {"copyright", 1},
        {"s_id", 0},
        {"mark", 0},
        {"originCoverType", 1},
        {"originSongSimpleData", nullptr},
        {"tagPicList", nullptr},
        {"resourceState", true},
        {"version", 12},
        {"songJumpInfo", nullptr},
        {"entertainmentTags", nullptr},
        {"awardTags", nullptr},
        {"single", 0},
        {"noCopyrightRcmd",
         song.licensed ? Json(nullptr) : Json{{"type", 1}, {"typeDesc", "暂无版权"}, {"songId", nullptr}}},
        {"mv", song.mvId},
        {"rtype", 0},
        {"rurl", nullptr},
        {"mst", 9},
        {"cp", 1416682},
        {"publishTime", song.publishTime},
    };
}

Json privilegeJson(const Song& song) {
    const bool canPlay = playable(song);
    auto charge = [](int rate, int type) {
        return Json{{"rate", rate}, {"chargeUrl", nullptr}, {"chargeMessage", nullptr}, {"chargeType", type}};
    };
    return {
        {"id", song.id},
        {"fee", song.fee},
        {"payed", 0},
        {"st", canPlay ? 0 : -200},
        {"pl", canPlay ? 320000 : 0},
        {"dl", 0},
        {"sp", canPlay ? 7 : 0},
        {"cp", canPlay ? 1 : 0},
        {"subp", canPlay ? 1 : 0},
        {"cs", false},
        {"maxbr", kFlacNominalBitrate},
        {"fl", canPlay ? 320000 : 0},
        {"toast", false},
        {"flag", 4},
        {"preSell", false},
        {"playMaxbr", kFlacNominalBitrate},
        {"downloadMaxbr", kFlacNominalBitrate},
        {"maxBrLevel", "lossless"},
        {"playMaxBrLevel", "lossless"},
        {"downloadMaxBrLevel", "lossless"},
        {"plLevel", canPlay ? "exhigh" : "none"},
        {"dlLevel", "none"},
        {"flLevel", canPlay ? "exhigh" : "none"},
        {"rscl", nullptr},
        {"freeTrialPrivilege", {{"resConsumable", false}, {"userConsumable", false}, {"listenType", nullptr}}},
        {"rightSource", 0},
        {"chargeInfoList",
         Json::array({charge(128000, 0), charge(192000, 0), charge(320000, 0), charge(kFlacNominalBitrate, 1)})},
    };
}

Json songSearchJson(const JsonContext& context, const Song& song) {
    const Album* album = context.catalogue.album(song.albumId);
    const Artist* albumArtist = album ? context.catalogue.artist(album->artistId) : nullptr;
    Json albumJson = {
        {"id", song.albumId},
        {"name", album ? album->name : std::string()},
        {"artist", albumArtist ? songSearchArtistJson(context, *albumArtist) : Json(nullptr)},
        {"publishTime", album ? album->publishTime : 0},
        {"size", album ? static_cast<int>(album->songIds.size()) : 0},
        {"copyrightId", 7003},
        {"status", 1},
        {"picId", album ? album->picId : 0},
        {"mark", 0},
    };
    return {
        {"id", song.id},
        {"name", song.name},
        {"artists", artistsOf(context, song, true)},
        {"album", albumJson},
        {"duration", context.catalogue.durationMs(song)},
        {"copyrightId", 7003},
        {"status", 0},
        {"alias", textArray(song.alias)},
        {"rtype", 0},
        {"ftype", 0},
        {"mvid", song.mvId},
        {"fee", song.fee},
        {"rUrl", nullptr},
        {"mark", 0},
    };
}

StreamChoice chooseStream(const Song& song, const std::string& requestedLevel) {
    const bool lossless = requestedLevel.empty() ? song.flacByDefault
                                                 : requestedLevel == "lossless" || requestedLevel == "hires" ||
                                                       requestedLevel == "jymaster";
    if (lossless) return {AudioFormat::Flac, "lossless", "flac"};
    return {AudioFormat::Mp3, "higher", "mp3"};
}

Json songUrlJson(const JsonContext& context, const Song& song, const StreamChoice& choice, const MediaFile* file) {
    const bool available = song.hasStream && file != nullptr;
    const int duration = context.catalogue.durationMs(song);
    const std::int64_t bitrate =
        !available ? 0
        : choice.format == AudioFormat::Mp3
            ? kMp3Bitrate
            : static_cast<std::int64_t>(file->size * 8 * 1000 / static_cast<std::uintmax_t>(duration));
    return {
        {"id", song.id},
        {"url", available ? Json(context.songStreamUrl(song.id, choice.level, choice.extension)) : Json(nullptr)},
        {"br", bitrate},
        {"size", available ? file->size : 0},
        {"md5", available ? Json(file->md5) : Json(nullptr)},
        {"code", available ? 200 : 404},
        {"expi", 1200},
        {"type", available ? Json(choice.extension) : Json(nullptr)},
        {"gain", available ? -2.0235 : 0.0},
        {"peak", available ? 0.9999 : 0.0},
        {"fee", song.fee},
        {"uf", nullptr},
        {"payed", 0},
        {"flag", 4},
        {"canExtend", false},
        {"freeTrialInfo", nullptr},
        {"level", available ? Json(choice.level) : Json(nullptr)},
        {"encodeType", available ? Json(choice.extension) : Json(nullptr)},
        {"channelLayout", nullptr},
        {"freeTrialPrivilege",
         {{"resConsumable", false},
          {"userConsumable", false},
          {"listenType", nullptr},
          {"cannotListenReason", nullptr},
          {"playReason", nullptr}}},
        {"freeTimeTrialPrivilege",
         {{"resConsumable", false}, {"userConsumable", false}, {"type", 0}, {"remainTime", 0}}},
        {"urlSource", 0},
        {"rightSource", 0},
        {"podcastCtrp", nullptr},
        {"effectTypes", nullptr},
        {"time", available ? duration : 0},
    };
}
