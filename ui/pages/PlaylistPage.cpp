#include "ui/pages/PlaylistPage.h"

#include "browse/Account.h"
#include "browse/CatalogueFeeds.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/PageControls.h"
#include "ui/pictures/PictureInBox.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/ServiceFailureLine.h"
#include "ui/windows/AccountNotices.h"

#include <QEvent>
#include <QLabel>

namespace {

const Notice kSubscribed{
    .title = "操作成功！",
    .content = "Mivra酱成功将这个歌单添加到了您的网易云音乐账号的歌单收藏列表里啦！您可在音乐库中刷新后查看该歌单！",
    .confirmCaption = "知道了",
};
const Notice kUnsubscribed{
    .title = "操作成功！",
    .content =
        "Mivra酱成功将这个歌单从您的网易云音乐账号的歌单收藏列表里移除啦！您可在音乐库中刷新后查看歌单收藏列表！",
    .confirmCaption = "知道了",
};

}  // namespace

PlaylistPage::PlaylistPage(Navigation& navigation, QScrollBar* scrollBar)
    : SongListPage(Pages::kPlaylist, scrollBar, navigation,
                   {.cover = "歌单详细_海报",
                    .name = "歌单详细_歌单名",
                    .description = "歌单详细_描述",
                    .play = "按钮_播放",
                    .operations = "按钮_操作",
                    .back = "按钮_返回6",
                    .tracks = "图标列表框歌单详情",
                    .filter = "歌单详细_筛选"},
                   OperationMenu::Offers::QueueAndSubscribe) {
    creator_ = makeTextLine(content(), "歌单详细_作者", {344, 120, 600, 30}, Theme::font(16), Theme::kSecondText);
    connect(back_, &QAbstractButton::clicked, this, [this] { navigation_.router().back(); });
    connect(menu_->subscribeItem(), &QAction::triggered, this, [this] { subscribeShown(SubscribeAction::Subscribe); });
    connect(menu_->unsubscribeItem(), &QAction::triggered, this,
            [this] { subscribeShown(SubscribeAction::Unsubscribe); });
    content()->installEventFilter(this);
}

void PlaylistPage::open(const Destination& destination) {
    playlistId_ = destination.id;
    CatalogueFeeds* feeds = navigation_.feeds();
    if (!feeds) return;
    followNavigation();
    feeds->openPlaylist(playlistId_, navigation_.accountCookie());
    // The list starts over before the pane goes back to the top, so moving
    // the pane cannot ask the playlist shown before for more songs.
    scrollPane()->reset();
    fitTracks(0);
}

void PlaylistPage::showFeeds(CatalogueFeeds& feeds) {
    Feed<PlaylistDetail>& header = feeds.playlistHeader();
    failureLine()->follow(header);
    failureLine()->follow(feeds.playlistTracks());
    tracks_->show(feeds.playlistTracks());
    connect(&header, &FeedSignals::started, this, [this] {
        coverLoad_.cancel();
        name_->clear();
        creator_->clear();
        description_->clear();
        cover_->setPicture({});
        menu_->offerFor(OperationMenu::Subscription::NotSubscribed);
    });
    connect(&header, &FeedSignals::appended, this, [this, &header] { showHeader(header.items().front()); });
}

void PlaylistPage::showHeader(const PlaylistDetail& detail) {
    name_->setText(QString::fromStdString(detail.name));
    creator_->setText(QString::fromStdString(detail.creatorNickname));
    description_->setText(QString::fromStdString(detail.description));
    showPictureInBox(coverLoad_, navigation_.pictures(), detail.coverUrl, cover_);
    offerSubscription(detail);
}

void PlaylistPage::offerSubscription(const PlaylistDetail& detail) {
    using S = OperationMenu::Subscription;
    const std::string& user = navigation_.loggedInUserId();
    menu_->offerFor(!user.empty() && detail.creatorId == user ? S::Own
                    : detail.subscribed                       ? S::Subscribed
                                                              : S::NotSubscribed);
}

// The notice tells what the service answered: success only when it
// confirmed the change.
void PlaylistPage::subscribeShown(SubscribeAction action) {
    if (!account_ || !account_->changeSubscription(action, playlistId_)) MessageBoxWindow::show(kLoginNeededNotice);
}

// The menu offers the other entry once the service took the change of the
// playlist shown.
void PlaylistPage::followAccount(Account& account) {
    account_ = &account;
    connect(&account, &Account::subscriptionEnded, this,
            [this](SubscribeAction action, const std::string& playlistId, bool done) {
                if (!done) {
                    MessageBoxWindow::show(kChangeFailedNotice);
                    return;
                }
                const bool subscribed = action == SubscribeAction::Subscribe;
                if (playlistId == playlistId_)
                    menu_->offerFor(subscribed ? OperationMenu::Subscription::Subscribed
                                               : OperationMenu::Subscription::NotSubscribed);
                MessageBoxWindow::show(subscribed ? kSubscribed : kUnsubscribed);
            });
}

bool PlaylistPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == content() && event->type() == QEvent::Move) {
        // Within a screen of the list's end, the next songs are asked for.
        const QWidget* mask = scrollPane()->mask();
        const int hiddenBelow = content()->y() + content()->height() - mask->height();
        if (hiddenBelow <= mask->height()) tracks_->loadMore();
    }
    return Page::eventFilter(watched, event);
}
