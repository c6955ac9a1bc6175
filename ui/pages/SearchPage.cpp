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
#include "ui/Toolbar.h"

#include <QPointer>
#include <QLineEdit>

namespace {

const QColor kCaption = QColor::fromRgba(Theme::kCaption);

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
    fillSongs();
    // The window may close while a row fills; nothing is touched after that.
    const QPointer<SearchPage> alive(this);
    BackgroundTask::waitPumping(fillArtists());
    if (!alive) return;
    BackgroundTask::waitPumping(fillAlbums());
    if (!alive) return;
    BackgroundTask::waitPumping(fillPlaylists());
}

BackgroundTask::Handle SearchPage::fillSongs() {
    scrollPane()->reset();
    IconListFill fill;
    fill.itemTemplate = songTemplate(navigation_.listTypeface());
    fill.fetchRecords = [&catalogue = *navigation_.catalogue(), keyword = searchBox_->keyword().toStdString()] {
        return asCoverItems(catalogue.searchSongs(keyword));
    };
    fill.fixedPicture = Artwork::render(Artwork::Picture::SongNote, {40, 40}, songs_->devicePixelRatioF());
    fill.itemIds = &songIds_;
    fill.disableWhileFilling = false;
    fill.clearCurrentItem = true;
    return fillIconList(songs_, std::move(fill));
}

BackgroundTask::Handle SearchPage::fillArtists() {
    scrollPane()->reset();
    IconListFill fill;
    // Three artists side by side.
    fill.itemTemplate = artistTemplate(navigation_.listTypeface(), {150, 170}, 130, {0, 130, 150, 48}, /*wrapName=*/true);
    fill.fetchRecords = [&catalogue = *navigation_.catalogue(), keyword = searchBox_->keyword().toStdString()] {
        return catalogue.searchArtists(keyword, 3);
    };
    fill.pictures = navigation_.pictures();
    fill.itemIds = &artistIds_;
    return fillIconList(artists_, std::move(fill));
}

BackgroundTask::Handle SearchPage::fillAlbums() {
    scrollPane()->reset();
    IconListFill fill;
    fill.itemTemplate = albumTemplate(navigation_.listTypeface());
    fill.fetchRecords = [&catalogue = *navigation_.catalogue(), keyword = searchBox_->keyword().toStdString()] {
        return catalogue.searchAlbums(keyword);
    };
    fill.pictures = navigation_.pictures();
    fill.itemIds = &albumIds_;
    return fillIconList(albums_, std::move(fill));
}

BackgroundTask::Handle SearchPage::fillPlaylists() {
    IconListFill fill;
    fill.itemTemplate = playlistTemplate(navigation_.listTypeface());
    fill.fetchRecords = [&catalogue = *navigation_.catalogue(), keyword = searchBox_->keyword().toStdString()] {
        return catalogue.searchPlaylists(keyword);
    };
    fill.pictures = navigation_.pictures();
    fill.itemIds = &playlistIds_;
    return fillIconList(playlists_, std::move(fill));
}

void SearchPage::showAllArtists() {
    if (auto* page = dynamic_cast<AllArtistsPage*>(navigation_.page(Pages::kAllArtists)))
        page->open(searchBox_->keyword());
}

void SearchPage::lockPlayStarters(bool locked) { songs_->setEnabled(!locked); }
