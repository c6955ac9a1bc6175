// The search, playlist, chart and artist requests, and the picture download.
#include "api/AnswerReading.h"
#include "api/CloudApiClient.h"
#include "api/ServiceRequest.h"
#include "net/HttpClient.h"

namespace {

// The search keyword, every byte of its UTF-8 form percent-encoded where a
// URL carries it.
QueryValue keywordValue(std::string_view keyword) { return {"keywords", std::string(keyword), ValueEncoding::Keyword}; }

std::vector<CoverItem> readPlaylistCovers(const JsonDocument& answer, std::string_view arrayPath) {
    return readCoverItems(answer, arrayPath,
                          {{CoverField::Picture, "coverImgUrl"}, {CoverField::Id, "id"}, {CoverField::Name, "name"}});
}

// Songs in the detail form that playlist tracks and album songs share.
std::vector<SongItem> readTracks(const JsonDocument& answer, std::string_view arrayPath) {
    return readMembers<SongItem>(answer, arrayPath,
                                 {{&SongItem::name, "name"},
                                  {&SongItem::artists, "ar[0].name"},
                                  {&SongItem::id, "id"},
                                  {&SongItem::album, "al.name"},
                                  {&SongItem::coverUrl, "al.picUrl"},
                                  {&SongItem::durationMs, "dt"}});
}

}  // namespace

std::vector<SongItem> CloudApiClient::searchSongs(std::string_view keyword, ServiceStatus* status) const {
    const JsonDocument answer =
        fetch({ServiceRoute::Search, {keywordValue(keyword), {"type", "1"}, {"limit", "18"}}}, status);
    return readMembers<SongItem>(answer, "result.songs",
                                 {{&SongItem::id, "id"},
                                  {&SongItem::name, "name"},
                                  {&SongItem::artists, "artists[0].name"},
                                  {&SongItem::artists, "artists[1].name", FieldRead::SecondArtist},
                                  {&SongItem::album, "album.name"},
                                  {&SongItem::durationMs, "duration"}});
}

std::vector<CoverItem> CloudApiClient::searchArtists(std::string_view keyword, int limit, ServiceStatus* status) const {
    const JsonDocument answer = fetch(
        {ServiceRoute::Search, {keywordValue(keyword), {"type", "100"}, {"limit", std::to_string(limit)}}}, status);
    return readCoverItems(answer, "result.artists",
                          {{CoverField::Picture, "img1v1Url"}, {CoverField::Id, "id"}, {CoverField::Name, "name"}});
}

std::vector<CoverItem> CloudApiClient::searchAlbums(std::string_view keyword, ServiceStatus* status) const {
    const JsonDocument answer =
        fetch({ServiceRoute::Search, {keywordValue(keyword), {"type", "10"}, {"limit", "3"}}}, status);
    return readCoverItems(answer, "result.albums",
                          {{CoverField::Picture, "picUrl"},
                           {CoverField::Name, "name"},
                           {CoverField::Id, "id"},
                           {CoverField::Subtitle, "artist.name"}});
}

std::vector<CoverItem> CloudApiClient::searchPlaylists(std::string_view keyword, ServiceStatus* status) const {
    const JsonDocument answer =
        fetch({ServiceRoute::Search, {keywordValue(keyword), {"type", "1000"}, {"limit", "12"}}}, status);
    return readPlaylistCovers(answer, "result.playlists");
}

std::vector<CoverItem> CloudApiClient::fetchAllPlaylists(const std::string& cookie, ServiceStatus* status) const {
    const JsonDocument answer = fetch({ServiceRoute::TopPlaylist, {{"limit", "100"}}, cookie, true}, status);
    return readPlaylistCovers(answer, "playlists");
}

std::vector<CoverItem> CloudApiClient::fetchPersonalizedPlaylists(const std::string& cookie,
                                                                  ServiceStatus* status) const {
    const JsonDocument answer = fetch({ServiceRoute::Personalized, {{"limit", "100"}}, cookie, true}, status);
    return readCoverItems(answer, "result",
                          {{CoverField::Picture, "picUrl"}, {CoverField::Id, "id"}, {CoverField::Name, "name"}});
}

std::vector<CoverItem> CloudApiClient::fetchHighQualityPlaylists(ServiceStatus* status) const {
    const JsonDocument answer = fetch({ServiceRoute::HighQualityPlaylists, {{"limit", "100"}}}, status);
    return readPlaylistCovers(answer, "playlists");
}

std::vector<CoverItem> CloudApiClient::fetchCategoryPlaylists(std::string_view category, ServiceStatus* status) const {
    const JsonDocument answer =
        fetch({ServiceRoute::TopPlaylist, {{"cat", std::string(category), ValueEncoding::Keyword}, {"limit", "100"}}},
              status);
    return readPlaylistCovers(answer, "playlists");
}

std::vector<CoverItem> CloudApiClient::fetchToplists(ServiceStatus* status) const {
    const JsonDocument answer = fetch({ServiceRoute::Toplist, {}, {}, false, RequestHeaders::BrowserAgent}, status);
    return readCoverItems(answer, "list",
                          {{CoverField::Name, "name"}, {CoverField::Id, "id"}, {CoverField::Picture, "coverImgUrl"}});
}

PlaylistDetail CloudApiClient::fetchPlaylistDetail(const std::string& id, const std::string& cookie,
                                                   ServiceStatus* status) const {
    const JsonDocument answer =
        fetch({ServiceRoute::PlaylistDetail, {{"id", id}}, cookie, true, RequestHeaders::BrowserAgent}, status);
    PlaylistDetail detail;
    detail.name = answer.getText("playlist.name");
    detail.creatorNickname = answer.getText("playlist.creator.nickname");
    detail.coverUrl = answer.getText("playlist.coverImgUrl");
    detail.description = answer.getText("playlist.description");
    detail.creatorId = answer.getText("playlist.creator.userId");
    detail.subscribed = answer.getText("playlist.subscribed") == "true";
    return detail;
}

std::vector<SongItem> CloudApiClient::fetchPlaylistTracks(const std::string& id, int limit, int offset,
                                                          const std::string& cookie, ServiceStatus* status) const {
    const JsonDocument answer =
        fetch({ServiceRoute::PlaylistTracks,
               {{"id", id}, {"limit", std::to_string(limit)}, {"offset", std::to_string(offset)}},
               cookie,
               true,
               RequestHeaders::BrowserAgent},
              status);
    return readTracks(answer, "songs");
}

ArtistDetail CloudApiClient::fetchArtistDetail(const std::string& id, ServiceStatus* status) const {
    const JsonDocument answer =
        fetch({ServiceRoute::ArtistDetail, {{"id", id}}, {}, false, RequestHeaders::BrowserAgent}, status);
    ArtistDetail detail;
    detail.name = answer.getText("data.artist.name");
    // An artist with a user account shows its avatar, any other its cover.
    const bool hasAvatar = !answer.getText("data.user.avatarUrl").empty();
    detail.pictureUrl = answer.getText(hasAvatar ? "data.user.avatarUrl" : "data.artist.cover");
    detail.pictureUrl += kCoverSizeSuffix;
    detail.identity = answer.getText("data.identify.imageDesc");
    detail.description = answer.getText("data.artist.briefDesc");
    return detail;
}

std::vector<CoverItem> CloudApiClient::fetchArtistAlbums(const std::string& id, int limit,
                                                         ServiceStatus* status) const {
    const JsonDocument answer = fetch({ServiceRoute::ArtistAlbums,
                                       {{"id", id}, {"limit", std::to_string(limit)}, {"timestamp", timestampMs()}},
                                       {},
                                       false,
                                       RequestHeaders::BrowserAgent},
                                      status);
    return readCoverItems(answer, "hotAlbums",
                          {{CoverField::Name, "name"}, {CoverField::Picture, "picUrl"}, {CoverField::Id, "id"}},
                          kCoverSizeSuffix);
}

std::vector<CoverItem> CloudApiClient::fetchArtistMvs(const std::string& id, int limit, ServiceStatus* status) const {
    const JsonDocument answer = fetch({ServiceRoute::ArtistMvs,
                                       {{"id", id}, {"limit", std::to_string(limit)}, {"timestamp", timestampMs()}},
                                       {},
                                       false,
                                       RequestHeaders::BrowserAgent},
                                      status);
    return readCoverItems(answer, "mvs",
                          {{CoverField::Name, "name"}, {CoverField::Picture, "imgurl16v9"}, {CoverField::Id, "id"}});
}

std::vector<CoverItem> CloudApiClient::fetchAllArtistMvs(const std::string& id, ServiceStatus* status) const {
    const JsonDocument answer = fetch({ServiceRoute::ArtistMvs, {{"id", id}, {"limit", "50"}}}, status);
    return readCoverItems(answer, "mvs",
                          {{CoverField::Picture, "imgurl16v9"}, {CoverField::Id, "id"}, {CoverField::Name, "name"}});
}

std::vector<SongItem> CloudApiClient::fetchArtistTopSongs(const std::string& id, ServiceStatus* status) const {
    const JsonDocument answer = fetch({ServiceRoute::ArtistTopSongs, {{"id", id}}}, status);
    return readTracks(answer, "songs");
}

// The songs come beside the album record, not inside it.
AlbumDetail CloudApiClient::fetchAlbum(const std::string& id, ServiceStatus* status) const {
    const JsonDocument answer =
        fetch({ServiceRoute::Album, {{"id", id}}, {}, false, RequestHeaders::BrowserAgent}, status);
    AlbumDetail album;
    album.name = answer.getText("album.name");
    album.coverUrl = answer.getText("album.picUrl");
    album.artistName = answer.getText("album.artist.name");
    album.artistId = answer.getText("album.artist.id");
    album.publishTime = answer.getText("album.publishTime");
    album.company = answer.getText("album.company");
    album.description = answer.getText("album.description");
    album.songs = readTracks(answer, "songs");
    return album;
}

std::string CloudApiClient::fetchPicture(const std::string& url) const {
    return HttpClient::fetchPicture(makeGetRequest(url)).bodyBytes;
}
