#include "ui/pages/ChartsPage.h"

#include "browse/CatalogueFeeds.h"
#include "ui/lists/FeedFill.h"
#include "ui/lists/IconList.h"
#include "ui/lists/IconListFill.h"
#include "ui/lists/ItemEvents.h"
#include "ui/pages/CoverGrid.h"
#include "ui/pages/PageControls.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/ServiceFailureLine.h"

namespace {

constexpr int kListTop = 100;
constexpr int kRowHeight = 290;
constexpr int kCaptionHeight = 40;
constexpr int kListBottomMargin = 50;

}  // namespace

ChartsPage::ChartsPage(Navigation& navigation, QScrollBar* scrollBar)
    : Page(Pages::kCharts, scrollBar), navigation_(navigation) {
    QWidget* box = content();
    makeHeading(box, "标签_排行榜", "排行榜", {0, 20, 266, 60}, 30);
    charts_ = makeIconList(box, "图标列表框排行榜", {CoverGrid::kListLeft, kListTop, CoverGrid::kListWidth, 550});
    addFailureLine({0, kListTop, 950, 30});
    openPageOnClick(charts_, &chartIds_, navigation_.router(), Place::Playlist, Place::Charts);
}

int ChartsPage::listHeight(std::int64_t itemCount, int columns) {
    return clampListHeight(std::int64_t(CoverGrid::listHeight(itemCount, kRowHeight, columns)) + kListBottomMargin);
}

int ChartsPage::slideBoxHeight(std::int64_t itemCount, int columns) {
    return clampListHeight(kListTop + std::int64_t(listHeight(itemCount, columns)));
}

void ChartsPage::load() {
    if (CatalogueFeeds* feeds = navigation_.feeds()) feeds->loadToplists();
}

void ChartsPage::showFeeds(CatalogueFeeds& feeds) {
    showFeedInList(
        feeds.toplists(), charts_,
        [this] {
            IconListFill fill;
            fill.itemTemplate = CoverGrid::itemTemplate(navigation_.listTypeface(), kRowHeight, kCaptionHeight);
            fill.pictures = navigation_.pictures();
            fill.itemIds = &chartIds_;
            fill.onItemsInserted = [this](int itemCount) { fitList(itemCount); };
            return fill;
        },
        failureLine());
}

void ChartsPage::fitList(int itemCount) {
    charts_->resize(charts_->width(), listHeight(itemCount, charts_->columns()));
    scrollPane()->fitContent(slideBoxHeight(itemCount, charts_->columns()));
}

// A wider list holds more covers to a row, a narrower one fewer.
void ChartsPage::widthChanged() {
    if (charts_->itemCount() > 0) fitList(charts_->itemCount());
}
