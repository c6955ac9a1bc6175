#pragma once
// A list of songs, one row a song across the list's width: its number in
// the list, a small cover of its album where the row has room, its title,
// artist and album, and its length; each row stands for the song's id. As
// the view of a feed of songs, a load of the feed empties it and each page
// the feed brings is appended; later pages are asked for through the list.
// Rows and ids change together on the UI thread, so row i always stands for
// the song it shows. Rows may carry hearts.
//
// Typing while the list has the focus filters it: only the songs whose
// title, artist or album hold the typed text stay (the ids follow), each
// keeping its number; Backspace takes a letter back and Esc clears it.
//
// UI thread only; covers are fetched on the list's own tasks, which hand
// them back in order and are dropped once the rows they were for changed.
#include "api/CloudRecords.h"
#include "api/ServiceStatus.h"
#include "base/BackgroundTask.h"
#include "browse/Feed.h"
#include "ui/lists/IconList.h"
#include "ui/pages/Navigation.h"
#include "ui/widgets/Theme.h"

#include <QImage>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class PicturePipeline;

class TrackList : public IconList {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 75;
    // Narrower lists leave out the album column, then the covers.
    static constexpr int kAlbumColumnMinWidth = 560;
    static constexpr int kCoverMinWidth = 640;

    explicit TrackList(QWidget* parent = nullptr);

    // Makes the list the view of `feed`; it shows what the feed holds now.
    // A feed that goes away leaves the list as it is.
    void show(Feed<SongItem>& feed);
    // The typeface the rows are drawn in from the feed's next load on.
    void setTypeface(const TypefaceChoice& typeface) { typeface_ = typeface; }
    // Where the rows' covers come from; without one, rows show a note.
    void setPictures(PicturePipeline* pictures) { pictures_ = pictures; }
    // Empties the list and shows `songs`, all of them at once: for lists
    // whose songs come in one answer. The list is then nobody's view.
    void showSongs(const TypefaceChoice& typeface, const std::vector<SongItem>& songs);
    // Asks the feed for its next page, if the last page came full (more
    // songs may follow) and no page is on its way. Returns whether it asked.
    bool loadMore();

    // The ids of the songs shown, index-aligned with the rows.
    const ItemIds& songIds() const { return songIds_; }
    // Every song listed, the filter aside.
    int songCount() const { return int(songs_.size()); }
    // The song a row shows, and its number in the whole list (from 1).
    const SongItem& songAt(int row) const { return songs_.at(size_t(shown_.at(size_t(row)))).song; }
    int numberAt(int row) const { return shown_.at(size_t(row)) + 1; }
    bool isLoading() const { return feed_ && feed_->isLoading(); }
    // While a song loads the rows do not start another play.
    void setPlayLocked(bool locked);
    // Every row gets a heart at its right end, filled where `isLiked` says
    // the song is liked (asked whenever the rows are drawn); a click on a
    // heart is told by heartClicked and does nothing else.
    void showHearts(std::function<bool(const std::string&)> isLiked);
    QRect heartRect(int row) const;

    // Shows only the songs that hold `text` (any case); empty shows all.
    void setFilter(const QString& text);
    const QString& filter() const { return filter_; }
    // Where the album column and the length are drawn in row `row`; an
    // empty album rectangle when the row has no room for one.
    QRect albumRect(int row) const;
    QRect durationRect(int row) const;
    bool showsCovers() const { return width() >= kCoverMinWidth; }

    // What a page says above a filtered list: the filter, the rows it left
    // and how to clear it.
    static QString filterCaption(const QString& filter, int rowCount);
    // "m:ss" for a length in milliseconds given as text; empty when unknown.
    static QString durationText(const std::string& milliseconds);

signals:
    // The heart of the song's row was clicked.
    void heartClicked(const std::string& songId);
    // Rows were added; the list now holds `rowCount` of them.
    void rowsAdded(int rowCount);
    // The filter changed; the list now shows `rowCount` rows.
    void filterChanged(const QString& filter, int rowCount);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool event(QEvent* event) override;

private:
    struct Song {
        SongItem song;
        QString duration;
        QImage cover;
        bool coverAsked = false;
    };

    // The row whose heart is under `point`; −1 for none.
    int heartAt(QPoint point) const;
    void startOver();
    void addRows(std::vector<SongItem>::const_iterator first, std::vector<SongItem>::const_iterator last);
    bool matchesFilter(const SongItem& song) const;
    // Appends the rows of songs `from` on that pass the filter.
    void showFrom(int from);
    void updateEnabled();
    void applyRowTemplate();
    // Asks for the covers of the rows in `rows` that have none yet.
    void fetchCovers(int firstRow, int lastRow);
    void placeCover(std::uint64_t generation, int songIndex, const QImage& cover);
    // Whether typing `event` goes into the filter rather than to a shortcut.
    bool typesIntoFilter(const QKeyEvent& event) const;

    Feed<SongItem>* feed_ = nullptr;  // the feed shown, if any
    QMetaObject::Connection feedConnections_[4];
    TypefaceChoice typeface_;
    PicturePipeline* pictures_ = nullptr;
    std::vector<Song> songs_;  // every song listed
    std::vector<int> shown_;   // the index in songs_ of each row
    ItemIds songIds_;          // the id of each row
    QString filter_;
    bool playLocked_ = false;
    QImage notePicture_;                               // the picture of rows without a cover
    std::function<bool(const std::string&)> isLiked_;  // empty: no hearts
    QImage heart_, likedHeart_;
    std::uint64_t coverGeneration_ = 0;  // bumped whenever the rows change their songs
    TaskOwner coverTasks_;               // last: its tasks stop before anything above goes
};
