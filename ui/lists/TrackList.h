#pragma once
// A list of songs: each row shows the note picture, the song's name and its
// artist, and stands for the song's id. As the view of a feed of songs, a
// load of the feed empties it and each page the feed brings is appended;
// later pages are asked for through the list. Rows and ids change together
// on the UI thread, so row i always stands for the song it shows. The
// playlist and album pages list their songs in it. Rows may carry hearts.
#include "api/CloudRecords.h"
#include "api/ServiceStatus.h"
#include "browse/Feed.h"
#include "ui/lists/IconList.h"
#include "ui/pages/Navigation.h"
#include "ui/widgets/Theme.h"

#include <QImage>
#include <functional>
#include <string>
#include <vector>

class TrackList : public IconList {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 75;

    explicit TrackList(QWidget* parent = nullptr);

    // Makes the list the view of `feed`; it shows what the feed holds now.
    // A feed that goes away leaves the list as it is.
    void show(Feed<SongItem>& feed);
    // The typeface the rows are drawn in from the feed's next load on.
    void setTypeface(const TypefaceChoice& typeface) { typeface_ = typeface; }
    // Empties the list and shows `songs`, all of them at once: for lists
    // whose songs come in one answer. The list is then nobody's view.
    void showSongs(const TypefaceChoice& typeface, const std::vector<SongItem>& songs);
    // Asks the feed for its next page, if the last page came full (more
    // songs may follow) and no page is on its way. Returns whether it asked.
    bool loadMore();

    // The ids of the songs, index-aligned with the rows.
    const ItemIds& songIds() const { return songIds_; }
    bool isLoading() const { return feed_ && feed_->isLoading(); }
    // While a song loads the rows do not start another play.
    void setPlayLocked(bool locked);
    // Every row gets a heart at its right end, filled where `isLiked` says
    // the song is liked (asked whenever the rows are drawn); a click on a
    // heart is told by heartClicked and does nothing else.
    void showHearts(std::function<bool(const std::string&)> isLiked);
    QRect heartRect(int row) const;

signals:
    // The heart of the song's row was clicked.
    void heartClicked(const std::string& songId);
    // Rows were added; the list now holds `rowCount` of them.
    void rowsAdded(int rowCount);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    // The row whose heart is under `point`; −1 for none.
    int heartAt(QPoint point) const;
    void startOver();
    void addRows(std::vector<SongItem>::const_iterator first, std::vector<SongItem>::const_iterator last);
    void updateEnabled();

    Feed<SongItem>* feed_ = nullptr;  // the feed shown, if any
    QMetaObject::Connection feedConnections_[4];
    TypefaceChoice typeface_;
    ItemIds songIds_;
    bool playLocked_ = false;
    QImage notePicture_;                               // every row's picture, shaped once
    std::function<bool(const std::string&)> isLiked_;  // empty: no hearts
    QImage heart_, likedHeart_;
};
