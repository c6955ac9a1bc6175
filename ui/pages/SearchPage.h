#pragma once
// The search page (page 8): Enter in the toolbar's search box searches the
// catalogue and fills four rows, artists, albums, songs and playlists. Songs
// go to the play flow, artists to the artist page, albums to the album page,
// playlists to the playlist page, and the artists' "查看全部" to the
// all-artists page.
#include "ui/lists/FeedFill.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/Navigation.h"
#include "ui/pages/Page.h"

#include "api/CloudRecords.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

class FlatButton;
class IconList;
class QAbstractButton;
class QLabel;
class QLineEdit;
class QListWidget;
class QScrollBar;
class SearchBox;

class SearchPage : public Page {
public:
    // `searchField` is the toolbar's search box, which searches from this page.
    SearchPage(Navigation& navigation, QLineEdit* searchField, QScrollBar* scrollBar);

    // Shows this page and searches the text the box holds: the songs and
    // artists at once, the albums once the artists are shown, the playlists
    // once the albums are. Returns without waiting. A row whose request
    // failed shows the failure line, whose click searches that row again,
    // and a row the service answered without a match says so.
    void startSearch();

    IconList* artistRow() const { return artists_; }
    IconList* albumRow() const { return albums_; }
    TrackList* songList() const { return songs_; }
    IconList* playlistRow() const { return playlists_; }
    const ItemIds& artistIds() const { return artistIds_; }
    const ItemIds& albumIds() const { return albumIds_; }
    const ItemIds& songIds() const;
    const ItemIds& playlistIds() const { return playlistIds_; }
    // The "nothing found" text of a row (artistRow() ... playlistRow()).
    QLabel* noMatchText(const IconList* row) const;
    void lockPlayStarters(bool locked) override;

    // The user's own songs that match a keyword, listed below the service's
    // results on each search (none are looked for until this is set).
    using LocalSearch = std::function<std::vector<SongItem>(const std::string& keyword)>;
    void searchLocalSongsWith(LocalSearch search) { localSearch_ = std::move(search); }
    QListWidget* localSongList() const { return localSongs_; }
    void showFeeds(CatalogueFeeds& feeds) override;

private:
    // A row of results: its list and its "nothing found" text.
    struct Row {
        IconList* list = nullptr;
        QLabel* noMatch = nullptr;
    };
    // Which row a search waits to see shown before it asks for the next.
    enum class Stage { Artists, Albums, Done };

    void continueAfter(Stage shown);
    FeedListHooks rowHooks(IconList* list, std::function<void()> shown) const;
    const Row* rowOf(const IconList* list) const;
    void showAllArtists();
    void addLocalSongRow(QWidget* box);
    void addPlayAllButton(QWidget* box);
    void showLocalMatches();
    // The rows below the songs move down as far as the songs reach.
    void layOutBelowSongs(int songRows);
    void showSongFilter(const QString& filter, int rowCount);

    Navigation& navigation_;
    SearchBox* searchBox_;
    IconList* artists_;
    IconList* albums_;
    TrackList* songs_;
    QLabel* songFilter_;
    QLabel* playlistHeading_;
    FlatButton* allPlaylists_;
    QAbstractButton* playAll_ = nullptr;
    IconList* playlists_;
    ItemIds artistIds_;
    ItemIds albumIds_;
    ItemIds playlistIds_;
    std::array<Row, 4> rows_;
    LocalSearch localSearch_;
    QLabel* localHeading_ = nullptr;
    QListWidget* localSongs_ = nullptr;
    std::string keyword_;  // what the search shown asked for
    Stage stage_ = Stage::Done;
};
