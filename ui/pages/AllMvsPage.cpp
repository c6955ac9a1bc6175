#include "ui/pages/AllMvsPage.h"

#include "browse/CatalogueFeeds.h"
#include "ui/lists/FeedFill.h"
#include "ui/lists/IconList.h"
#include "ui/lists/IconListFill.h"
#include "ui/lists/ItemEvents.h"
#include "ui/lists/ListHeight.h"
#include "ui/pages/PageControls.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/ServiceFailureLine.h"

#include <QWidget>

AllMvsPage::AllMvsPage(Navigation& navigation, QScrollBar* scrollBar)
    : Page(Pages::kAllMvs, scrollBar), navigation_(navigation) {
    QWidget* box = content();
    makeHeading(box, "标签_全部MV", "全部MV", {0, 20, 266, 60}, 28);
    mvs_ = makeIconList(box, "图标列表框全部MV", {-46, 110, 1077, 550});
    addFailureLine({0, 110, 950, 30});
    onItemId(mvs_, &IconList::itemClicked, &mvIds_, [this](const std::string& id) { navigation_.router().playMv(id); });
}

void AllMvsPage::open(const Destination&) {
    CatalogueFeeds* feeds = navigation_.feeds();
    if (!feeds) return;
    scrollPane()->reset();
    feeds->loadAllMvs();
}

void AllMvsPage::showFeeds(CatalogueFeeds& feeds) {
    showFeedInList(
        feeds.allMvs(), mvs_,
        [this] {
            IconListFill fill;
            fill.itemTemplate = mvTemplate(navigation_.listTypeface());
            fill.pictures = navigation_.pictures();
            fill.itemIds = &mvIds_;
            fill.onItemsInserted = [this](int count) {
                const int height = listHeight(count, 37);
                mvs_->resize(mvs_->width(), height);
                scrollPane()->fitContent(height);
            };
            return fill;
        },
        failureLine());
}
