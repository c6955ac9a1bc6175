#include "ui/pages/AllArtistsPage.h"

#include "api/CloudApiClient.h"
#include "ui/FlatButton.h"
#include "ui/IconList.h"
#include "ui/IconListFill.h"
#include "ui/ItemEvents.h"
#include "ui/PageControls.h"
#include "ui/ScrollPane.h"
#include "ui/ServiceFailureLine.h"

#include <QLabel>

namespace {

constexpr int kMaxArtists = 50;

}  // namespace

AllArtistsPage::AllArtistsPage(Navigation& navigation, QScrollBar* scrollBar)
    : Page(Pages::kAllArtists, scrollBar), navigation_(navigation) {
    QWidget* box = content();
    heading_ = makeHeading(box, "搜索艺人_标签", "", {0, 20, 850, 60}, 24);
    // The page is left through the toolbar; its back button is for show.
    makeLabelButton(box, "按钮_返回7", "‹", {900, 35, 35, 35})->setFont(Theme::font(24));
    artists_ = makeIconList(box, "图标列表框全搜索艺人", {-5, 90, 980, 681});
    addFailureLine({0, 90, 950, 30});

    openPageOnClick(artists_, &artistIds_, navigation_, &NavigationState::selectedArtistId, Pages::kArtist,
                    Pages::kAllArtists);
}

void AllArtistsPage::open(const QString& keyword) {
    heading_->setText("搜索 艺人 \"" + keyword + "\"");
    navigation_.showPage(Pages::kAllArtists);
    if (!navigation_.catalogue()) return;
    BackgroundTask::waitPumping(fillArtists(keyword));
}

BackgroundTask::Handle AllArtistsPage::fillArtists(const QString& keyword) {
    scrollPane()->reset();
    IconListFill fill;
    // Six circles to a row.
    fill.itemTemplate = artistTemplate(navigation_.listTypeface(), {162, 190}, 140, {0, 150, 150, 22}, /*wrapName=*/false);
    fill.itemTemplate.origin = {5, 0};
    const CloudApiClient& catalogue = *navigation_.catalogue();
    fill.fetchRecords = [&catalogue, keyword = keyword.toStdString()](ServiceStatus* status) {
        return catalogue.searchArtists(keyword, kMaxArtists, status);
    };
    fill.pictures = navigation_.pictures();
    fill.itemIds = &artistIds_;
    fill.onItemsInserted = [this](int itemCount) {
        const int height = listHeight(itemCount);
        artists_->resize(artists_->width(), height);
        scrollPane()->fitContent(height);
    };
    fill.onLoaded = failureLine()->watchFill(artists_, [this, keyword] { fillArtists(keyword); });
    return fillIconList(artists_, std::move(fill));
}
