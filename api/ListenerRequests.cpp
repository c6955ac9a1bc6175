// What the service keeps for a listener: daily songs, the personal FM
// stream and its bin, liked songs and the play record.
#include "api/AnswerReading.h"
#include "api/CloudApiClient.h"

namespace {

// Songs in the detail form ("ar" artists), the first two artists joined.
std::vector<SongItem> readDetailSongs(const JsonDocument& answer, std::string_view arrayPath, std::string_view below) {
    const std::string prefix = below.empty() ? std::string() : std::string(below) + ".";
    const std::string id = prefix + "id", name = prefix + "name", first = prefix + "ar[0].name",
                      second = prefix + "ar[1].name", album = prefix + "al.name", cover = prefix + "al.picUrl",
                      duration = prefix + "dt";
    return readMembers<SongItem>(answer, arrayPath,
                                 {{&SongItem::id, id},
                                  {&SongItem::name, name},
                                  {&SongItem::artists, first},
                                  {&SongItem::artists, second, FieldRead::SecondArtist},
                                  {&SongItem::album, album},
                                  {&SongItem::coverUrl, cover},
                                  {&SongItem::durationMs, duration}});
}

}  // namespace

std::vector<SongItem> CloudApiClient::fetchDailySongs(const std::string& cookie, ServiceStatus* status) const {
    const JsonDocument answer = fetch({ServiceRoute::DailySongs, {{"timestamp", timestampMs()}}, cookie, true}, status);
    return readDetailSongs(answer, "data.dailySongs", {});
}

// The FM answer gives its songs in the older form, with "artists".
std::vector<SongItem> CloudApiClient::fetchPersonalFm(const std::string& cookie, ServiceStatus* status) const {
    const JsonDocument answer = fetch({ServiceRoute::PersonalFm, {{"timestamp", timestampMs()}}, cookie, true}, status);
    return readMembers<SongItem>(answer, "data",
                                 {{&SongItem::id, "id"},
                                  {&SongItem::name, "name"},
                                  {&SongItem::artists, "artists[0].name"},
                                  {&SongItem::artists, "artists[1].name", FieldRead::SecondArtist},
                                  {&SongItem::album, "album.name"},
                                  {&SongItem::coverUrl, "album.picUrl"},
                                  {&SongItem::durationMs, "duration"}});
}

bool CloudApiClient::trashFmSong(const std::string& id, const std::string& cookie) const {
    const JsonDocument answer =
        fetch({ServiceRoute::FmTrash, {{"id", id}, {"timestamp", timestampMs()}}, cookie, true});
    return answer.getText("code") == "200";
}

bool CloudApiClient::likeSong(const std::string& id, bool like, const std::string& cookie) const {
    const JsonDocument answer = fetch({ServiceRoute::LikeSong,
                                       {{"id", id}, {"like", like ? "true" : "false"}, {"timestamp", timestampMs()}},
                                       cookie,
                                       true});
    return answer.getText("code") == "200";
}

std::vector<std::string> CloudApiClient::fetchLikedSongIds(const std::string& userId, const std::string& cookie,
                                                           ServiceStatus* status) const {
    const JsonDocument answer =
        fetch({ServiceRoute::LikedSongIds, {{"uid", userId}, {"timestamp", timestampMs()}}, cookie, true}, status);
    std::vector<std::string> ids;
    const int count = answer.count("ids");
    for (int i = 0; i < count; ++i) {
        std::string id = answer.getText("ids[" + std::to_string(i) + "]");
        if (!id.empty()) ids.push_back(std::move(id));
    }
    return ids;
}

// "type" 1 asks for the week's record alone (0 would be every week's).
std::vector<SongItem> CloudApiClient::fetchPlayRecord(const std::string& userId, const std::string& cookie,
                                                      ServiceStatus* status) const {
    const JsonDocument answer =
        fetch({ServiceRoute::PlayRecord, {{"uid", userId}, {"type", "1"}, {"timestamp", timestampMs()}}, cookie, true},
              status);
    return readDetailSongs(answer, "weekData", "song");
}
