#include "ui/pages/PlaylistPage.h"

#include "api/CloudApiClient.h"
#include "ui/FlatButton.h"
#include "ui/ItemEvents.h"
#include "ui/ListHeight.h"
#include "ui/MessageBoxWindow.h"
#include "ui/OperationMenu.h"
#include "ui/PageControls.h"
#include "ui/PictureBox.h"
#include "ui/PicturePipeline.h"
#include "ui/ScrollPane.h"
#include "ui/TrackList.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr QSize kCoverSize{300, 300};
constexpr int kListTop = 380;
// The slide box holds the songs' rows and this much more: the header above
// the list and a margin below it.
constexpr int kSlideBoxExtra = 400;

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

QLabel* makeLabel(QWidget* parent, const char* name, QRect geometry, const QFont& font, QRgb colour) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setStyleSheet(QString("color: %1;").arg(QColor::fromRgba(colour).name()));
    return label;
}

// A round-ended button of the header: `ground` behind its caption, a shade
// darker under the mouse.
QPushButton* makeHeaderButton(QWidget* parent, const char* name, const char* caption, QRect geometry, QColor ground,
                              QColor text) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(geometry);
    button->setFont(Theme::font(16, QFont::Medium));
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    button->setStyleSheet(QString("QPushButton { background: %1; color: %2; border: none; border-radius: 20px; }"
                                  "QPushButton:hover { background: %3; }"
                                  "QPushButton:pressed, QPushButton:disabled { background: %4; }")
                              .arg(ground.name(), text.name(), ground.darker(108).name(), ground.lighter(104).name()));
    return button;
}

}  // namespace

PlaylistPage::PlaylistPage(Navigation& navigation, QScrollBar* scrollBar)
    : Page(Pages::kPlaylist, scrollBar), navigation_(navigation) {
    QWidget* box = content();
    cover_ = new PictureBox(box);
    cover_->setObjectName("歌单详细_海报");
    cover_->setGeometry({QPoint(0, 20), kCoverSize});
    cover_->setRounding(20);
    name_ = makeLabel(box, "歌单详细_歌单名", {340, 45, 600, 60}, Theme::font(30, QFont::Bold), Theme::kCaption);
    creator_ = makeLabel(box, "歌单详细_作者", {344, 120, 600, 30}, Theme::font(16), Theme::kSecondText);
    description_ = makeLabel(box, "歌单详细_描述", {344, 176, 600, 75}, Theme::font(14), Theme::kSecondText);
    description_->setWordWrap(true);
    play_ = makeHeaderButton(box, "按钮_播放", "播放", {344, 275, 100, 40}, QColor::fromRgba(Theme::kAccent), Qt::white);
    QPushButton* operations = makeHeaderButton(box, "按钮_操作", "···", {460, 275, 40, 40},
                                               QColor::fromRgba(Theme::kInputBackground), QColor::fromRgba(Theme::kCaption));
    FlatButton* back = makeLabelButton(box, "按钮_返回6", "‹", {900, 35, 35, 35});
    back->setFont(Theme::font(24));
    tracks_ = new TrackList(box);
    tracks_->setObjectName("图标列表框歌单详情");
    tracks_->setGeometry(0, kListTop, 950, 550);
    menu_ = new OperationMenu(box);

    onItemId(tracks_, &IconList::itemActivated, &tracks_->songIds(),
             [this](const std::string& id) { navigation_.requestPlay(id); });
    connect(tracks_, &TrackList::rowsAdded, this, &PlaylistPage::fitTracks);
    connect(play_, &QAbstractButton::clicked, this, &PlaylistPage::playFirst);
    connect(operations, &QAbstractButton::clicked, this,
            [this] { menu_->popUpAtPointer(navigation_.listTypeface().typeface); });
    connect(back, &QAbstractButton::clicked, this, [this] { navigation_.goBack(); });
    connect(menu_->addToQueueItem(), &QAction::triggered, this, &PlaylistPage::addAllToQueue);
    connect(menu_->subscribeItem(), &QAction::triggered, this, [this] { subscribeShown(SubscribeAction::Subscribe); });
    connect(menu_->unsubscribeItem(), &QAction::triggered, this,
            [this] { subscribeShown(SubscribeAction::Unsubscribe); });
    box->installEventFilter(this);
}

PlaylistPage::~PlaylistPage() = default;

const ItemIds& PlaylistPage::songIds() const { return tracks_->songIds(); }

int PlaylistPage::slideBoxHeight(std::int64_t songCount) {
    return clampListHeight(songCount * TrackList::kRowHeight + kSlideBoxExtra);
}

void PlaylistPage::loadSelected() {
    playlistId_ = navigation_.state().selectedPlaylistId;
    if (!navigation_.catalogue()) return;
    loadHeader(playlistId_);
    loadTracks(playlistId_);
}

void PlaylistPage::loadHeader(const std::string& id) {
    const std::uint64_t generation = ++headerGeneration_;
    if (headerTask_) headerTask_->requestStop();
    showHeader({});
    cover_->setPicture({});
    const PictureShape coverShape{kCoverSize, 0, cover_->devicePixelRatioF()};
    headerTask_ = tasks_.start([this, generation, &catalogue = *navigation_.catalogue(), id,
                                cookie = navigation_.accountCookie(), pictures = navigation_.pictures(), coverShape] {
        const PlaylistDetail detail = catalogue.fetchPlaylistDetail(id, cookie);
        runOnUiThread(this, [this, generation, detail] {
            if (generation == headerGeneration_) showHeader(detail);
        });
        if (detail.coverUrl.empty() || !pictures) return;
        QImage picture = pictures->load(detail.coverUrl, coverShape);
        runOnUiThread(this, [this, generation, picture = std::move(picture)] {
            if (generation == headerGeneration_) cover_->setPicture(picture);
        });
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
    tracks_->load(navigation_.listTypeface(), [&catalogue = *navigation_.catalogue(), id,
                                               cookie = navigation_.accountCookie()](int offset, int limit) {
        return catalogue.fetchPlaylistTracks(id, limit, offset, cookie);
    });
    scrollPane()->reset();
    fitTracks(0);
}

void PlaylistPage::fitTracks(int songCount) {
    tracks_->resize(tracks_->width(), clampListHeight(std::int64_t(songCount) * TrackList::kRowHeight));
    scrollPane()->fitContent(slideBoxHeight(songCount));
}

void PlaylistPage::playFirst() {
    if (!tracks_->songIds().empty()) navigation_.requestPlay(tracks_->songIds().front());
}

void PlaylistPage::lockPlayStarters(bool locked) {
    tracks_->setPlayLocked(locked);
    play_->setEnabled(!locked);
}

void PlaylistPage::addAllToQueue() { navigation_.requestQueue(tracks_->songIds()); }

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
