#include "ui/TrackList.h"

#include "ui/Artwork.h"
#include "ui/RoundedPicture.h"

namespace {

constexpr QSize kNoteSize{50, 50};
constexpr int kNoteRounding = 15;

IconTemplate trackTemplate(const TypefaceChoice& type, int width) {
    IconTemplate t;
    t.cellSize = {width, TrackList::kRowHeight};
    t.pictureRect = {QPoint(9, 8), kNoteSize};
    t.rounding = kNoteRounding;
    t.mainText = IconTextElement{{72, 9, 700, 22}, type.font(17), QColor::fromRgba(Theme::kCaption),
                                 Qt::AlignLeft | Qt::AlignTop, false};
    t.secondText = secondLine({72, 34, 700, 20}, type.font(13));
    return t;
}

}  // namespace

TrackList::TrackList(QWidget* parent) : IconList(parent) {}

void TrackList::load(const TypefaceChoice& typeface, PageFetcher fetch) {
    startOver(typeface);
    fetch_ = std::move(fetch);
    fetchPage(0);
}

void TrackList::showSongs(const TypefaceChoice& typeface, const std::vector<SongItem>& songs) {
    startOver(typeface);
    fetch_ = nullptr;
    addRows(songs);
}

void TrackList::startOver(const TypefaceChoice& typeface) {
    ++generation_;
    if (pageTask_) pageTask_->requestStop();
    pageTask_.reset();
    morePagesMayFollow_ = false;
    setItemTemplate(trackTemplate(typeface, width()));
    removeAllItems();
    songIds_.clear();
    const qreal ratio = devicePixelRatioF();
    notePicture_ = makeRoundedPicture(Artwork::render(Artwork::Picture::SongNote, kNoteSize, ratio), kNoteSize,
                                      kNoteRounding, ratio);
}

bool TrackList::loadMore() {
    if (!morePagesMayFollow_ || pageTask_) return false;
    fetchPage(int(songIds_.size()));
    return true;
}

void TrackList::fetchPage(int offset) {
    pageTask_ = tasks_.start([this, generation = generation_, fetch = fetch_, offset] {
        ServiceStatus status = ServiceStatus::Answered;
        std::vector<SongItem> songs = fetch(offset, kPageSize, &status);
        runOnUiThread(this, [this, generation, songs = std::move(songs), status] {
            if (generation != generation_) return;
            pageTask_.reset();
            morePagesMayFollow_ = songs.size() >= size_t(kPageSize);
            addRows(songs);
            emit pageLoaded(status);
        });
    });
    updateEnabled();
}

void TrackList::addRows(const std::vector<SongItem>& songs) {
    const int first = itemCount();
    insertItems(int(songs.size()));
    for (size_t i = 0; i < songs.size(); ++i) {
        const int row = first + int(i);
        setItemText(row, IconText::Main, QString::fromStdString(songs[i].name));
        setItemText(row, IconText::Second, QString::fromStdString(songs[i].artists));
        setItemPicture(row, notePicture_);
        songIds_.push_back(songs[i].id);
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
    const bool waitingForFirstPage = pageTask_ && songIds_.empty();
    setEnabled(!waitingForFirstPage && !playLocked_);
}
