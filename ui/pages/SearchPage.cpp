#include "ui/pages/SearchPage.h"

#include "api/CloudApiClient.h"
#include "ui/pages/AllArtistsPage.h"
#include "ui/Artwork.h"
#include "ui/FlatButton.h"
#include "ui/IconList.h"
#include "ui/IconListFill.h"
#include "ui/ItemEvents.h"
#include "ui/PageControls.h"
#include "ui/ScrollPane.h"
#include "ui/SearchBox.h"
#include "ui/ServiceFailureLine.h"
#include "ui/Toolbar.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <algorithm>

namespace {

const QColor kCaption = QColor::fromRgba(Theme::kCaption);
constexpr const char* kNoMatch = "没有找到相关的结果";

// The "nothing found" text at the top of a row's list, hidden until a search
// answers without a match.
QLabel* noMatchLine(QWidget* box, const char* name, const QRect& list) {
    QLabel* label = makeTextLine(box, name, {list.x() + 10, list.y() + 10, 430, 24}, Theme::font(14), Theme::kSecondText);
    label->setText(QString::fromUtf8(kNoMatch));
    label->hide();
    return label;
}

// Eighteen songs in three columns of six rows.
IconTemplate songTemplate(const TypefaceChoice& type) {
    IconTemplate t;
    t.cellSize = {316, 66};
    t.pictureRect = {10, 8, 40, 40};
    t.rounding = 10;
    t.mainText = IconTextElement{{60, 10, 230, 22}, type.font(14), kCaption, Qt::AlignLeft | Qt::AlignTop, false};
    t.secondText = secondLine({60, 30, 230, 15}, type.font(12));
    return t;
}

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

std::vector<CoverItem> asCoverItems(const std::vector<SongItem>& songs) {
    std::vector<CoverItem> items;
    items.reserve(songs.size());
    for (const SongItem& song : songs) items.push_back({"", song.name, song.id, song.artists});
    return items;
}

}  // namespace

SearchPage::SearchPage(Navigation& navigation, QLineEdit* searchField, QScrollBar* scrollBar) : Page(Pages::kSearch, scrollBar), navigation_(navigation) {
    QWidget* box = content();
    makeHeading(box, "标签_搜索艺人", "艺人", {0, 20, 140, 40});
    FlatButton* allArtists = makeLabelButton(box, "标签按钮_查看搜索艺人", "查看全部", {360, 35, 75, 25});
    artists_ = makeIconList(box, "图标列表框搜索艺人", {0, 70, 450, 170});
    makeHeading(box, "标签_搜索专辑", "专辑", {505, 20, 140, 40});
    makeLabelButton(box, "标签按钮_查看搜索专辑", "查看全部", {860, 35, 75, 25});
    albums_ = makeIconList(box, "图标列表框搜索专辑", {500, 70, 450, 190});
    makeHeading(box, "标签_搜索歌曲", "歌曲", {0, 280, 140, 40});
    makeLabelButton(box, "标签按钮_查看搜索歌曲", "查看全部", {860, 295, 75, 25});
    songs_ = makeIconList(box, "图标列表框搜索歌曲", {0, 330, 950, 400});
    makeHeading(box, "标签_搜索歌单", "歌单", {0, 750, 140, 40});
    makeLabelButton(box, "标签按钮_查看搜索MV", "查看全部", {890, 765, 75, 25});
    playlists_ = makeIconList(box, "图标列表框搜索歌单", {-60, 800, 1090, 420});
    rows_ = {{
        {artists_, noMatchLine(box, "标签_搜索艺人无结果", artists_->geometry()), &SearchPage::fillArtists},
        {albums_, noMatchLine(box, "标签_搜索专辑无结果", albums_->geometry()), &SearchPage::fillAlbums},
        {songs_, noMatchLine(box, "标签_搜索歌曲无结果", songs_->geometry()), &SearchPage::fillSongs},
        {playlists_, noMatchLine(box, "标签_搜索歌单无结果", playlists_->geometry().adjusted(60, 0, 0, 0)),
         &SearchPage::fillPlaylists},
    }};
    // Over the artist and album rows, the first a search fills after its songs.
    addFailureLine({0, 70, 950, 30});

    searchBox_ = new SearchBox(
        searchField, QString::fromUtf8(Toolbar::kSearchHint), [this] { startSearch(); },
        [this] { navigation_.showPage(Pages::kSettings); });
    QObject::connect(allArtists, &QAbstractButton::clicked, this, [this] { showAllArtists(); });

    onItemId(songs_, &IconList::itemActivated, &songIds_, [this](const std::string& id) { navigation_.requestPlay(id); });
    openPageOnClick(artists_, &artistIds_, navigation_, &NavigationState::selectedArtistId, Pages::kArtist,
                    Pages::kSearch);
    openPageOnClick(albums_, &albumIds_, navigation_, &NavigationState::selectedAlbumId, Pages::kAlbum, Pages::kSearch,
                    &NavigationState::albumReturnPage);
    openPageOnClick(playlists_, &playlistIds_, navigation_, &NavigationState::selectedPlaylistId, Pages::kPlaylist,
                    Pages::kSearch);
}

void SearchPage::startSearch() {
    navigation_.showPage(Pages::kSearch);
    if (!navigation_.catalogue()) return;
    const std::string keyword = searchBox_->keyword().toStdString();
    fillSongs(keyword);
    // The window may close while a row fills; nothing is touched after that.
    const QPointer<SearchPage> alive(this);
    BackgroundTask::waitPumping(fillArtists(keyword));
    if (!alive) return;
    BackgroundTask::waitPumping(fillAlbums(keyword));
    if (!alive) return;
    BackgroundTask::waitPumping(fillPlaylists(keyword));
}

BackgroundTask::Handle SearchPage::fillRow(const Row& row, const std::string& keyword, IconListFill fill) {
    row.noMatch->hide();
    fill.onLoaded = [row, report = failureLine()->watchFill(row.list, [this, row, keyword] { (this->*row.fill)(keyword); })](
                        ServiceStatus status, int itemCount) {
        row.noMatch->setVisible(status == ServiceStatus::Answered && itemCount == 0);
        report(status, itemCount);
    };
    return fillIconList(row.list, std::move(fill));
}

const SearchPage::Row* SearchPage::rowOf(const IconList* list) const {
    const auto row = std::find_if(rows_.begin(), rows_.end(), [list](const Row& r) { return r.list == list; });
    return row == rows_.end() ? nullptr : &*row;
}

QLabel* SearchPage::noMatchText(const IconList* row) const {
    const Row* found = rowOf(row);
    return found ? found->noMatch : nullptr;
}

BackgroundTask::Handle SearchPage::fillSongs(const std::string& keyword) {
    scrollPane()->reset();
    IconListFill fill;
    fill.itemTemplate = songTemplate(navigation_.listTypeface());
    fill.fetchRecords = [&catalogue = *navigation_.catalogue(), keyword](ServiceStatus* status) {
        return asCoverItems(catalogue.searchSongs(keyword, status));
    };
    fill.fixedPicture = Artwork::render(Artwork::Picture::SongNote, {40, 40}, songs_->devicePixelRatioF());
    fill.itemIds = &songIds_;
    fill.disableWhileFilling = false;
    fill.clearCurrentItem = true;
    return fillRow(*rowOf(songs_), keyword, std::move(fill));
}

BackgroundTask::Handle SearchPage::fillArtists(const std::string& keyword) {
    scrollPane()->reset();
    IconListFill fill;
    // Three artists side by side.
    fill.itemTemplate = artistTemplate(navigation_.listTypeface(), {150, 170}, 130, {0, 130, 150, 48}, /*wrapName=*/true);
    fill.fetchRecords = [&catalogue = *navigation_.catalogue(), keyword](ServiceStatus* status) {
        return catalogue.searchArtists(keyword, 3, status);
    };
    fill.pictures = navigation_.pictures();
    fill.itemIds = &artistIds_;
    return fillRow(*rowOf(artists_), keyword, std::move(fill));
}

BackgroundTask::Handle SearchPage::fillAlbums(const std::string& keyword) {
    scrollPane()->reset();
    IconListFill fill;
    fill.itemTemplate = albumTemplate(navigation_.listTypeface());
    fill.fetchRecords = [&catalogue = *navigation_.catalogue(), keyword](ServiceStatus* status) {
        return catalogue.searchAlbums(keyword, status);
    };
    fill.pictures = navigation_.pictures();
    fill.itemIds = &albumIds_;
    return fillRow(*rowOf(albums_), keyword, std::move(fill));
}

BackgroundTask::Handle SearchPage::fillPlaylists(const std::string& keyword) {
    IconListFill fill;
    fill.itemTemplate = playlistTemplate(navigation_.listTypeface());
    fill.fetchRecords = [&catalogue = *navigation_.catalogue(), keyword](ServiceStatus* status) {
        return catalogue.searchPlaylists(keyword, status);
    };
    fill.pictures = navigation_.pictures();
    fill.itemIds = &playlistIds_;
    return fillRow(*rowOf(playlists_), keyword, std::move(fill));
}

void SearchPage::showAllArtists() {
    if (auto* page = dynamic_cast<AllArtistsPage*>(navigation_.page(Pages::kAllArtists)))
        page->open(searchBox_->keyword());
}

void SearchPage::lockPlayStarters(bool locked) { songs_->setEnabled(!locked); }
