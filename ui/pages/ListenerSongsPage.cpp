#include "ui/pages/ListenerSongsPage.h"

#include "browse/CatalogueFeeds.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/PageTable.h"
#include "ui/pictures/Artwork.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/ServiceFailureLine.h"
#include "ui/windows/AccountNotices.h"

#include <QDate>
#include <QLabel>
#include <algorithm>
#include <iterator>

namespace {

struct ListLook {
    const char* name;
    const char* description;
};

// The destination ids of the lists, in List order.
constexpr const char* kListNames[] = {"daily", "played-here", "week-record"};

ListLook lookOf(ListenerSongsPage::List list) {
    switch (list) {
        case ListenerSongsPage::List::Daily: return {"每日推荐", "根据你的音乐口味生成，每天6:00更新"};
        case ListenerSongsPage::List::PlayedHere: return {"最近播放", "在这台电脑上播放过的歌曲，最近的在前"};
        case ListenerSongsPage::List::WeekRecord: return {"听歌排行", "最近一周你听得最多的歌曲"};
    }
    return {"", ""};
}

}  // namespace

ListenerSongsPage::ListenerSongsPage(Navigation& navigation, QScrollBar* scrollBar)
    : SongListPage(Pages::kListenerSongs, scrollBar, navigation,
                   {.cover = "听歌列表_海报",
                    .name = "听歌列表_名称",
                    .description = "听歌列表_描述",
                    .play = "听歌列表_播放",
                    .operations = "听歌列表_操作",
                    .back = "听歌列表_返回",
                    .tracks = "图标列表框听歌列表",
                    .filter = "听歌列表_筛选"},
                   OperationMenu::Offers::Queue) {
    cover_->setPicture(Artwork::render(Artwork::Picture::SongNote, kCoverSize, 2.0));
    connect(back_, &QAbstractButton::clicked, this, [this] { navigation_.router().back(); });
}

void ListenerSongsPage::showFeeds(CatalogueFeeds& feeds) {
    feeds_ = &feeds;
    ListenerFeeds& listener = feeds.listener();
    for (Feed<SongItem>* feed : {&listener.dailySongs(), &listener.playedHere(), &listener.playRecord()})
        failureLine()->follow(*feed);
}

bool ListenerSongsPage::go(Router& router, List list, bool loggedIn, Place from) {
    if (list != List::PlayedHere && !loggedIn) {
        MessageBoxWindow::show(kLoginNeededNotice);
        return false;
    }
    router.open({Place::ListenerSongs, kListNames[size_t(list)]}, from);
    return true;
}

void ListenerSongsPage::open(const Destination& destination) {
    const auto named = std::find(std::begin(kListNames), std::end(kListNames), destination.id);
    if (named == std::end(kListNames)) return;
    const List list = List(named - std::begin(kListNames));
    shown_ = list;
    const ListLook look = lookOf(list);
    name_->setText(QString::fromUtf8(look.name));
    QString description = QString::fromUtf8(look.description);
    if (list == List::Daily) description = QDate::currentDate().toString("M月d日") + " · " + description;
    description_->setText(description);
    if (!feeds_) return;
    ListenerFeeds& listener = feeds_->listener();
    followNavigation();
    switch (list) {
        case List::Daily:
            tracks_->show(listener.dailySongs());
            listener.loadDailySongs(navigation_.accountCookie());
            break;
        case List::PlayedHere:
            tracks_->show(listener.playedHere());
            listener.loadPlayedHere(history_ ? history_() : std::vector<PlayedSong>{});
            break;
        case List::WeekRecord:
            tracks_->show(listener.playRecord());
            listener.loadPlayRecord(navigation_.loggedInUserId(), navigation_.accountCookie());
            break;
    }
    scrollPane()->reset();
    fitTracks(0);
}
