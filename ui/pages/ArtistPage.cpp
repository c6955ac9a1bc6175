#include "ui/pages/ArtistPage.h"

#include "browse/CatalogueFeeds.h"
#include "ui/lists/FeedFill.h"
#include "ui/lists/IconList.h"
#include "ui/lists/IconListFill.h"
#include "ui/lists/ItemEvents.h"
#include "ui/lists/ListHeight.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/PageControls.h"
#include "ui/pictures/PictureInBox.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/ServiceFailureLine.h"

#include <QLabel>
#include <cstdint>

namespace {

constexpr QSize kPictureSize{250, 250};
// Below the header each part is a heading, its list 64 pixels lower, and a
// gap of 20 before the next part.
constexpr int kPartsTop = 336;
constexpr int kListBelowHeading = 64;
constexpr int kGapBetweenParts = 20;

}  // namespace

ArtistPage::ArtistPage(Navigation& navigation, QScrollBar* scrollBar)
    : Page(Pages::kArtist, scrollBar), navigation_(navigation) {
    QWidget* box = content();
    picture_ = new PictureBox(box);
    picture_->setObjectName("艺人详情_海报");
    picture_->setGeometry({QPoint(0, 20), kPictureSize});
    picture_->setRounding(20);
    picture_->setEmptyColor(QColor::fromRgba(Theme::kPlaceholder));
    name_ = makeTextLine(box, "艺人详情_艺人", {290, 45, 650, 60}, Theme::font(30, QFont::Bold), Theme::kCaption);
    identity_ = makeTextLine(box, "艺人详情_职业", {298, 120, 650, 34}, Theme::font(16), Theme::kSecondText);
    description_ = makeTextLine(box, "艺人详情_描述", {300, 170, 650, 90}, Theme::font(14), Theme::kSecondText);
    description_->setWordWrap(true);
    FlatButton* back = makeLabelButton(box, "按钮_返回2", "‹", {900, 35, 35, 35});
    back->setFont(Theme::font(24));

    songsHeading_ = makeHeading(box, "标签_艺人热门歌曲", "热门歌曲", {0, kPartsTop, 200, 40});
    songs_ = new TrackList(box);
    songs_->setObjectName("图标列表框艺人热门歌曲");
    songs_->setGeometry(0, kPartsTop + kListBelowHeading, 950, 0);
    albumsHeading_ = makeHeading(box, "标签_艺人专辑", "专辑", {0, 336, 140, 40});
    // The albums' "查看全部" leads nowhere: ten albums are all the page shows.
    allAlbums_ = makeLabelButton(box, "标签按钮_查看艺人专辑", "查看全部", {890, 365, 75, 25});
    albums_ = makeIconList(box, "图标列表框艺人专辑", {-63, 400, 1090, kAlbumListHeight});
    mvsHeading_ = makeHeading(box, "标签_艺人MV", "MV", {0, 950, 140, 40});
    allMvs_ = makeLabelButton(box, "标签按钮_查看艺人MV", "查看全部", {890, 975, 75, 25});
    mvs_ = makeIconList(box, "图标列表框艺人MV", {-46, 1010, 1077, 550});
    // Where the albums begin, in sight under the header.
    addFailureLine({0, 400, 950, 30});

    connect(back, &QAbstractButton::clicked, this, [this] { navigation_.router().back(); });
    connect(allMvs_, &QAbstractButton::clicked, this, &ArtistPage::openArtistMvs);
    // The song plays with the artist's other popular songs queued after it.
    connect(songs_, &IconList::itemActivated, this,
            [this](int row) { navigation_.router().playList(songs_->songIds(), row); });
    connect(songs_, &TrackList::rowsAdded, this, &ArtistPage::layOutParts);
    connect(songs_, &TrackList::filterChanged, this, &ArtistPage::layOutParts);
    songsHeading_->hide();  // until there are songs to head
    openPageOnClick(albums_, &albumIds_, navigation_.router(), Place::Album, Place::Artist);
    onItemId(mvs_, &IconList::itemClicked, &mvIds_, [this](const std::string& id) { navigation_.router().playMv(id); });
}

void ArtistPage::open(const Destination& destination) {
    artistId_ = destination.id;
    CatalogueFeeds* feeds = navigation_.feeds();
    if (!feeds) return;
    scrollPane()->reset();
    songs_->setTypeface(navigation_.listTypeface());
    songs_->setPictures(navigation_.pictures());
    headerTask_ = feeds->openArtist(artistId_);
}

void ArtistPage::showFeeds(CatalogueFeeds& feeds) {
    Feed<ArtistDetail>& header = feeds.artistHeader();
    failureLine()->follow(header);
    connect(&header, &FeedSignals::started, this, [this] {
        pictureLoad_.cancel();
        showHeader({});
        picture_->setPicture({});
    });
    connect(&header, &FeedSignals::appended, this, [this, &header] {
        showHeader(header.items().front());
        showPicture(header.items().front());
    });
    songs_->show(feeds.artistTopSongs());
    connect(&feeds.artistTopSongs(), &FeedSignals::started, this, &ArtistPage::layOutParts);
    showList(feeds.artistAlbums(), albums_, coverTemplate, &albumIds_, kAlbumListHeight);
    showList(feeds.artistMvs(), mvs_, mvTemplate, &mvIds_, kMvListHeight);
}

void ArtistPage::showHeader(const ArtistDetail& detail) {
    name_->setText(QString::fromStdString(detail.name));
    identity_->setText(QString::fromStdString(detail.identity));
    description_->setText(QString::fromStdString(detail.description));
}

// An artist the service does not know has no picture to ask for.
void ArtistPage::showPicture(const ArtistDetail& detail) {
    if (!detail.name.empty()) showPictureInBox(pictureLoad_, navigation_.pictures(), detail.pictureUrl, picture_);
}

// Up to ten items; a list that came back empty (a failed request, or
// nothing to show) takes no room.
void ArtistPage::showList(Feed<CoverItem>& feed, IconList* list, MakeTemplate makeTemplate, ItemIds* ids, int height) {
    showFeedInList(
        feed, list,
        [this, list, makeTemplate, ids, height] {
            return IconListFill{.itemTemplate = makeTemplate(navigation_.listTypeface()),
                                .pictures = navigation_.pictures(),
                                .itemIds = ids,
                                .maxItems = kShownItems,
                                .onItemsInserted = [this, list, height](int count) {
                                    list->resize(list->width(), count > 0 ? height : 0);
                                    layOutParts();
                                }};
        },
        failureLine());
}

void ArtistPage::layOutParts() {
    int top = kPartsTop;
    const int songRows = songs_->itemCount();
    const bool hasSongs = songRows > 0 || !songs_->filter().isEmpty();
    songsHeading_->setVisible(hasSongs);
    if (hasSongs) {
        songsHeading_->move(songsHeading_->x(), top);
        songs_->setGeometry(songs_->x(), top + kListBelowHeading, songs_->width(),
                            clampListHeight(std::int64_t(songRows) * TrackList::kRowHeight));
        top = songs_->geometry().bottom() + 1 + kGapBetweenParts;
    } else {
        songs_->resize(songs_->width(), 0);
    }
    const auto placePart = [&top](QLabel* heading, FlatButton* all, int allOffset, IconList* list, int listOffset) {
        heading->move(heading->x(), top);
        all->move(all->x(), top + allOffset);
        list->move(list->x(), top + listOffset);
        top = list->geometry().bottom() + 1 + kGapBetweenParts;
    };
    placePart(albumsHeading_, allAlbums_, 29, albums_, kListBelowHeading);
    placePart(mvsHeading_, allMvs_, 25, mvs_, 60);
    scrollPane()->fitContent(top + kGapBetweenParts);
}

void ArtistPage::lockPlayStarters(bool locked) { songs_->setPlayLocked(locked); }

void ArtistPage::openArtistMvs() { navigation_.router().openArtistMvs(artistId_, Place::Artist); }
