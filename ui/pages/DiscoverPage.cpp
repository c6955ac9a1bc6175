#include "ui/pages/DiscoverPage.h"

#include "browse/CatalogueFeeds.h"
#include "ui/lists/FeedFill.h"
#include "ui/lists/IconList.h"
#include "ui/lists/IconListFill.h"
#include "ui/lists/ItemEvents.h"
#include "ui/pages/CoverGrid.h"
#include "ui/pages/PageControls.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/ServiceFailureLine.h"

#include <QEvent>
#include <algorithm>

namespace {

constexpr int kListTop = 256;
constexpr int kRowHeight = 275;
constexpr std::size_t kMaxPlaylists = 100;

using Source = PlaylistCategory::Kind;

struct CategoryLayout {
    const char* name;
    const char* caption;  // also the category the service is asked for, for tagged ones
    QRect geometry;
    Source source;
    int captionHeight;
};

// In the order of DiscoverPage::Category.
const CategoryLayout kCategories[] = {
    {"按钮_全部", "全部", {8, 130, 70, 40}, Source::All, 52},
    {"按钮_推荐歌单", "推荐歌单", {95, 130, 105, 40}, Source::Recommended, 40},
    {"按钮_精品歌单", "精品歌单", {217, 128, 105, 40}, Source::HighQuality, 40},
    {"按钮_官方", "官方", {339, 128, 70, 40}, Source::Tagged, 40},
    {"按钮_欧美", "欧美", {426, 128, 70, 40}, Source::Tagged, 40},
    {"按钮_流行", "流行", {513, 128, 70, 40}, Source::Tagged, 40},
    {"按钮_摇滚", "摇滚", {600, 128, 70, 40}, Source::Tagged, 40},
    {"按钮_电子", "电子", {688, 128, 70, 40}, Source::Tagged, 40},
    {"按钮_说唱", "说唱", {776, 128, 70, 40}, Source::Tagged, 40},
    {"按钮_古风", "古风", {8, 187, 70, 40}, Source::Tagged, 40},
    {"按钮_轻音乐", "轻音乐", {95, 187, 85, 40}, Source::Tagged, 40},
    {"按钮_华语", "华语", {197, 187, 70, 40}, Source::Tagged, 40},
};
static_assert(std::size(kCategories) == DiscoverPage::kCategoryCount);

}  // namespace

DiscoverPage::DiscoverPage(Navigation& navigation, QScrollBar* scrollBar)
    : Page(Pages::kDiscover, scrollBar), navigation_(navigation) {
    QWidget* box = content();
    makeHeading(box, "标签_发现", "发现", {0, 20, 140, 60}, 30);
    for (int code = 0; code < kCategoryCount; ++code) {
        const CategoryLayout& layout = kCategories[code];
        FlatButton* button = makeLabelButton(box, layout.name, layout.caption, layout.geometry);
        button->setFont(Theme::font(16));
        button->setTextColor(code == kAll ? Theme::kAccent : Theme::kSecondText);
        button->installEventFilter(this);
        connect(button, &QAbstractButton::clicked, this, [this, code] { selectCategory(Category(code)); });
        buttons_[size_t(code)] = button;
    }
    FlatButton* more = makeLabelButton(box, "按钮_更多", "···", {284, 187, 60, 40});
    more->setFont(Theme::font(16));
    // The panel of further categories stays closed.
    auto* furtherCategories = new QWidget(box);
    furtherCategories->setObjectName("列表_歌单分类");
    furtherCategories->setGeometry(8, 245, 950, 0);

    playlists_ = makeIconList(box, "图标列表框歌单分类", {CoverGrid::kListLeft, kListTop, CoverGrid::kListWidth, 550});
    addFailureLine({8, kListTop, 950, 30});
    openPageOnClick(playlists_, &playlistIds_, navigation_.router(), Place::Playlist, Place::Discover);
}

int DiscoverPage::listHeight(std::int64_t itemCount, int columns) {
    return CoverGrid::listHeight(itemCount, kRowHeight, columns);
}

int DiscoverPage::slideBoxHeight(std::int64_t itemCount, int columns) {
    return clampListHeight(kListTop + std::int64_t(listHeight(itemCount, columns)));
}

std::string DiscoverPage::categoryKey(Category category) { return kCategories[category].caption; }

void DiscoverPage::open(const Destination& destination) {
    for (int code = 0; code < kCategoryCount; ++code)
        if (destination.id == kCategories[code].caption) selectCategory(Category(code));
}

void DiscoverPage::selectCategory(Category category) {
    if (category < 0 || category >= kCategoryCount) return;
    for (int code = 0; code < kCategoryCount; ++code) {
        buttons_[size_t(code)]->setTextColor(code == category ? Theme::kAccent : Theme::kSecondText);
        buttons_[size_t(code)]->setEnabled(code != category);
    }
    category_ = category;
    CatalogueFeeds* feeds = navigation_.feeds();
    if (!feeds) return;

    const CategoryLayout& layout = kCategories[category];
    scrollPane()->reset();
    const std::string tag = layout.source == Source::Tagged ? layout.caption : "";
    feeds->loadCategoryPlaylists({layout.source, tag}, navigation_.accountCookie());
}

// The list's look follows the category it shows: some captions take two lines.
void DiscoverPage::showFeeds(CatalogueFeeds& feeds) {
    showFeedInList(
        feeds.categoryPlaylists(), playlists_,
        [this] {
            IconListFill fill;
            fill.itemTemplate =
                CoverGrid::itemTemplate(navigation_.listTypeface(), kRowHeight, kCategories[category_].captionHeight);
            fill.pictures = navigation_.pictures();
            fill.itemIds = &playlistIds_;
            fill.maxItems = kMaxPlaylists;
            fill.onItemsInserted = [this](int itemCount) { fitList(itemCount); };
            return fill;
        },
        failureLine());
}

bool DiscoverPage::eventFilter(QObject* watched, QEvent* event) {
    const bool entered = event->type() == QEvent::Enter;
    if (entered || event->type() == QEvent::Leave) {
        const auto button = std::find(buttons_.begin(), buttons_.end(), watched);
        // The chosen category stays pink when the mouse leaves it.
        const bool chosen = button - buttons_.begin() == category_;
        if (button != buttons_.end()) (*button)->setTextColor(entered || chosen ? Theme::kAccent : Theme::kSecondText);
    }
    return Page::eventFilter(watched, event);
}

void DiscoverPage::fitList(int itemCount) {
    playlists_->resize(playlists_->width(), listHeight(itemCount, playlists_->columns()));
    scrollPane()->fitContent(slideBoxHeight(itemCount, playlists_->columns()));
}

// A wider list holds more covers to a row, a narrower one fewer.
void DiscoverPage::widthChanged() {
    if (playlists_->itemCount() > 0) fitList(playlists_->itemCount());
}
