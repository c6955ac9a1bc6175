#pragma once
// The search page (page 8): Enter in the toolbar's search box searches the
// catalogue and fills four rows, artists, albums, songs and playlists. Songs
// go to the play flow, artists to the artist page, albums to the album page,
// playlists to the playlist page, and the artists' "查看全部" to the
// all-artists page.
#include "base/BackgroundTask.h"
#include "ui/Navigation.h"
#include "ui/Page.h"

class IconList;
class QLineEdit;
class QScrollBar;
class SearchBox;

class SearchPage : public Page {
public:
    // `searchField` is the toolbar's search box, which searches from this page.
    SearchPage(Navigation& navigation, QLineEdit* searchField, QScrollBar* scrollBar);

    // Shows this page, starts the song list without waiting for it, then
    // fills the artist, album and playlist rows one after another, waiting
    // for each while the window keeps pumping events. Every row reads the
    // search box's text when it starts.
    void startSearch();

    IconList* artistRow() const { return artists_; }
    IconList* albumRow() const { return albums_; }
    IconList* songList() const { return songs_; }
    IconList* playlistRow() const { return playlists_; }
    const ItemIds& artistIds() const { return artistIds_; }
    const ItemIds& albumIds() const { return albumIds_; }
    const ItemIds& songIds() const { return songIds_; }
    const ItemIds& playlistIds() const { return playlistIds_; }
    void lockPlayStarters(bool locked) override;

private:
    BackgroundTask::Handle fillSongs();
    BackgroundTask::Handle fillArtists();
    BackgroundTask::Handle fillAlbums();
    BackgroundTask::Handle fillPlaylists();
    void showAllArtists();

    Navigation& navigation_;
    SearchBox* searchBox_;
    IconList* artists_;
    IconList* albums_;
    IconList* songs_;
    IconList* playlists_;
    ItemIds artistIds_;
    ItemIds albumIds_;
    ItemIds songIds_;
    ItemIds playlistIds_;
};
