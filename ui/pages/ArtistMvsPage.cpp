#include "ui/pages/ArtistMvsPage.h"

#include "browse/CatalogueFeeds.h"
#include "ui/lists/FeedFill.h"
#include "ui/lists/IconList.h"
#include "ui/lists/IconListFill.h"
#include "ui/lists/ItemEvents.h"
#include "ui/lists/ListHeight.h"
#include "ui/pages/PageControls.h"
#include "ui/pictures/PictureInBox.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/ServiceFailureLine.h"

#include <QLabel>

ArtistMvsPage::ArtistMvsPage(Navigation& navigation, QScrollBar* scrollBar)
    : Page(Pages::kArtistMvs, scrollBar), navigation_(navigation) {
    QWidget* box = content();
    picture_ = new PictureBox(box);
    picture_->setObjectName("艺人MV_海报");
    picture_->setGeometry(0, 20, 50, 50);
    picture_->setRounding(12);
    heading_ = makeHeading(box, "艺人MV_标签", "", {60, 15, 850, 60}, 24);
    // The page is left through the toolbar; its back button is for show.
    makeLabelButton(box, "按钮_返回4", "‹", {900, 35, 35, 35})->setFont(Theme::font(24));
    mvs_ = makeIconList(box, "图标列表框全艺人MV", {-46, 100, 1077, 550});
    addFailureLine({60, 100, 890, 30});
    onItemId(mvs_, &IconList::itemClicked, &mvIds_, [this](const std::string& id) { navigation_.router().playMv(id); });
}

int ArtistMvsPage::listHeight(std::int64_t itemCount) { return ::listHeight(itemCount, 34, 300); }

void ArtistMvsPage::open(const Destination& destination) {
    CatalogueFeeds* feeds = navigation_.feeds();
    if (!feeds) return;
    scrollPane()->reset();
    feeds->openAllArtistMvs(destination.id);
}

// The page is opened from the artist page, so its head is that page's
// artist: it follows the artist header the artist page shows.
void ArtistMvsPage::showFeeds(CatalogueFeeds& feeds) {
    Feed<ArtistDetail>& header = feeds.artistHeader();
    connect(&header, &FeedSignals::started, this, [this] {
        pictureLoad_.cancel();
        picture_->setPicture({});
        heading_->clear();
    });
    connect(&header, &FeedSignals::appended, this, [this, &header] {
        const ArtistDetail& artist = header.items().front();
        heading_->setText(QString::fromStdString(artist.name) + "的MV");
        showPictureInBox(pictureLoad_, navigation_.pictures(), artist.pictureUrl, picture_);
    });

    showFeedInList(
        feeds.allArtistMvs(), mvs_,
        [this] {
            return IconListFill{.itemTemplate = mvTemplate(navigation_.listTypeface()),
                                .pictures = navigation_.pictures(),
                                .itemIds = &mvIds_,
                                .onItemsInserted = [this](int count) {
                                    const int height = listHeight(count);
                                    mvs_->resize(mvs_->width(), height);
                                    scrollPane()->fitContent(height);
                                }};
        },
        failureLine());
}
