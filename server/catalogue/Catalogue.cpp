#include "server/catalogue/Catalogue.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "server/media/AudioClips.h"

namespace {

template <typename T, typename GetId>
void indexRecords(const std::vector<T>& records, std::unordered_map<Id, const T*>& index, GetId getId) {
    index.clear();
    for (const T& record : records) {
        if (!index.emplace(getId(record), &record).second) {
            throw std::logic_error("demo catalogue: duplicate id " + std::to_string(getId(record)));
        }
    }
}

template <typename T>
const T* lookUp(const std::unordered_map<Id, const T*>& index, Id id) {
    const auto found = index.find(id);
    return found == index.end() ? nullptr : found->second;
}

void require(bool present, const std::string& what, Id id) {
    if (!present) throw std::logic_error("demo catalogue: " + what + " " + std::to_string(id) + " does not exist");
}

}  // namespace

Id CatalogueData::addPicture(std::string title, std::string subtitle, PictureFormat format, int width, int height) {
    // Picture ids look like the service's: large numbers beyond 2^53.
    const Id id = 109951163000000001 + static_cast<Id>(pictures.size());
    // Golden-ratio steps spread the hues of consecutive pictures apart.
    const double hue = std::fmod(pictures.size() * 0.6180339887, 1.0);
    pictures.push_back({id, std::move(title), std::move(subtitle), format, width, height, hue});
    return id;
}

Catalogue::Catalogue(CatalogueData data) : data_(std::move(data)) {
    buildIndexes();
    checkReferences();
    linkRelations();
}

void Catalogue::buildIndexes() {
    indexRecords(data_.pictures, pictures_, [](const Picture& p) { return p.id; });
    indexRecords(data_.users, users_, [](const User& u) { return u.userId; });
    indexRecords(data_.artists, artists_, [](const Artist& a) { return a.id; });
    indexRecords(data_.albums, albums_, [](const Album& a) { return a.id; });
    indexRecords(data_.songs, songs_, [](const Song& s) { return s.id; });
    indexRecords(data_.mvs, mvs_, [](const Mv& m) { return m.id; });
    indexRecords(data_.playlists, playlists_, [](const Playlist& p) { return p.id; });
}

void Catalogue::checkReferences() const {
    auto picture = [this](Id id) { require(lookUp(pictures_, id) != nullptr, "picture", id); };
    for (const User& user : data_.users) {
        picture(user.avatarPicId);
        picture(user.backgroundPicId);
    }
    for (const Artist& artist : data_.artists) {
        picture(artist.picId);
        if (artist.userId) require(lookUp(users_, *artist.userId) != nullptr, "user", *artist.userId);
    }
    for (const Album& album : data_.albums) {
        picture(album.picId);
        require(lookUp(artists_, album.artistId) != nullptr, "artist", album.artistId);
    }
    for (const Song& song : data_.songs) {
        require(!song.artistIds.empty(), "artist of song", song.id);
        for (Id artist : song.artistIds) require(lookUp(artists_, artist) != nullptr, "artist", artist);
        require(lookUp(albums_, song.albumId) != nullptr, "album", song.albumId);
        if (song.mvId) require(lookUp(mvs_, song.mvId) != nullptr, "MV", song.mvId);
        require(song.clip >= 0 && song.clip < static_cast<int>(audioClips().size()), "clip of song", song.id);
    }
    for (const Mv& mv : data_.mvs) {
        picture(mv.picId);
        require(lookUp(artists_, mv.artistId) != nullptr, "artist", mv.artistId);
    }
    for (const Playlist& playlist : data_.playlists) {
        picture(playlist.coverPicId);
        require(lookUp(users_, playlist.creatorId) != nullptr, "user", playlist.creatorId);
        for (Id track : playlist.trackIds) require(lookUp(songs_, track) != nullptr, "song", track);
    }
    for (const Banner& banner : data_.banners) picture(banner.picId);
    for (Id id : data_.topArtistIds) require(lookUp(artists_, id) != nullptr, "artist", id);
    for (Id id : data_.personalizedPlaylistIds) require(lookUp(playlists_, id) != nullptr, "playlist", id);
    for (Id id : data_.toplistIds) require(lookUp(playlists_, id) != nullptr, "playlist", id);
    for (Id id : data_.dailyMvIds) require(lookUp(mvs_, id) != nullptr, "MV", id);
    for (const std::vector<Id>* list : {&data_.dailySongIds, &data_.fmSongIds, &data_.weekRecordIds})
        for (Id id : *list) require(lookUp(songs_, id) != nullptr, "song", id);
    require(lookUp(users_, data_.demoAccountUserId) != nullptr, "user", data_.demoAccountUserId);
    picture(data_.defaultAvatarPicId);
}

void Catalogue::linkRelations() {
    std::unordered_map<Id, Artist*> artists;
    for (Artist& artist : data_.artists) artists[artist.id] = &artist;
    std::unordered_map<Id, Album*> albums;
    for (Album& album : data_.albums) albums[album.id] = &album;

    for (const Song& song : data_.songs) {
        albums[song.albumId]->songIds.push_back(song.id);
        for (Id artist : song.artistIds) artists[artist]->songIds.push_back(song.id);
    }
    for (const Album* album : newestAlbums()) artists[album->artistId]->albumIds.push_back(album->id);
    for (const Mv* mv : mvsNewestFirst()) artists[mv->artistId]->mvIds.push_back(mv->id);
}

const Picture* Catalogue::picture(Id id) const { return lookUp(pictures_, id); }
const User* Catalogue::user(Id id) const { return lookUp(users_, id); }
const Artist* Catalogue::artist(Id id) const { return lookUp(artists_, id); }
const Album* Catalogue::album(Id id) const { return lookUp(albums_, id); }
const Song* Catalogue::song(Id id) const { return lookUp(songs_, id); }
const Mv* Catalogue::mv(Id id) const { return lookUp(mvs_, id); }
const Playlist* Catalogue::playlist(Id id) const { return lookUp(playlists_, id); }

std::vector<const Album*> Catalogue::newestAlbums() const {
    std::vector<const Album*> albums;
    for (const Album& album : data_.albums) albums.push_back(&album);
    std::stable_sort(albums.begin(), albums.end(),
                     [](const Album* a, const Album* b) { return a->publishTime > b->publishTime; });
    return albums;
}

std::vector<const Mv*> Catalogue::mvsNewestFirst() const {
    std::vector<const Mv*> mvs;
    for (const Mv& mv : data_.mvs) mvs.push_back(&mv);
    std::stable_sort(mvs.begin(), mvs.end(), [](const Mv* a, const Mv* b) { return a->publishDate > b->publishDate; });
    return mvs;
}

std::vector<const Playlist*> Catalogue::playlistsInCategory(const std::string& category) const {
    std::vector<const Playlist*> found;
    for (const Playlist& playlist : data_.playlists) {
        if (playlist.specialType != 0) continue;
        if (category == "全部" ||
            std::find(playlist.tags.begin(), playlist.tags.end(), category) != playlist.tags.end()) {
            found.push_back(&playlist);
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Playlist* a, const Playlist* b) { return a->playCount > b->playCount; });
    return found;
}

std::vector<const Playlist*> Catalogue::highQualityPlaylists() const {
    std::vector<const Playlist*> found;
    for (const Playlist* playlist : playlistsInCategory("全部")) {
        if (playlist->highQuality) found.push_back(playlist);
    }
    return found;
}

std::vector<const Playlist*> Catalogue::playlistsCreatedBy(Id userId) const {
    std::vector<const Playlist*> found;
    for (const Playlist& playlist : data_.playlists) {
        if (playlist.creatorId == userId && playlist.specialType != 10) found.push_back(&playlist);
    }
    std::stable_partition(found.begin(), found.end(), [](const Playlist* p) { return p->specialType == 5; });
    return found;
}

int Catalogue::durationMs(const Song& song) const { return audioClips()[song.clip].seconds * 1000; }
