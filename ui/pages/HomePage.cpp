#include "ui/pages/HomePage.h"

#include "ui/lists/RowStack.h"
#include "ui/widgets/ScrollPane.h"

#include "browse/CatalogueFeeds.h"
#include "ui/lists/FeedFill.h"
#include "ui/lists/IconList.h"
#include "ui/lists/IconListFill.h"
#include "ui/lists/ItemEvents.h"
#include "ui/lists/ListHeight.h"
#include "ui/pages/DiscoverPage.h"
#include "ui/pages/PageControls.h"
#include "ui/pictures/Artwork.h"
#include "ui/pictures/PicturePipeline.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/ServiceFailureLine.h"

#include <QPointer>
#include <algorithm>

namespace {

constexpr int kBannerSlots = 8;
constexpr int kDownloadedBanners = 6;  // the carousel shows five of them
constexpr int kCarouselPositions = 5;
constexpr int kShownAlbums = 10;
constexpr int kShownMvs = 10;
// Row heights of the lists: two full rows of five make the heights the page
// is laid out for (530, 530 and 750; the artists fill one row of 250).
constexpr int kCoverRowHeight = 265;
constexpr int kArtistRowHeight = 250;
constexpr int kMvRowHeight = 375;
constexpr QSize kStripPicture(460, 190);
constexpr int kStripRounding = 24;

IconTextElement caption(const TypefaceChoice& type, QRect rect, int size, Qt::Alignment alignment) {
    return IconTextElement{rect, type.font(size), QColor::fromRgba(Theme::kCaption), alignment, true};
}

// Five circles in a row, each name centred under its circle.
IconTemplate homeArtistTemplate(const TypefaceChoice& type) {
    IconTemplate t;
    t.cellSize = {195, 250};
    t.origin = {5, 0};
    t.pictureRect = {10, 0, 160, 160};
    t.rounding = 160;
    t.mainText = caption(type, {0, 155, 180, 52}, 17, Qt::AlignHCenter | Qt::AlignVCenter);
    return t;
}

std::vector<std::string> packedPictures(const std::vector<PackedItem>& items, std::size_t limit) {
    std::vector<std::string> urls;
    for (std::size_t i = 0; i < items.size() && i < limit; ++i) urls.push_back(items[i].picture());
    return urls;
}

PictureShape stripShape(const QWidget* widget) { return {kStripPicture, kStripRounding, widget->devicePixelRatioF()}; }

FlatButton* overlayButton(QWidget* parent, const char* name, Artwork::Picture picture, QRect geometry) {
    auto* button = new FlatButton(Artwork::render(picture, geometry.size(), 2.0), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(geometry);
    button->setHoverColor(Qt::transparent);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

PictureBox* stripPicture(QWidget* parent, const char* name, QRect geometry) {
    auto* box = new PictureBox(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setGeometry(geometry);
    box->setRounding(kStripRounding);
    box->setEmptyColor(QColor::fromRgba(Theme::kPlaceholder));
    return box;
}

}  // namespace

HomePage::HomePage(Navigation& navigation, QScrollBar* scrollBar)
    : Page(Pages::kHome, scrollBar), navigation_(navigation) {
    QWidget* box = content();
    makeHeading(box, "标签_推荐歌单", "推荐歌单", {0, 30, 140, 40});
    FlatButton* allPlaylists = makeLabelButton(box, "标签按钮_查看推荐歌单", "查看全部", {895, 55, 75, 25});
    playlists_ = makeIconList(box, "图标列表框推荐歌单", {-63, 85, 1090, 550});
    makeHeading(box, "标签_ForYou", "每日推荐", {8, 630, 140, 40});
    banner_ = stripPicture(box, "图片_ForYou", {10, 700, 460, 190});
    overlayButton(banner_, "按钮_进入", Artwork::Picture::OverlayEnter, {400, 135, 40, 40});
    buildDailyMvStrip(box);
    makeHeading(box, "标签_推荐艺人", "推荐艺人", {8, 950, 140, 40});
    artists_ = makeIconList(box, "图标列表框推荐艺人", {-5, 1016, 980, 200});
    makeHeading(box, "标签_新专速递", "新专速递", {0, 1266, 140, 40});
    albums_ = makeIconList(box, "图标列表框新专速递", {-63, 1326, 1090, 550});
    makeHeading(box, "标签_推荐MV", "推荐MV", {0, 1860, 140, 40});
    FlatButton* allMvs = makeLabelButton(box, "标签按钮_查看推荐MV", "查看全部", {880, 1885, 75, 25});
    mvs_ = makeIconList(box, "图标列表框推荐MV", {-46, 1920, 1077, 550});
    // Beside the first heading, in sight when the page opens.
    addFailureLine({160, 35, 720, 30});

    connect(allPlaylists, &QAbstractButton::clicked, this, &HomePage::showAllPlaylists);
    connect(allMvs, &QAbstractButton::clicked, this, &HomePage::showAllMvs);
    connectItemEvents();

    sections_ = std::make_unique<RowStack>(box);
    sections_->addList(playlists_, kCoverRowHeight);
    sections_->addList(artists_, kArtistRowHeight);
    sections_->addList(albums_, kCoverRowHeight);
    sections_->addList(mvs_, kMvRowHeight);

    carousel_.setObjectName("时钟_首页轮播图");
    connect(&carousel_, &QTimer::timeout, this, &HomePage::stepCarousel);
    carousel_.start(kCarouselIntervalMs);
}

HomePage::~HomePage() = default;

void HomePage::buildDailyMvStrip(QWidget* box) {
    dailyMv_ = stripPicture(box, "图片_每日MV", {500, 700, 460, 190});
    FlatButton* play = overlayButton(dailyMv_, "按钮_每日MV播放", Artwork::Picture::OverlayPlay, {195, 128, 46, 46});
    FlatButton* next = overlayButton(dailyMv_, "按钮_每日MV下一个", Artwork::Picture::OverlayNext, {245, 131, 40, 40});
    connect(play, &QAbstractButton::clicked, this, &HomePage::playDailyMv);
    connect(next, &QAbstractButton::clicked, this, &HomePage::showNextDailyMv);
}

void HomePage::connectItemEvents() {
    openPageOnClick(playlists_, &playlistIds_, navigation_.router(), Place::Playlist, Place::Home);
    openPageOnClick(artists_, &artistIds_, navigation_.router(), Place::Artist, Place::Home);
    openPageOnClick(albums_, &albumIds_, navigation_.router(), Place::Album, Place::Home);
    onItemId(mvs_, &IconList::itemClicked, &mvIds_, [this](const std::string& id) { navigation_.router().playMv(id); });
}

// The discover page, as its toolbar button shows it, on the recommended playlists.
void HomePage::showAllPlaylists() {
    navigation_.router().open({Place::Discover, DiscoverPage::categoryKey(DiscoverPage::kRecommended)}, Place::Home);
}

void HomePage::showAllMvs() { navigation_.router().open({Place::AllMvs, ""}, Place::Home); }

void HomePage::load(const std::string& accountCookie) {
    CatalogueFeeds* feeds = navigation_.feeds();
    if (!feeds) return;
    sectionsPending_ = 0;
    for (bool& pending : pendingSections_) {
        pending = true;
        ++sectionsPending_;
    }
    feeds->home().loadAll(accountCookie);
}

void HomePage::reloadForAccount(const std::string& accountCookie) {
    if (CatalogueFeeds* feeds = navigation_.feeds()) feeds->home().loadRecommendedPlaylists(accountCookie);
}

void HomePage::showFeeds(CatalogueFeeds& feeds) {
    HomeFeeds& home = feeds.home();
    showList(home.recommendedPlaylists(), playlists_, Section::Playlists, coverTemplate, {.itemIds = &playlistIds_});
    // The artists stay usable while they fill.
    showList(home.topArtists(), artists_, Section::Artists, homeArtistTemplate,
             {.itemIds = &artistIds_, .disableWhileFilling = false});
    showList(home.newestAlbums(), albums_, Section::Albums, coverTemplate,
             {.itemIds = &albumIds_, .maxItems = kShownAlbums});
    showList(home.firstMvs(), mvs_, Section::Mvs, mvTemplate, {.itemIds = &mvIds_, .maxItems = kShownMvs});

    Feed<PackedItem>& banners = home.banners();
    failureLine()->follow(banners);
    connect(&banners, &FeedSignals::started, this, [this] {
        bannerLoad_.cancel();
        bannerItems_.clear();
        bannerSlots_.fill(QImage());
        showBannerAt(carouselPosition_);
    });
    connect(&banners, &FeedSignals::requestEnded, this, [this, &banners] { showBanners(banners.items()); });

    Feed<PackedItem>& dailyMvs = home.dailyMvs();
    failureLine()->follow(dailyMvs);
    connect(&dailyMvs, &FeedSignals::started, this, [this] { dailyMvLoad_.cancel(); });
    connect(&dailyMvs, &FeedSignals::requestEnded, this, [this, &dailyMvs] { showDailyMvs(dailyMvs.items()); });
}

// A section is in once its items show with their pictures (at once when
// its request failed); the page is loaded when every section of the last
// load is in. Later reloads of a section count for nothing.
void HomePage::sectionShown(Section section) {
    bool& pending = pendingSections_[size_t(section)];
    if (!pending) return;
    pending = false;
    if (--sectionsPending_ == 0) emit loaded();
}

void HomePage::whenDone(const BackgroundTask::Handle& task, Section section) {
    if (!task) return sectionShown(section);
    connect(task.get(), &BackgroundTask::TaskState::finished, this, [this, section] { sectionShown(section); });
}

void HomePage::showBanners(const std::vector<PackedItem>& items) {
    bannerItems_ = items;
    PicturePipeline* pictures = navigation_.pictures();
    if (!pictures) return sectionShown(Section::Banners);
    const PictureShape shape = stripShape(banner_);
    const std::vector<std::string> urls = packedPictures(items, kDownloadedBanners);
    whenDone(bannerLoad_.start([this, pictures, shape, urls](const LatestLoad::Deliver& deliver) {
        pictures->loadInOrder(urls, shape, [this, &deliver](std::size_t i, QImage picture) {
            deliver([this, i, picture = std::move(picture)] {
                bannerSlots_[i] = picture;
                if (int(i) == carouselPosition_ - 1) showBannerAt(carouselPosition_);
            });
        });
    }),
             Section::Banners);
}

void HomePage::showDailyMvs(const std::vector<PackedItem>& items) {
    PicturePipeline* pictures = navigation_.pictures();
    const PictureShape shape = stripShape(dailyMv_);
    whenDone(dailyMvLoad_.start([this, pictures, shape, items](const LatestLoad::Deliver& deliver) {
        std::vector<QImage> loaded(items.size());
        if (pictures)
            pictures->loadInOrder(packedPictures(items, items.size()), shape,
                                  [&loaded](std::size_t i, QImage picture) { loaded[i] = std::move(picture); });
        deliver([this, items, loaded = std::move(loaded)] {
            dailyMvItems_ = items;
            dailyMvPictures_ = loaded;
            dailyMvPosition_ = 1;
            dailyMv_->setPicture(dailyMvPictures_.empty() ? QImage() : dailyMvPictures_.front());
        });
    }),
             Section::DailyMvs);
}

// A list of the page: its pictures through the pipeline, and its height
// its row height for each row its items fill, so a section that gets
// fewer items than it asked for is not cut off nor padded with empty rows.
void HomePage::showList(Feed<CoverItem>& feed, IconList* list, Section section, MakeTemplate makeTemplate,
                        IconListFill look) {
    look.onItemsInserted = [this, list](int count) {
        if (count == 0) list->resize(list->width(), 0);  // nothing came: the section takes no room
        layOutSections();
    };
    showFeedInList(feed, list,
                   [this, makeTemplate, look] {
                       IconListFill fill = look;
                       fill.itemTemplate = makeTemplate(navigation_.listTypeface());
                       fill.pictures = navigation_.pictures();
                       return fill;
                   },
                   failureLine(), {.shown = [this, section] { sectionShown(section); }});
}

QImage HomePage::bannerSlot(int position) const {
    return position >= 1 && position <= kBannerSlots ? bannerSlots_[size_t(position - 1)] : QImage();
}

void HomePage::showBannerAt(int position) { banner_->setPicture(bannerSlot(position)); }

// Only slots with a banner take part, so four banners cycle 1 to 4 and
// none leaves the carousel where it is.
void HomePage::stepCarousel() {
    const int positions = std::min<int>(kCarouselPositions, int(bannerItems_.size()));
    if (positions == 0) return;
    carouselPosition_ = carouselPosition_ % positions + 1;
    showBannerAt(carouselPosition_);
}

void HomePage::showNextDailyMv() {
    if (dailyMvItems_.empty()) return;
    dailyMvPosition_ = dailyMvPosition_ % int(dailyMvItems_.size()) + 1;
    const size_t index = size_t(dailyMvPosition_ - 1);
    dailyMv_->setPicture(index < dailyMvPictures_.size() ? dailyMvPictures_[index] : QImage());
}

void HomePage::playDailyMv() {
    const size_t index = size_t(dailyMvPosition_ - 1);
    if (index >= dailyMvItems_.size()) return;
    const std::string id = dailyMvItems_[index].id();
    if (!id.empty()) navigation_.router().playMv(id);
}

// The lists take the rows their items fill at their width, and the sections
// below a list that needs more (or fewer) rows than at the designed width
// move down (or up); the slide box grows or shrinks by as much.
void HomePage::layOutSections() { scrollPane()->growContent(sections_->layOut()); }

void HomePage::widthChanged() { layOutSections(); }
