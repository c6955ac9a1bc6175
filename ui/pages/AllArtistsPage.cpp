#include "ui/pages/AllArtistsPage.h"

#include "browse/CatalogueFeeds.h"
#include "ui/lists/FeedFill.h"
#include "ui/lists/IconList.h"
#include "ui/lists/IconListFill.h"
#include "ui/lists/ItemEvents.h"
#include "ui/pages/PageControls.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/ServiceFailureLine.h"

#include <QLabel>

AllArtistsPage::AllArtistsPage(Navigation& navigation, QScrollBar* scrollBar)
    : Page(Pages::kAllArtists, scrollBar), navigation_(navigation) {
    QWidget* box = content();
    heading_ = makeHeading(box, "搜索艺人_标签", "", {0, 20, 850, 60}, 24);
    // The page is left through the toolbar; its back button is for show.
    makeLabelButton(box, "按钮_返回7", "‹", {900, 35, 35, 35})->setFont(Theme::font(24));
    artists_ = makeIconList(box, "图标列表框全搜索艺人", {-5, 90, 980, 681});
    addFailureLine({0, 90, 950, 30});

    openPageOnClick(artists_, &artistIds_, navigation_.router(), Place::Artist, Place::AllArtists);
}

void AllArtistsPage::open(const Destination& destination) {
    heading_->setText("搜索 艺人 \"" + QString::fromStdString(destination.id) + "\"");
    CatalogueFeeds* feeds = navigation_.feeds();
    if (!feeds) return;
    scrollPane()->reset();
    feeds->searchAllArtists(destination.id);
}

void AllArtistsPage::showFeeds(CatalogueFeeds& feeds) {
    showFeedInList(
        feeds.allFoundArtists(), artists_,
        [this] {
            IconListFill fill;
            // Six circles to a row.
            fill.itemTemplate =
                artistTemplate(navigation_.listTypeface(), {162, 190}, 140, {0, 150, 150, 22}, /*wrapName=*/false);
            fill.itemTemplate.origin = {5, 0};
            fill.pictures = navigation_.pictures();
            fill.itemIds = &artistIds_;
            fill.onItemsInserted = [this](int itemCount) {
                const int height = listHeight(itemCount);
                artists_->resize(artists_->width(), height);
                scrollPane()->fitContent(height);
            };
            return fill;
        },
        failureLine());
}
