#include "ui/lists/TrackList.h"

#include "ui/pictures/Artwork.h"
#include "ui/widgets/PlayBarIcons.h"
#include "ui/widgets/RoundedPicture.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr QSize kNoteSize{50, 50};
constexpr int kNoteRounding = 15;
constexpr QSize kHeartSize{24, 24};
constexpr int kHeartRightMargin = 40;

IconTemplate trackTemplate(const TypefaceChoice& type, int width) {
    IconTemplate t;
    t.cellSize = {width, TrackList::kRowHeight};
    t.pictureRect = {QPoint(9, 8), kNoteSize};
    t.rounding = kNoteRounding;
    t.mainText = IconTextElement{
        {72, 9, 700, 22}, type.font(17), QColor::fromRgba(Theme::kCaption), Qt::AlignLeft | Qt::AlignTop, false};
    t.secondText = secondLine({72, 34, 700, 20}, type.font(13));
    return t;
}

}  // namespace

TrackList::TrackList(QWidget* parent) : IconList(parent) {}

void TrackList::show(Feed<SongItem>& feed) {
    for (const QMetaObject::Connection& connection : feedConnections_) disconnect(connection);
    feed_ = &feed;
    feedConnections_[0] = connect(&feed, &FeedSignals::started, this, [this] {
        startOver();
        updateEnabled();
    });
    feedConnections_[1] = connect(&feed, &FeedSignals::appended, this, [this](int from, int count) {
        addRows(feed_->items().begin() + from, feed_->items().begin() + from + count);
    });
    feedConnections_[2] = connect(&feed, &FeedSignals::requestEnded, this, &TrackList::updateEnabled);
    feedConnections_[3] = connect(&feed, &QObject::destroyed, this, [this] { feed_ = nullptr; });
    startOver();
    if (!feed.items().empty()) addRows(feed.items().begin(), feed.items().end());
    updateEnabled();
}

void TrackList::showSongs(const TypefaceChoice& typeface, const std::vector<SongItem>& songs) {
    for (const QMetaObject::Connection& connection : feedConnections_) disconnect(connection);
    feed_ = nullptr;
    typeface_ = typeface;
    startOver();
    addRows(songs.begin(), songs.end());
}

void TrackList::startOver() {
    setItemTemplate(trackTemplate(typeface_, width()));
    removeAllItems();
    songIds_.clear();
    const qreal ratio = devicePixelRatioF();
    notePicture_ = makeRoundedPicture(Artwork::render(Artwork::Picture::SongNote, kNoteSize, ratio), kNoteSize,
                                      kNoteRounding, ratio);
}

bool TrackList::loadMore() { return feed_ && feed_->loadMore(); }

void TrackList::addRows(std::vector<SongItem>::const_iterator first, std::vector<SongItem>::const_iterator last) {
    const int firstRow = itemCount();
    insertItems(int(last - first));
    int row = firstRow;
    for (auto song = first; song != last; ++song, ++row) {
        setItemText(row, IconText::Main, QString::fromStdString(song->name));
        setItemText(row, IconText::Second, QString::fromStdString(song->artists));
        setItemPicture(row, notePicture_);
        songIds_.push_back(song->id);
    }
    updateEnabled();
    emit rowsAdded(itemCount());
}

void TrackList::setPlayLocked(bool locked) {
    playLocked_ = locked;
    updateEnabled();
}

// The list waits for its first page and while a song loads; later pages
// arrive below the rows already there, which stay usable.
void TrackList::updateEnabled() {
    const bool waitingForFirstPage = isLoading() && songIds_.empty();
    setEnabled(!waitingForFirstPage && !playLocked_);
}

void TrackList::showHearts(std::function<bool(const std::string&)> isLiked) {
    isLiked_ = std::move(isLiked);
    heart_ = PlayBarIcons::render(PlayBarIcon::Heart, kHeartSize);
    likedHeart_ = PlayBarIcons::render(PlayBarIcon::Heart, kHeartSize, true);
    update();
}

QRect TrackList::heartRect(int row) const {
    const QRect cell = itemRect(row);
    return {QPoint(cell.right() - kHeartRightMargin - kHeartSize.width(), cell.center().y() - kHeartSize.height() / 2),
            kHeartSize};
}

int TrackList::heartAt(QPoint point) const {
    if (!isLiked_ || songIds_.empty()) return -1;
    // The list has one column; the heart lies outside the part of a row
    // that itemAt answers for.
    const int top = itemRect(0).top();
    const int row = point.y() < top ? -1 : (point.y() - top) / kRowHeight;
    return row >= 0 && row < int(songIds_.size()) && heartRect(row).adjusted(-6, -6, 6, 6).contains(point) ? row : -1;
}

void TrackList::paintEvent(QPaintEvent* event) {
    IconList::paintEvent(event);
    if (!isLiked_) return;
    QPainter painter(this);
    for (int row = 0; row < int(songIds_.size()); ++row) {
        const QRect place = heartRect(row);
        if (!event->rect().intersects(place)) continue;
        painter.drawImage(place, isLiked_(songIds_[size_t(row)]) ? likedHeart_ : heart_);
    }
}

void TrackList::mousePressEvent(QMouseEvent* event) {
    const int row = event->button() == Qt::LeftButton ? heartAt(event->position().toPoint()) : -1;
    if (row < 0) {
        IconList::mousePressEvent(event);
        return;
    }
    emit heartClicked(songIds_[size_t(row)]);
}

void TrackList::mouseDoubleClickEvent(QMouseEvent* event) {
    if (heartAt(event->position().toPoint()) >= 0) return;
    IconList::mouseDoubleClickEvent(event);
}
