#include "ui/lists/TrackList.h"

#include "ui/pictures/Artwork.h"
#include "ui/pictures/PicturePipeline.h"
#include "ui/widgets/PlayBarIcons.h"
#include "ui/widgets/RoundedPicture.h"

#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <charconv>

namespace {

constexpr QSize kCoverSize{50, 50};
constexpr int kCoverRounding = 12;
constexpr QSize kHeartSize{24, 24};
constexpr int kHeartRightMargin = 40;
constexpr int kNumberWidth = 44;
constexpr int kCoverLeft = 60;
constexpr int kColumnGap = 16;
constexpr int kDurationWidth = 56;
// Covers are asked for this many rows past the ones in sight, so scrolling
// on finds them there.
constexpr int kCoverLookAhead = 12;

// Where each part of a row goes at a list `width` wide.
struct RowColumns {
    QRect number, cover, title, artist, album, duration;
};

RowColumns rowColumns(int width, bool hearts) {
    const int height = TrackList::kRowHeight;
    RowColumns c;
    c.number = {0, 0, kNumberWidth, height};
    const bool covers = width >= TrackList::kCoverMinWidth;
    if (covers) c.cover = {QPoint(kCoverLeft, (height - kCoverSize.height()) / 2), kCoverSize};
    const int textLeft = covers ? c.cover.right() + 1 + kColumnGap : kCoverLeft;
    const int durationRight = width - (hearts ? kHeartRightMargin + kHeartSize.width() + kColumnGap : kColumnGap);
    c.duration = {durationRight - kDurationWidth, 0, kDurationWidth, height};
    const int span = std::max(0, c.duration.left() - kColumnGap - textLeft);
    if (width >= TrackList::kAlbumColumnMinWidth) {
        const int title = span * 40 / 100, artist = span * 27 / 100;
        c.title = {textLeft, 0, title, height};
        c.artist = {c.title.right() + 1 + kColumnGap, 0, artist, height};
        c.album = {c.artist.right() + 1 + kColumnGap, 0, std::max(0, c.duration.left() - kColumnGap - c.artist.right()),
                   height};
    } else {
        const int title = span * 58 / 100;
        c.title = {textLeft, 0, title, height};
        c.artist = {c.title.right() + 1 + kColumnGap, 0, std::max(0, span - title - kColumnGap), height};
    }
    return c;
}

IconTemplate rowTemplate(const TypefaceChoice& type, int width, bool hearts) {
    const RowColumns columns = rowColumns(width, hearts);
    IconTemplate t;
    t.cellSize = {std::max(1, width), TrackList::kRowHeight};
    t.pictureRect = columns.cover;
    t.rounding = kCoverRounding;
    t.mainText = IconTextElement{columns.title, type.font(16), QColor::fromRgba(Theme::kCaption),
                                 Qt::AlignLeft | Qt::AlignVCenter, false};
    t.secondText = secondLine(columns.artist, type.font(14), Qt::AlignLeft | Qt::AlignVCenter);
    t.activeRect = QRect(8, 8, std::max(0, width - 16), TrackList::kRowHeight - 16);
    return t;
}

}  // namespace

TrackList::TrackList(QWidget* parent) : IconList(parent) {
    setAttribute(Qt::WA_InputMethodEnabled);
    applyRowTemplate();
}

QString TrackList::durationText(const std::string& milliseconds) {
    long long ms = 0;
    const auto [end, error] = std::from_chars(milliseconds.data(), milliseconds.data() + milliseconds.size(), ms);
    if (error != std::errc() || end != milliseconds.data() + milliseconds.size() || ms <= 0) return {};
    const long long seconds = ms / 1000;
    return QString("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar('0'));
}

QString TrackList::filterCaption(const QString& filter, int rowCount) {
    return QString("筛选“%1”：%2 首（Esc 清除）").arg(filter).arg(rowCount);
}

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

void TrackList::applyRowTemplate() { setItemTemplate(rowTemplate(typeface_, width(), bool(isLiked_))); }

// A new list: no songs, no filter, and the covers still on their way are
// for songs no longer listed.
void TrackList::startOver() {
    applyRowTemplate();
    removeAllItems();
    songs_.clear();
    shown_.clear();
    songIds_.clear();
    ++coverGeneration_;
    coverTasks_.requestStopAll();
    const qreal ratio = devicePixelRatioF();
    notePicture_ = makeRoundedPicture(Artwork::render(Artwork::Picture::SongNote, kCoverSize, ratio), kCoverSize,
                                      kCoverRounding, ratio);
    if (!filter_.isEmpty()) {
        filter_.clear();
        emit filterChanged(filter_, 0);
    }
}

bool TrackList::loadMore() { return feed_ && feed_->loadMore(); }

void TrackList::addRows(std::vector<SongItem>::const_iterator first, std::vector<SongItem>::const_iterator last) {
    const int firstSong = int(songs_.size());
    for (auto song = first; song != last; ++song) songs_.push_back({*song, durationText(song->durationMs), {}, false});
    showFrom(firstSong);
    updateEnabled();
    emit rowsAdded(itemCount());
}

bool TrackList::matchesFilter(const SongItem& song) const {
    if (filter_.isEmpty()) return true;
    for (const std::string* text : {&song.name, &song.artists, &song.album})
        if (QString::fromStdString(*text).contains(filter_, Qt::CaseInsensitive)) return true;
    return false;
}

void TrackList::showFrom(int from) {
    const int firstRow = itemCount();
    for (int i = from; i < int(songs_.size()); ++i) {
        if (!matchesFilter(songs_[size_t(i)].song)) continue;
        shown_.push_back(i);
        songIds_.push_back(songs_[size_t(i)].song.id);
    }
    insertItems(int(shown_.size()) - firstRow);
    for (int row = firstRow; row < int(shown_.size()); ++row) {
        const Song& song = songs_[size_t(shown_[size_t(row)])];
        setItemText(row, IconText::Main, QString::fromStdString(song.song.name));
        setItemText(row, IconText::Second, QString::fromStdString(song.song.artists));
        setItemPicture(row, song.cover.isNull() ? notePicture_ : song.cover);
    }
}

void TrackList::setFilter(const QString& text) {
    if (text == filter_) return;
    filter_ = text;
    removeAllItems();
    shown_.clear();
    songIds_.clear();
    showFrom(0);
    emit filterChanged(filter_, itemCount());
}

void TrackList::setPlayLocked(bool locked) {
    playLocked_ = locked;
    updateEnabled();
}

// The list waits for its first page and while a song loads; later pages
// arrive below the rows already there, which stay usable.
void TrackList::updateEnabled() {
    const bool waitingForFirstPage = isLoading() && songs_.empty();
    setEnabled(!waitingForFirstPage && !playLocked_);
}

void TrackList::showHearts(std::function<bool(const std::string&)> isLiked) {
    isLiked_ = std::move(isLiked);
    heart_ = PlayBarIcons::render(PlayBarIcon::Heart, kHeartSize);
    likedHeart_ = PlayBarIcons::render(PlayBarIcon::Heart, kHeartSize, true);
    applyRowTemplate();
}

QRect TrackList::heartRect(int row) const {
    const QRect cell = itemRect(row);
    return {QPoint(cell.right() - kHeartRightMargin - kHeartSize.width(), cell.center().y() - kHeartSize.height() / 2),
            kHeartSize};
}

QRect TrackList::albumRect(int row) const {
    const QRect album = rowColumns(width(), bool(isLiked_)).album;
    return album.isEmpty() ? QRect() : album.translated(itemRect(row).topLeft());
}

QRect TrackList::durationRect(int row) const {
    return rowColumns(width(), bool(isLiked_)).duration.translated(itemRect(row).topLeft());
}

int TrackList::heartAt(QPoint point) const {
    if (!isLiked_ || songIds_.empty()) return -1;
    const int row = itemAt(point);
    return row >= 0 && heartRect(row).adjusted(-6, -6, 6, 6).contains(point) ? row : -1;
}

void TrackList::paintEvent(QPaintEvent* event) {
    IconList::paintEvent(event);
    if (shown_.empty()) return;
    const QRect exposed = event->rect();
    const int firstRow = std::clamp(exposed.top() / kRowHeight, 0, int(shown_.size()) - 1);
    const int lastRow = std::clamp(exposed.bottom() / kRowHeight, 0, int(shown_.size()) - 1);

    const RowColumns columns = rowColumns(width(), bool(isLiked_));
    QPainter painter(this);
    painter.setFont(typeface_.font(14));
    const QFontMetrics metrics(painter.font());
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    for (int row = firstRow; row <= lastRow; ++row) {
        const Song& song = songs_[size_t(shown_[size_t(row)])];
        const QPoint offset = itemRect(row).topLeft();
        painter.setPen(QColor::fromRgba(row == markedItem() ? Theme::kAccent : Theme::kSecondText));
        painter.drawText(columns.number.translated(offset), flags | Qt::AlignRight, QString::number(numberAt(row)));
        if (!columns.album.isEmpty())
            painter.drawText(
                columns.album.translated(offset), flags | Qt::AlignLeft,
                metrics.elidedText(QString::fromStdString(song.song.album), Qt::ElideRight, columns.album.width()));
        painter.drawText(columns.duration.translated(offset), flags | Qt::AlignRight, song.duration);
        if (isLiked_) painter.drawImage(heartRect(row), isLiked_(song.song.id) ? likedHeart_ : heart_);
    }
    if (pictures_ && showsCovers()) fetchCovers(firstRow, std::min(lastRow + kCoverLookAhead, int(shown_.size()) - 1));
}

void TrackList::fetchCovers(int firstRow, int lastRow) {
    std::vector<std::string> urls;
    std::vector<int> songIndexes;
    for (int row = firstRow; row <= lastRow; ++row) {
        Song& song = songs_[size_t(shown_[size_t(row)])];
        if (song.coverAsked || song.song.coverUrl.empty()) continue;
        song.coverAsked = true;
        urls.push_back(song.song.coverUrl);
        songIndexes.push_back(shown_[size_t(row)]);
    }
    if (urls.empty()) return;
    const PictureShape shape{kCoverSize, kCoverRounding, devicePixelRatioF()};
    coverTasks_.start([this, pictures = pictures_, urls = std::move(urls), songIndexes = std::move(songIndexes), shape,
                       generation = coverGeneration_] {
        pictures->loadInOrder(urls, shape, [this, &songIndexes, generation](std::size_t i, QImage cover) {
            runOnUiThread(this, [this, generation, songIndex = songIndexes[i], cover = std::move(cover)] {
                placeCover(generation, songIndex, cover);
            });
        });
    });
}

void TrackList::placeCover(std::uint64_t generation, int songIndex, const QImage& cover) {
    if (generation != coverGeneration_ || cover.isNull()) return;
    songs_[size_t(songIndex)].cover = cover;
    const auto row = std::lower_bound(shown_.begin(), shown_.end(), songIndex);
    if (row != shown_.end() && *row == songIndex) setItemPicture(int(row - shown_.begin()), cover);
}

void TrackList::resizeEvent(QResizeEvent* event) {
    IconList::resizeEvent(event);
    if (itemTemplate().cellSize.width() != width()) applyRowTemplate();
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

// Plain typing goes into the filter; a lone space with no filter yet keeps
// whatever the window does with it (play and pause).
bool TrackList::typesIntoFilter(const QKeyEvent& event) const {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = event.text();
    if (text.isEmpty() || (filter_.isEmpty() && text.trimmed().isEmpty())) return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

void TrackList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !filter_.isEmpty()) {
        setFilter({});
    } else if (event->key() == Qt::Key_Backspace && !filter_.isEmpty()) {
        setFilter(filter_.chopped(1));
    } else if (typesIntoFilter(*event)) {
        setFilter(filter_ + event->text());
    } else {
        IconList::keyPressEvent(event);
    }
}

void TrackList::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty()) setFilter(filter_ + event->commitString());
    event->accept();
}

// Keys the filter takes are not handed to the window's shortcuts first.
bool TrackList::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        const bool editsFilter = !filter_.isEmpty() && (key.key() == Qt::Key_Escape || key.key() == Qt::Key_Backspace);
        if (editsFilter || typesIntoFilter(key)) {
            event->accept();
            return true;
        }
    }
    return IconList::event(event);
}
