#include "ui/pages/PlaylistPage.h"

#include "api/CloudApiClient.h"
#include "ui/FlatButton.h"
#include "ui/MessageBoxWindow.h"
#include "ui/PageControls.h"
#include "ui/PictureBox.h"
#include "ui/PicturePipeline.h"
#include "ui/ScrollPane.h"
#include "ui/ServiceFailureLine.h"
#include "ui/TrackList.h"

#include <QEvent>
#include <QLabel>

namespace {

const Notice kLoggedOut{
    .title = "操作失败！",
    .content = "Mivra酱检测到您还没有登录您的网易云音乐账号！请在登录网易云账号后操作！",
    .confirmCaption = "知道了",
};
const Notice kSubscribed{
    .title = "操作成功！",
    .content = "Mivra酱成功将这个歌单添加到了您的网易云音乐账号的歌单收藏列表里啦！您可在音乐库中刷新后查看该歌单！",
    .confirmCaption = "知道了",
};
const Notice kUnsubscribed{
    .title = "操作成功！",
    .content = "Mivra酱成功将这个歌单从您的网易云音乐账号的歌单收藏列表里移除啦！您可在音乐库中刷新后查看歌单收藏列表！",
    .confirmCaption = "知道了",
};
const Notice kSubscribeFailed{
    .title = "操作失败！",
    .content = "Mivra酱没能完成这次操作，可能是网络出了点问题，请稍后再试一次吧！",
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
                    .tracks = "图标列表框歌单详情"},
                   OperationMenu::Offers::QueueAndSubscribe),
      header_(this) {
    creator_ = makeTextLine(content(), "歌单详细_作者", {344, 120, 600, 30}, Theme::font(16), Theme::kSecondText);
    connect(back_, &QAbstractButton::clicked, this, [this] { navigation_.goBack(); });
    connect(menu_->subscribeItem(), &QAction::triggered, this, [this] { subscribeShown(SubscribeAction::Subscribe); });
    connect(menu_->unsubscribeItem(), &QAction::triggered, this,
            [this] { subscribeShown(SubscribeAction::Unsubscribe); });
    content()->installEventFilter(this);
    connect(tracks_, &TrackList::pageLoaded, this, [this](ServiceStatus status) {
        failureLine()->report(tracks_, status, [this, id = playlistId_] { loadTracks(id); });
    });
}

PlaylistPage::~PlaylistPage() = default;

void PlaylistPage::loadSelected() {
    playlistId_ = navigation_.state().selectedPlaylistId;
    if (!navigation_.catalogue()) return;
    loadHeader(playlistId_);
    loadTracks(playlistId_);
}

void PlaylistPage::loadHeader(const std::string& id) {
    showHeader({});
    cover_->setPicture({});
    const PictureShape coverShape{kCoverSize, 0, cover_->devicePixelRatioF()};
    failureLine()->loadStarted(&header_);
    header_.start([this, &catalogue = *navigation_.catalogue(), id, cookie = navigation_.accountCookie(),
                   pictures = navigation_.pictures(), coverShape](const LatestLoad::Deliver& deliver) {
        ServiceStatus status = ServiceStatus::Answered;
        const PlaylistDetail detail = catalogue.fetchPlaylistDetail(id, cookie, &status);
        deliver([this, detail, status, id] {
            showHeader(detail);
            failureLine()->report(&header_, status, [this, id] { loadHeader(id); });
        });
        if (detail.coverUrl.empty() || !pictures) return;
        QImage picture = pictures->load(detail.coverUrl, coverShape);
        deliver([this, picture = std::move(picture)] { cover_->setPicture(picture); });
    });
}

void PlaylistPage::showHeader(const PlaylistDetail& detail) {
    name_->setText(QString::fromStdString(detail.name));
    creator_->setText(QString::fromStdString(detail.creatorNickname));
    description_->setText(QString::fromStdString(detail.description));
}

// The list starts over before the pane goes back to the top, so moving the
// pane cannot ask the playlist shown before for more songs.
void PlaylistPage::loadTracks(const std::string& id) {
    failureLine()->loadStarted(tracks_);
    tracks_->load(navigation_.listTypeface(), [&catalogue = *navigation_.catalogue(), id,
                                               cookie = navigation_.accountCookie()](int offset, int limit,
                                                                                     ServiceStatus* status) {
        return catalogue.fetchPlaylistTracks(id, limit, offset, cookie, status);
    });
    scrollPane()->reset();
    fitTracks(0);
}

// The notice tells what the service answered: success only when it
// confirmed the change.
void PlaylistPage::subscribeShown(SubscribeAction action) {
    if (navigation_.loggedInUserId().empty()) {
        MessageBoxWindow::show(kLoggedOut);
        return;
    }
    if (!navigation_.catalogue()) return;
    tasks_.start([this, &catalogue = *navigation_.catalogue(), action, id = playlistId_,
                  cookie = navigation_.accountCookie()] {
        const bool done = catalogue.subscribePlaylist(action, id, cookie);
        runOnUiThread(this, [action, done] {
            if (!done)
                MessageBoxWindow::show(kSubscribeFailed);
            else
                MessageBoxWindow::show(action == SubscribeAction::Subscribe ? kSubscribed : kUnsubscribed);
        });
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
