#pragma once
// The search page (page 8): Enter in the toolbar's search box searches the
// catalogue and fills four rows, artists, albums, songs and playlists. Songs
// go to the play flow, artists to the artist page, albums to the album page,
// playlists to the playlist page, and the artists' "查看全部" to the
// all-artists page.
#include "base/BackgroundTask.h"
#include "ui/Navigation.h"
#include "ui/Page.h"

#include <array>
#include <string>

class IconList;
class QLabel;
struct IconListFill;
class QLineEdit;
class QScrollBar;
class SearchBox;

class SearchPage : public Page {
public:
    // `searchField` is the toolbar's search box, which searches from this page.
    SearchPage(Navigation& navigation, QLineEdit* searchField, QScrollBar* scrollBar);

    // Shows this page, starts the song list without waiting for it, then
    // fills the artist, album and playlist rows one after another, waiting
    // for each while the window keeps pumping events. Every row searches the
    // text the box held when the search started; a row whose request failed
    // shows the failure line, whose click searches that row again, and a row
    // the service answered without a match says so.
    void startSearch();

    IconList* artistRow() const { return artists_; }
    IconList* albumRow() const { return albums_; }
    IconList* songList() const { return songs_; }
    IconList* playlistRow() const { return playlists_; }
    const ItemIds& artistIds() const { return artistIds_; }
    const ItemIds& albumIds() const { return albumIds_; }
    const ItemIds& songIds() const { return songIds_; }
    const ItemIds& playlistIds() const { return playlistIds_; }
    // The "nothing found" text of a row (artistRow() ... playlistRow()).
    QLabel* noMatchText(const IconList* row) const;
    void lockPlayStarters(bool locked) override;

private:
    // A row of results: its list, its "nothing found" text, and how it
    // fills for a keyword.
    struct Row {
        IconList* list = nullptr;
        QLabel* noMatch = nullptr;
        BackgroundTask::Handle (SearchPage::*fill)(const std::string& keyword) = nullptr;
    };

    BackgroundTask::Handle fillSongs(const std::string& keyword);
    BackgroundTask::Handle fillArtists(const std::string& keyword);
    BackgroundTask::Handle fillAlbums(const std::string& keyword);
    BackgroundTask::Handle fillPlaylists(const std::string& keyword);
    // Fills a row: hides its "nothing found" text until the answer is in,
    // then reports the outcome to the failure line.
    BackgroundTask::Handle fillRow(const Row& row, const std::string& keyword, IconListFill fill);
    const Row* rowOf(const IconList* list) const;
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
    std::array<Row, 4> rows_;
};
