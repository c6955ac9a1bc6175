#include "ui/pages/LibraryPage.h"

#include "browse/Account.h"
#include "browse/CatalogueFeeds.h"
#include "ui/lists/FeedFill.h"
#include "ui/lists/IconList.h"
#include "ui/lists/IconListFill.h"
#include "ui/lists/ItemEvents.h"
#include "ui/lists/ListHeight.h"
#include "ui/pages/PageControls.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/ServiceFailureLine.h"
#include "ui/widgets/Theme.h"

#include <QLabel>

namespace {

// Each playlist adds this much to the list's height, on top of the heading.
constexpr int kHeightPerPlaylist = 72;
constexpr int kHeightExtra = 240;

}  // namespace

LibraryPage::LibraryPage(Navigation& navigation, QScrollBar* scrollBar)
    : Page(Pages::kMusicLibrary, scrollBar), navigation_(navigation) {
    QWidget* box = content();
    avatar_ = new PictureBox(box);
    avatar_->setObjectName("音乐库_海报");
    avatar_->setGeometry(0, 20, 50, 50);
    avatar_->setRounding(50);
    heading_ = makeHeading(box, "音乐库_标签", "", {60, 15, 814, 60}, 28);
    refresh_ = new FlatButton("↻", box);
    refresh_->setObjectName("工具栏_清空");
    refresh_->setGeometry(888, 15, 40, 40);
    refresh_->setFont(Theme::font(24));
    refresh_->setToolTip("刷新");
    addLocalMusicButton(box);
    playlists_ = makeIconList(box, "图标列表框用户歌单", {-63, 100, 1090, 550});
    addFailureLine({0, 100, 950, 30});
    openPageOnClick(playlists_, &libraryIds_, navigation_.router(), Place::Playlist, Place::Library);
}

void LibraryPage::addLocalMusicButton(QWidget* box) {
    auto* local = new FlatButton("本地音乐", box);
    local->setObjectName("音乐库_本地音乐");
    local->setGeometry(770, 20, 110, 30);
    local->setFont(Theme::font(16));
    connect(local, &FlatButton::clicked, this, [this] { navigation_.showPage(Pages::kLibraryPlaceholder); });
}

void LibraryPage::showAccount(const std::string& nickname, const QImage& avatar) {
    avatar_->setPicture(avatar);
    heading_->setText(QString::fromStdString(nickname) + "的音乐库");
}

BackgroundTask::Handle LibraryPage::loadLibrary(const std::string& userId, const std::string& cookie) {
    CatalogueFeeds* feeds = navigation_.feeds();
    if (!feeds) return {};
    scrollPane()->reset();
    return feeds->listener().loadLibraryPlaylists(userId, cookie);
}

void LibraryPage::showFeeds(CatalogueFeeds& feeds) {
    showFeedInList(
        feeds.listener().libraryPlaylists(), playlists_,
        [this] {
            IconListFill fill;
            fill.itemTemplate = coverTemplate(navigation_.listTypeface());
            fill.pictures = navigation_.pictures();
            fill.itemIds = &libraryIds_;
            fill.clearCurrentItem = true;
            fill.onItemsInserted = [this](int count) {
                const int height = listHeight(count, kHeightPerPlaylist, kHeightExtra);
                playlists_->resize(playlists_->width(), height);
                scrollPane()->fitContent(height);
            };
            return fill;
        },
        failureLine());
}

// A subscription the service took changes what the library lists.
void LibraryPage::followAccount(Account& account) {
    connect(&account, &Account::subscriptionEnded, this,
            [this, &account](SubscribeAction, const std::string&, bool done) {
                if (done && account.loggedIn()) loadLibrary(account.userId(), account.cookie());
            });
}
