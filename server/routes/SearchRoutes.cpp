#include <algorithm>
#include <cctype>

#include "server/HttpHelpers.h"
#include "server/json/AlbumJson.h"
#include "server/json/ArtistJson.h"
#include "server/json/PlaylistJson.h"
#include "server/json/SongJson.h"
#include "server/routes/Routes.h"

namespace {

constexpr std::size_t kDefaultLimit = 30;

std::string foldAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Whether any of the texts contains the keyword (ASCII letters in any case).
bool matches(const std::string& foldedKeyword, const std::vector<std::string>& texts) {
    if (foldedKeyword.empty()) return false;
    return std::any_of(texts.begin(), texts.end(), [&](const std::string& text) {
        return foldAscii(text).find(foldedKeyword) != std::string::npos;
    });
}

std::vector<std::string> artistNames(const Catalogue& catalogue, const std::vector<Id>& ids) {
    std::vector<std::string> names;
    for (Id id : ids) {
        if (const Artist* artist = catalogue.artist(id)) names.push_back(artist->name);
    }
    return names;
}

// One kind of search: which records match, how each is written, and the
// names of the answer's array and count.
template <typename Record>
Json searchResult(const std::vector<const Record*>& found, const Page& page, const char* arrayName,
                  const char* countName, const std::function<Json(const Record&)>& toJson) {
    bool more = false;
    const std::vector<const Record*> shown = sliceOf(found, page, &more);
    Json result = Json::object();
    // The service leaves the array out when nothing matched.
    if (!found.empty()) {
        Json items = Json::array();
        for (const Record* record : shown) items.push_back(toJson(*record));
        result["hasMore"] = more;
        result[arrayName] = items;
    }
    result[countName] = found.size();
    return result;
}

}  // namespace

void addSearchRoutes(RouteBook& server, const ServerContext& context) {
    server.Get("/search", [&context](const httplib::Request& request, httplib::Response& response) {
        const Catalogue& catalogue = context.catalogue;
        const JsonContext json = context.jsonFor(request);
        const std::string keyword = foldAscii(queryText(request, "keywords"));
        const Page page = pageOf(request, kDefaultLimit);
        const long long type = integerParam(request, "type").value_or(1);

        Json result;
        if (type == 1) {
            std::vector<const Song*> found;
            for (const Song& song : catalogue.songs()) {
                std::vector<std::string> texts = artistNames(catalogue, song.artistIds);
                texts.push_back(song.name);
                texts.insert(texts.end(), song.alias.begin(), song.alias.end());
                if (const Album* album = catalogue.album(song.albumId)) texts.push_back(album->name);
                if (matches(keyword, texts)) found.push_back(&song);
            }
            result = searchResult<Song>(found, page, "songs", "songCount",
                                        [&json](const Song& song) { return songSearchJson(json, song); });
        } else if (type == 10) {
            std::vector<const Album*> found;
            for (const Album& album : catalogue.albums()) {
                if (matches(keyword, {album.name}) || matches(keyword, artistNames(catalogue, {album.artistId}))) {
                    found.push_back(&album);
                }
            }
            result = searchResult<Album>(found, page, "albums", "albumCount",
                                         [&json](const Album& album) { return albumSearchJson(json, album); });
        } else if (type == 100) {
            std::vector<const Artist*> found;
            for (const Artist& artist : catalogue.artists()) {
                std::vector<std::string> texts = artist.alias;
                texts.push_back(artist.name);
                texts.insert(texts.end(), artist.transNames.begin(), artist.transNames.end());
                if (matches(keyword, texts)) found.push_back(&artist);
            }
            result = searchResult<Artist>(found, page, "artists", "artistCount",
                                          [&json](const Artist& artist) { return artistSearchJson(json, artist); });
        } else if (type == 1000) {
            std::vector<const Playlist*> found;
            for (const Playlist& playlist : catalogue.playlists()) {
                if (matches(keyword, {playlist.name})) found.push_back(&playlist);
            }
            result = searchResult<Playlist>(
                found, page, "playlists", "playlistCount",
                [&json](const Playlist& playlist) { return playlistSearchJson(json, playlist); });
        } else {
            replyJson(response, {{"code", 400}, {"msg", "不支持的搜索类型"}});
            return;
        }
        replyJson(response, {{"result", result}, {"code", 200}});
    });
}
