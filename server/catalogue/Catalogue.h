#pragma once
// The demo catalogue: every record the server answers from, with lookups by
// id and the lists the home, discover and chart pages ask for. Built once and
// read-only afterwards, so any number of request threads may read it.
#include <string>
#include <unordered_map>
#include <vector>

#include "server/catalogue/CatalogueTypes.h"

// What the builders fill in; the catalogue derives the relations from it.
struct CatalogueData {
    std::vector<Picture> pictures;
    std::vector<User> users;
    std::vector<Artist> artists;
    std::vector<Album> albums;
    std::vector<Song> songs;
    std::vector<Mv> mvs;
    std::vector<Playlist> playlists;  // charts included (specialType 10)
    std::vector<Banner> banners;

    std::vector<Id> topArtistIds;             // "top/artists" order
    std::vector<Id> personalizedPlaylistIds;  // "personalized" order
    std::vector<Id> dailyMvIds;               // "personalized/mv"
    std::vector<Id> toplistIds;               // "toplist" order
    std::vector<Id> dailySongIds;             // "recommend/songs" order
    std::vector<Id> fmSongIds;                // the personal FM stream's pool, in order
    std::vector<Id> weekRecordIds;            // the demo account's week of listening, most played first
    Id demoAccountUserId = 0;                 // the account the QR login logs in
    Id defaultAvatarPicId = 0;                // the service's stand-in picture

    // Adds a generated picture and returns its id.
    Id addPicture(std::string title, std::string subtitle, PictureFormat format, int width, int height);
};

class Catalogue {
public:
    // Links albums, songs and MVs to their artists and checks that every id
    // a record names exists; throws std::logic_error otherwise.
    explicit Catalogue(CatalogueData data);
    // The indexes point into the records, so a catalogue stays where it is made.
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    const Picture* picture(Id id) const;
    const User* user(Id id) const;
    const Artist* artist(Id id) const;
    const Album* album(Id id) const;
    const Song* song(Id id) const;
    const Mv* mv(Id id) const;
    const Playlist* playlist(Id id) const;

    const std::vector<Artist>& artists() const { return data_.artists; }
    const std::vector<Album>& albums() const { return data_.albums; }
    const std::vector<Song>& songs() const { return data_.songs; }
    const std::vector<Mv>& mvs() const { return data_.mvs; }
    const std::vector<Playlist>& playlists() const { return data_.playlists; }
    const std::vector<Banner>& banners() const { return data_.banners; }
    const std::vector<Id>& topArtistIds() const { return data_.topArtistIds; }
    const std::vector<Id>& personalizedPlaylistIds() const { return data_.personalizedPlaylistIds; }
    const std::vector<Id>& dailyMvIds() const { return data_.dailyMvIds; }
    const std::vector<Id>& toplistIds() const { return data_.toplistIds; }
    const std::vector<Id>& dailySongIds() const { return data_.dailySongIds; }
    const std::vector<Id>& fmSongIds() const { return data_.fmSongIds; }
    const std::vector<Id>& weekRecordIds() const { return data_.weekRecordIds; }
    Id demoAccountUserId() const { return data_.demoAccountUserId; }
    Id defaultAvatarPicId() const { return data_.defaultAvatarPicId; }

    // Albums, newest first.
    std::vector<const Album*> newestAlbums() const;
    // MVs, newest first.
    std::vector<const Mv*> mvsNewestFirst() const;
    // The discover page's playlists of a category ("全部": every ordinary
    // playlist), most played first.
    std::vector<const Playlist*> playlistsInCategory(const std::string& category) const;
    std::vector<const Playlist*> highQualityPlaylists() const;
    // The playlists a user made, the liked-songs list first.
    std::vector<const Playlist*> playlistsCreatedBy(Id userId) const;
    // Length of a song in milliseconds.
    int durationMs(const Song& song) const;

private:
    template <typename T>
    using Index = std::unordered_map<Id, const T*>;

    void buildIndexes();
    void linkRelations();
    void checkReferences() const;

    CatalogueData data_;
    Index<Picture> pictures_;
    Index<User> users_;
    Index<Artist> artists_;
    Index<Album> albums_;
    Index<Song> songs_;
    Index<Mv> mvs_;
    Index<Playlist> playlists_;
};

// The demo catalogue of this project.
const Catalogue& demoCatalogue();
