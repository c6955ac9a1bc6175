#include "ui/pages/SearchPage.h"

#include "browse/CatalogueFeeds.h"
#include "ui/lists/FeedFill.h"
#include "ui/lists/IconList.h"
#include "ui/lists/IconListFill.h"
#include "ui/lists/ItemEvents.h"
#include "ui/lists/ListHeight.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/PageControls.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/SearchBox.h"
#include "ui/widgets/ServiceFailureLine.h"
#include "ui/widgets/Toolbar.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>
#include <cstdint>

namespace {

const QColor kCaption = QColor::fromRgba(Theme::kCaption);
constexpr const char* kNoMatch = "没有找到相关的结果";

// The "nothing found" text at the top of a row's list, hidden until a search
// answers without a match.
QLabel* noMatchLine(QWidget* box, const char* name, const QRect& list) {
    QLabel* label =
        makeTextLine(box, name, {list.x() + 10, list.y() + 10, 430, 24}, Theme::font(14), Theme::kSecondText);
    label->setText(QString::fromUtf8(kNoMatch));
    label->hide();
    return label;
}

constexpr int kSongsTop = 330;
// Below the songs: the playlists' heading, list and the local songs.
constexpr int kGapBelowSongs = 20;
constexpr int kPlaylistListOffset = 50;
constexpr int kPlaylistListHeight = 420;
constexpr int kLocalHeadingOffset = 480;
constexpr int kLocalListOffset = 525;
constexpr int kLocalListHeight = 210;

IconTemplate albumTemplate(const TypefaceChoice& type) {
    IconTemplate t;
    t.cellSize = {150, 190};
    t.pictureRect = {0, 0, 130, 130};
    t.rounding = 20;
    t.mainText = IconTextElement{{0, 140, 130, 20}, type.font(13), kCaption, Qt::AlignLeft | Qt::AlignTop, false};
    t.secondText = secondLine({0, 158, 130, 20}, type.font(12));
    return t;
}

// Twelve playlists in two rows of six; the list starts 60 pixels left of
// the page, so its first column begins at the page's edge.
IconTemplate playlistTemplate(const TypefaceChoice& type) {
    IconTemplate t;
    t.cellSize = {163, 210};
    t.origin = {60, 0};
    t.pictureRect = {0, 0, 145, 145};
    t.rounding = 20;
    t.mainText = IconTextElement{{0, 155, 145, 40}, type.font(14), QColor::fromRgba(0xFF2D2D2D)};
    return t;
}

}  // namespace

SearchPage::SearchPage(Navigation& navigation, QLineEdit* searchField, QScrollBar* scrollBar)
    : Page(Pages::kSearch, scrollBar), navigation_(navigation) {
    QWidget* box = content();
    makeHeading(box, "标签_搜索艺人", "艺人", {0, 20, 140, 40});
    FlatButton* allArtists = makeLabelButton(box, "标签按钮_查看搜索艺人", "查看全部", {360, 35, 75, 25});
    artists_ = makeIconList(box, "图标列表框搜索艺人", {0, 70, 450, 170});
    makeHeading(box, "标签_搜索专辑", "专辑", {505, 20, 140, 40});
    makeLabelButton(box, "标签按钮_查看搜索专辑", "查看全部", {860, 35, 75, 25});
    albums_ = makeIconList(box, "图标列表框搜索专辑", {500, 70, 450, 190});
    makeHeading(box, "标签_搜索歌曲", "歌曲", {0, 280, 140, 40});
    makeLabelButton(box, "标签按钮_查看搜索歌曲", "查看全部", {860, 295, 75, 25});
    songs_ = new TrackList(box);
    songs_->setObjectName("图标列表框搜索歌曲");
    songs_->setGeometry(0, kSongsTop, 950, 400);
    songFilter_ = makeTextLine(box, "标签_搜索歌曲筛选", {150, 290, 600, 30}, Theme::font(14), Theme::kSecondText);
    songFilter_->hide();
    playlistHeading_ = makeHeading(box, "标签_搜索歌单", "歌单", {0, 750, 140, 40});
    allPlaylists_ = makeLabelButton(box, "标签按钮_查看搜索MV", "查看全部", {890, 765, 75, 25});
    playlists_ = makeIconList(box, "图标列表框搜索歌单", {-60, 800, 1090, kPlaylistListHeight});
    rows_ = {{
        {artists_, noMatchLine(box, "标签_搜索艺人无结果", artists_->geometry())},
        {albums_, noMatchLine(box, "标签_搜索专辑无结果", albums_->geometry())},
        {songs_, noMatchLine(box, "标签_搜索歌曲无结果", songs_->geometry())},
        {playlists_, noMatchLine(box, "标签_搜索歌单无结果", playlists_->geometry().adjusted(60, 0, 0, 0))},
    }};
    addLocalSongRow(box);
    // Over the artist and album rows, the first a search fills after its songs.
    addFailureLine({0, 70, 950, 30});

    searchBox_ = new SearchBox(
        searchField, QString::fromUtf8(Toolbar::kSearchHint), [this] { startSearch(); },
        [this] {
            navigation_.router().open({Place::Settings, ""}, Place::Search);
        });
    QObject::connect(allArtists, &QAbstractButton::clicked, this, [this] { showAllArtists(); });

    addPlayAllButton(box);
    QObject::connect(songs_, &IconList::itemActivated, this,
                     [this](int row) { navigation_.router().playList(songs_->songIds(), row); });
    openPageOnClick(artists_, &artistIds_, navigation_.router(), Place::Artist, Place::Search);
    openPageOnClick(albums_, &albumIds_, navigation_.router(), Place::Album, Place::Search);
    openPageOnClick(playlists_, &playlistIds_, navigation_.router(), Place::Playlist, Place::Search);
}

// The songs and the artists are asked for at once; the albums once the
// artists are shown, the playlists once the albums are, so the rows appear
// from the top down.
void SearchPage::startSearch() {
    navigation_.showPage(Pages::kSearch);
    CatalogueFeeds* feeds = navigation_.feeds();
    if (!feeds) return;
    keyword_ = searchBox_->keyword().toStdString();
    songs_->setTypeface(navigation_.listTypeface());
    songs_->setPictures(navigation_.pictures());
    scrollPane()->reset();
    for (const Row& row : rows_) row.noMatch->hide();
    stage_ = Stage::Artists;
    feeds->searchSongs(keyword_);
    feeds->searchArtists(keyword_);
    showLocalMatches();
}

// Beside "查看全部" of the songs: the songs found become the play queue and
// the first of them plays.
void SearchPage::addPlayAllButton(QWidget* box) {
    playAll_ = makeLabelButton(box, "标签按钮_播放搜索歌曲", "播放全部", {770, 295, 75, 25});
    QObject::connect(playAll_, &QAbstractButton::clicked, this, [this] {
        if (!songs_->songIds().empty()) navigation_.router().playList(songs_->songIds(), 0);
    });
}

// Below the playlists: the user's own songs that match, hidden when none do.
void SearchPage::addLocalSongRow(QWidget* box) {
    localHeading_ = makeHeading(box, "标签_搜索本地歌曲", "本地歌曲", {0, 1230, 200, 40});
    localSongs_ = new QListWidget(box);
    localSongs_->setObjectName("列表框搜索本地歌曲");
    localSongs_->setGeometry(0, 1275, 950, kLocalListHeight);
    localSongs_->setFont(Theme::font(14));
    localHeading_->hide();
    localSongs_->hide();
    QObject::connect(localSongs_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        navigation_.router().play(item->data(Qt::UserRole).toString().toStdString());
    });
}

void SearchPage::showLocalMatches() {
    localSongs_->clear();
    const std::vector<SongItem> matches = localSearch_ ? localSearch_(keyword_) : std::vector<SongItem>{};
    for (const SongItem& song : matches) {
        QString text = QString::fromStdString(song.name);
        if (!song.artists.empty()) text += " - " + QString::fromStdString(song.artists);
        auto* item = new QListWidgetItem(text, localSongs_);
        item->setData(Qt::UserRole, QString::fromStdString(song.id));
    }
    localHeading_->setVisible(!matches.empty());
    localSongs_->setVisible(!matches.empty());
    layOutBelowSongs(songs_->itemCount());
}

const ItemIds& SearchPage::songIds() const { return songs_->songIds(); }

void SearchPage::layOutBelowSongs(int songRows) {
    const int songsHeight = clampListHeight(std::int64_t(songRows) * TrackList::kRowHeight);
    songs_->resize(songs_->width(), songsHeight);
    // Room for the "nothing found" line where no song is listed.
    const int top = kSongsTop + std::max(songsHeight, 40) + kGapBelowSongs;
    playlistHeading_->move(playlistHeading_->x(), top);
    allPlaylists_->move(allPlaylists_->x(), top + 15);
    playlists_->move(playlists_->x(), top + kPlaylistListOffset);
    rowOf(playlists_)->noMatch->move(rowOf(playlists_)->noMatch->x(), top + kPlaylistListOffset + 10);
    localHeading_->move(localHeading_->x(), top + kLocalHeadingOffset);
    localSongs_->move(localSongs_->x(), top + kLocalListOffset);
    const int bottom = !localSongs_->isHidden() ? top + kLocalListOffset + kLocalListHeight
                                                : top + kPlaylistListOffset + kPlaylistListHeight;
    scrollPane()->fitContent(bottom + 40);
}

void SearchPage::showSongFilter(const QString& filter, int rowCount) {
    songFilter_->setVisible(!filter.isEmpty());
    songFilter_->setText(TrackList::filterCaption(filter, rowCount));
    layOutBelowSongs(rowCount);
}

void SearchPage::continueAfter(Stage shown) {
    CatalogueFeeds* feeds = navigation_.feeds();
    if (stage_ != shown || !feeds) return;
    if (shown == Stage::Artists) {
        stage_ = Stage::Albums;
        scrollPane()->reset();
        feeds->searchAlbums(keyword_);
    } else if (shown == Stage::Albums) {
        stage_ = Stage::Done;
        feeds->searchPlaylists(keyword_);
    }
}

// A row's "nothing found" text shows when the service answered without a match.
FeedListHooks SearchPage::rowHooks(IconList* list, std::function<void()> shown) const {
    QLabel* noMatch = rowOf(list)->noMatch;
    return {.requestEnded =
                [noMatch](ServiceStatus status, int itemCount) {
                    noMatch->setVisible(status == ServiceStatus::Answered && itemCount == 0);
                },
            .shown = std::move(shown)};
}

const SearchPage::Row* SearchPage::rowOf(const IconList* list) const {
    const auto row = std::find_if(rows_.begin(), rows_.end(), [list](const Row& r) { return r.list == list; });
    return row == rows_.end() ? nullptr : &*row;
}

QLabel* SearchPage::noMatchText(const IconList* row) const {
    const Row* found = rowOf(row);
    return found ? found->noMatch : nullptr;
}

void SearchPage::showFeeds(CatalogueFeeds& feeds) {
    Feed<SongItem>& songs = feeds.foundSongs();
    songs_->show(songs);
    failureLine()->follow(songs);
    connect(&songs, &FeedSignals::requestEnded, this, [this, noMatch = rowOf(songs_)->noMatch](ServiceStatus status) {
        noMatch->setVisible(status == ServiceStatus::Answered && songs_->songCount() == 0);
        layOutBelowSongs(songs_->itemCount());
    });
    connect(&songs, &FeedSignals::started, this, [this] { layOutBelowSongs(0); });
    connect(songs_, &TrackList::filterChanged, this, &SearchPage::showSongFilter);
    showFeedInList(
        feeds.foundArtists(), artists_,
        [this] {
            IconListFill fill;
            // Three artists side by side.
            fill.itemTemplate =
                artistTemplate(navigation_.listTypeface(), {150, 170}, 130, {0, 130, 150, 48}, /*wrapName=*/true);
            fill.pictures = navigation_.pictures();
            fill.itemIds = &artistIds_;
            return fill;
        },
        failureLine(), rowHooks(artists_, [this] { continueAfter(Stage::Artists); }));
    showFeedInList(
        feeds.foundAlbums(), albums_,
        [this] {
            IconListFill fill;
            fill.itemTemplate = albumTemplate(navigation_.listTypeface());
            fill.pictures = navigation_.pictures();
            fill.itemIds = &albumIds_;
            return fill;
        },
        failureLine(), rowHooks(albums_, [this] { continueAfter(Stage::Albums); }));
    showFeedInList(
        feeds.foundPlaylists(), playlists_,
        [this] {
            IconListFill fill;
            fill.itemTemplate = playlistTemplate(navigation_.listTypeface());
            fill.pictures = navigation_.pictures();
            fill.itemIds = &playlistIds_;
            return fill;
        },
        failureLine(), rowHooks(playlists_, {}));
}

void SearchPage::showAllArtists() {
    navigation_.router().openAllArtists(searchBox_->keyword().toStdString(), Place::Search);
}

void SearchPage::lockPlayStarters(bool locked) {
    songs_->setPlayLocked(locked);
    playAll_->setEnabled(!locked);
    localSongs_->setEnabled(!locked);
}
