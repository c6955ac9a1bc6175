// The playlist page against the companion server: opened from every list
// that shows playlists it loads the playlist's header, cover and songs; rows
// play their songs, the menu queues and subscribes, the newest playlist
// opened wins, and a long playlist loads its songs as the list is scrolled.
#include "api/CloudApiClient.h"
#include "browse/Account.h"
#include "browse/CatalogueFeeds.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"
#include "server/catalogue/DemoBuilders.h"
#include "ui/lists/IconList.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/ChartsPage.h"
#include "ui/pages/DiscoverPage.h"
#include "ui/pages/PlaylistPage.h"
#include "ui/pages/SearchPage.h"
#include "ui/pictures/PicturePipeline.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PaneScroller.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/OperationMenu.h"

#include "PageTestSupport.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <memory>
#include <optional>

namespace {

constexpr int kLoadTimeoutMs = 20000;

const std::string kFiveHundredSongs = std::to_string(demo::kFiveHundredPlaylist);
const std::string kSummerSounds = std::to_string(demo::kSummerSoundsPlaylist);
const std::string kDemoUsersOwn = "7100000001";  // a playlist of the demo account itself

class PlaylistPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        HttpClient::globalInit();
        server_ = std::make_unique<DemoServer>();
        ASSERT_TRUE(server_->start());
    }
    static void TearDownTestSuite() { server_.reset(); }

    PlaylistPageTest() : PlaylistPageTest(server_->origin()) {}
    explicit PlaylistPageTest(const std::string& origin) : view(origin) {
        QObject::connect(&window.router(), &Router::playListRequested, [this](const ItemIds& songs, int index) {
            played.push_back(songs.at(size_t(index)));
            playedLists.push_back(songs);
        });
        QObject::connect(&window.router(), &Router::queueRequested,
                         [this](const ItemIds& songs) { queued.push_back(songs); });
    }
    ~PlaylistPageTest() override {
        if (QWidget* dialog = MessageBoxWindow::dialog()) delete dialog;
    }

    PlaylistPage& page() const { return *static_cast<PlaylistPage*>(window.page(Pages::kPlaylist)); }
    TrackList& tracks() const { return *page().trackList(); }
    template <typename T = QWidget>
    T* control(const char* name) const {
        return window.findChild<T*>(QString::fromUtf8(name));
    }
    QString label(const char* name) const { return control<QLabel>(name)->text(); }

    // Opens a playlist as a list item does, with the home page to go back to.
    void open(const std::string& id) { window.router().openPlaylist(id, Place::Home); }
    // Waits until the header and the first songs of `id` are in.
    void waitForPlaylist(const std::string& id) {
        const QString name = QString::fromStdString(client.fetchPlaylistDetail(id, "").name);
        const size_t songs = client.fetchPlaylistTracks(id, CatalogueFeeds::kPlaylistPageSize, 0, "").size();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return label("歌单详细_歌单名") == name && !page().cover()->picture().isNull() &&
                       !tracks().isLoading() && page().songIds().size() == songs;
            },
            kLoadTimeoutMs))
            << id;
    }
    void expectShows(const std::string& id) const {
        const PlaylistDetail detail = client.fetchPlaylistDetail(id, "");
        const std::vector<SongItem> songs = client.fetchPlaylistTracks(id, CatalogueFeeds::kPlaylistPageSize, 0, "");
        EXPECT_EQ(label("歌单详细_歌单名").toStdString(), detail.name);
        EXPECT_EQ(label("歌单详细_作者").toStdString(), detail.creatorNickname);
        EXPECT_EQ(label("歌单详细_描述").toStdString(), detail.description);
        EXPECT_FALSE(page().cover()->picture().isNull());
        EXPECT_EQ(itemTexts(tracks(), IconText::Main), names(songs));
        EXPECT_EQ(itemTexts(tracks(), IconText::Second), artistsOf(songs));
        EXPECT_EQ(page().songIds(), ids(songs));
        EXPECT_EQ(tracks().currentItem(), -1);
        for (int i = 0; i < tracks().itemCount(); ++i) EXPECT_FALSE(tracks().itemPicture(i).isNull()) << i;
    }
    void expectHeightsFor(int songCount) const {
        EXPECT_EQ(tracks().height(), songCount * 75);
        EXPECT_EQ(page().scrollPane()->slideBox()->height(), songCount * 75 + 400);
        EXPECT_EQ(page().scrollPane()->scrollBar()->maximum(), std::max(0, songCount * 75 + 400 - 550));
    }
    void chooseMenuItem(QAction* item) const { item->trigger(); }
    QString noticeText(const char* name) const {
        QWidget* dialog = MessageBoxWindow::dialog();
        return dialog ? dialog->findChild<QLabel*>(QString::fromUtf8(name))->text() : QString();
    }
    bool serverSaw(const std::string& pathStart) const {
        const auto seen = server_->seenRequests();
        return std::any_of(seen.begin(), seen.end(),
                           [&](const SeenRequest& r) { return r.target.rfind(pathStart, 0) == 0; });
    }

    static std::unique_ptr<DemoServer> server_;
    std::optional<RelayedCatalogue> relayed;  // above the window, whose tasks may still use it
    PageWindow view;
    const CloudApiClient& client = view.client;
    MainWindow& window = view.window;
    std::vector<std::string> played;
    std::vector<ItemIds> playedLists;  // the whole list each play queued
    std::vector<ItemIds> queued;
};

std::unique_ptr<DemoServer> PlaylistPageTest::server_;

TEST_F(PlaylistPageTest, ControlsSitWhereTheLayoutPutsThem) {
    struct Case {
        const char* name;
        QRect geometry;
    };
    const Case cases[] = {
        {"歌单详细_海报", {0, 20, 300, 300}},   {"歌单详细_歌单名", {340, 45, 600, 60}},
        {"歌单详细_作者", {344, 120, 600, 30}}, {"歌单详细_描述", {344, 176, 600, 75}},
        {"按钮_播放", {344, 275, 100, 40}},     {"按钮_操作", {460, 275, 40, 40}},
        {"按钮_返回6", {900, 35, 35, 35}},      {"图标列表框歌单详情", {0, 380, 950, 550}},
    };
    for (const Case& c : cases) {
        QWidget* widget = control(c.name);
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_EQ(widget->geometry(), c.geometry) << c.name;
        EXPECT_EQ(widget->parentWidget()->objectName(), "滑动框_歌单详情") << c.name;
    }
    EXPECT_EQ(control<QPushButton>("按钮_播放")->text(), "播放");
    EXPECT_EQ(control<QPushButton>("按钮_操作")->text(), "···");

    OperationMenu* menu = page().operationMenu();
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction* item : menu->actions()) captions << item->text();
    EXPECT_EQ(captions, (QStringList{"添加到播放列表", "收藏该歌单", "取消收藏该歌单"}));
}

TEST_F(PlaylistPageTest, TheMenuPopsUpAtThePointerWithItemsOfOneSize) {
    open(kSummerSounds);
    QTest::mouseClick(control<QPushButton>("按钮_操作"), Qt::LeftButton);
    OperationMenu* menu = page().operationMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
    for (QAction* item : menu->actions()) {
        if (item->isVisible()) {
            EXPECT_EQ(menu->actionGeometry(item).size(), QSize(120, 40)) << item->text().toStdString();
        }
    }
    EXPECT_LT((menu->pos() - QCursor::pos()).manhattanLength(), 2);
    menu->close();
}

TEST_F(PlaylistPageTest, EveryEntryPointOpensItsPlaylistAndBackReturnsThere) {
    auto* discover = static_cast<DiscoverPage*>(window.page(Pages::kDiscover));
    auto* charts = static_cast<ChartsPage*>(window.page(Pages::kCharts));
    auto* search = static_cast<SearchPage*>(window.page(Pages::kSearch));
    discover->selectCategory(DiscoverPage::kRecommended);
    charts->load();
    window.toolbar()->searchBox()->setText("夏天");
    QTest::keyClick(window.toolbar()->searchBox(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return discover->playlistIds().size() == client.fetchPersonalizedPlaylists("").size() &&
                   charts->chartIds().size() == client.fetchToplists().size() &&
                   search->playlistIds().size() == client.searchPlaylists("夏天").size();
        },
        kLoadTimeoutMs));

    struct Case {
        int page;
        IconList* list;
        const ItemIds* listIds;
        int index;
    };
    const Case cases[] = {
        {Pages::kDiscover, discover->playlistList(), &discover->playlistIds(), 0},
        {Pages::kCharts, charts->chartList(), &charts->chartIds(), 2},
        {Pages::kSearch, search->playlistRow(), &search->playlistIds(), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        window.showPage(c.page);
        const std::string id = c.listIds->at(size_t(c.index));
        clickItem(c.list, c.index);
        EXPECT_EQ(window.currentPage(), Pages::kPlaylist);
        waitForPlaylist(id);
        expectShows(id);
        expectHeightsFor(tracks().itemCount());
        EXPECT_EQ(page().scrollPane()->position(), 0);

        QTest::mouseClick(control<QPushButton>("按钮_返回6"), Qt::LeftButton);
        EXPECT_EQ(window.currentPage(), c.page);
    }
}

TEST_F(PlaylistPageTest, ARowPlaysTheSongItShowsAndPlayPlaysTheFirst) {
    open(kSummerSounds);
    waitForPlaylist(kSummerSounds);
    const int last = tracks().itemCount() - 1;
    doubleClickItem(&tracks(), last);
    doubleClickItem(&tracks(), 1);
    QTest::mouseClick(control<QPushButton>("按钮_播放"), Qt::LeftButton);
    EXPECT_EQ(played, (std::vector<std::string>{page().songIds().at(size_t(last)), page().songIds().at(1),
                                                page().songIds().at(0)}));
    EXPECT_EQ(playedLists, std::vector<ItemIds>(3, page().songIds())) << "each play queues the whole list";
    EXPECT_EQ(window.currentPage(), Pages::kPlaylist);

    // While a song loads, neither starts another play.
    window.lockPlayStarters(true);
    doubleClickItem(&tracks(), 0);
    QTest::mouseClick(control<QPushButton>("按钮_播放"), Qt::LeftButton);
    EXPECT_EQ(played.size(), 3u);
    window.lockPlayStarters(false);
    EXPECT_TRUE(tracks().isEnabled());
}

TEST_F(PlaylistPageTest, AddToQueueAsksForTheListedSongsInListOrder) {
    open(kSummerSounds);
    waitForPlaylist(kSummerSounds);
    chooseMenuItem(page().operationMenu()->addToQueueItem());
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued.front(), page().songIds());
    EXPECT_TRUE(played.empty());
    EXPECT_EQ(MessageBoxWindow::dialog(), nullptr);
}

TEST_F(PlaylistPageTest, SubscribingWhileLoggedOutShowsTheNoticeAndSendsNothing) {
    open(kSummerSounds);
    waitForPlaylist(kSummerSounds);
    server_->clearSeenRequests();
    for (QAction* item : {page().operationMenu()->subscribeItem(), page().operationMenu()->unsubscribeItem()}) {
        chooseMenuItem(item);
        EXPECT_EQ(noticeText("标签_提示框标题"), "操作失败！");
        EXPECT_EQ(noticeText("标签_内容"), "Mivra酱检测到您还没有登录您的网易云音乐账号！请在登录网易云账号后操作！");
    }
    QTest::qWait(200);
    EXPECT_FALSE(serverSaw("/playlist/subscribe"));
}

TEST_F(PlaylistPageTest, SubscribingLoggedInSaysWhatTheServiceAnswered) {
    const DemoLogin account = logInToDemoAccount(client);
    ASSERT_FALSE(account.profile.userId.empty());
    const QString failed = "Mivra酱没能完成这次操作，可能是网络出了点问题，请稍后再试一次吧！";
    struct Case {
        std::string playlist;
        std::string cookie;
        bool subscribe;
        const char* title;
        QString content;
    };
    const Case cases[] = {
        {kSummerSounds, account.cookie, true, "操作成功！",
         "Mivra酱成功将这个歌单添加到了您的网易云音乐账号的歌单收藏列表里啦！您可在音乐库中刷新后查看该歌单！"},
        {kSummerSounds, account.cookie, false, "操作成功！",
         "Mivra酱成功将这个歌单从您的网易云音乐账号的歌单收藏列表里移除啦！您可在音乐库中刷新后查看歌单收藏列表！"},
        // The service refuses: one's own playlist, and a cookie it does not know.
        {kDemoUsersOwn, account.cookie, true, "操作失败！", failed},
        {kSummerSounds, "MUSIC_U=forged", true, "操作失败！", failed},
    };
    QTemporaryDir folder;
    std::vector<std::unique_ptr<Account>> accounts;  // the window holds the last until the end
    for (const Case& c : cases) {
        SCOPED_TRACE(c.playlist + (c.subscribe ? " subscribe" : " unsubscribe"));
        accounts.push_back(showAccount(window, client, folder.path().toStdString(), c.cookie, account.profile));
        open(c.playlist);
        server_->clearSeenRequests();
        if (QWidget* dialog = MessageBoxWindow::dialog()) delete dialog;
        OperationMenu* menu = page().operationMenu();
        chooseMenuItem(c.subscribe ? menu->subscribeItem() : menu->unsubscribeItem());
        ASSERT_TRUE(QTest::qWaitFor([] { return MessageBoxWindow::dialog() != nullptr; }, kLoadTimeoutMs));
        EXPECT_EQ(noticeText("标签_提示框标题"), c.title);
        EXPECT_EQ(noticeText("标签_内容"), c.content);
        EXPECT_TRUE(serverSaw("/playlist/subscribe?t=" + std::string(c.subscribe ? "1" : "2") + "&id=" + c.playlist));
    }
    const auto subscribed = client.fetchUserPlaylists(account.profile.userId, account.cookie);
    EXPECT_TRUE(std::none_of(subscribed.begin(), subscribed.end(),
                             [](const CoverItem& item) { return item.id == kSummerSounds; }));
}

TEST_F(PlaylistPageTest, TwoPlaylistsOpenedInARowEndWithTheSecond) {
    relayed.emplace(server_->origin());
    window.setCatalogue(&relayed->client);
    // Everything about the first playlist answers after the second is in.
    relayed->relay.setDelay(
        [](const std::string& target) { return target.find(kFiveHundredSongs) != std::string::npos ? 1500 : 0; });
    open(kFiveHundredSongs);
    open(kSummerSounds);
    waitForPlaylist(kSummerSounds);
    QTest::qWait(2500);
    expectShows(kSummerSounds);
    expectHeightsFor(int(page().songIds().size()));

    doubleClickItem(&tracks(), 2);
    EXPECT_EQ(played, std::vector<std::string>{page().songIds().at(2)});
}

TEST_F(PlaylistPageTest, ScrollingALongPlaylistToItsEndLoadsTheRestTwoHundredAtATime) {
    const std::vector<SongItem> all = client.fetchPlaylistTracks(kFiveHundredSongs, 1000, 0, "");
    ASSERT_EQ(all.size(), 500u);
    server_->clearSeenRequests();
    open(kFiveHundredSongs);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return page().songIds().size() == 200 && !tracks().isLoading(); }, kLoadTimeoutMs));
    EXPECT_EQ(tracks().itemCount(), 200);
    expectHeightsFor(200);
    EXPECT_EQ(page().scrollPane()->slideBox()->height(), 15400);
    EXPECT_EQ(page().scrollPane()->scrollBar()->maximum(), 14850);

    // The wheel down to the end of what is listed, as often as it takes.
    PaneScroller& scroller = window.scroller();
    for (int loaded : {400, 500}) {
        SCOPED_TRACE(loaded);
        ScrollPane& pane = *page().scrollPane();
        scroller.scrollBy(pane.key(), pane.scrollBar()->maximum());
        ASSERT_TRUE(QTest::qWaitFor([&] { return int(page().songIds().size()) == loaded; }, kLoadTimeoutMs));
        expectHeightsFor(loaded);
    }
    EXPECT_EQ(page().songIds(), ids(all));
    EXPECT_EQ(itemTexts(tracks(), IconText::Main), names(all));

    // No page is asked for after the last, short one.
    scroller.scrollBy(page().scrollPane()->key(), page().scrollPane()->scrollBar()->maximum());
    QTest::qWait(600);
    EXPECT_FALSE(tracks().isLoading());
    EXPECT_EQ(page().songIds().size(), 500u);
    std::vector<std::string> pages;
    for (const SeenRequest& r : server_->seenRequests()) {
        if (r.target.rfind("/playlist/track/all?id=" + kFiveHundredSongs, 0) != 0) continue;
        const size_t limit = r.target.find("&limit=");
        pages.push_back(r.target.substr(limit, r.target.find("&cookie=") - limit));
    }
    EXPECT_EQ(pages,
              (std::vector<std::string>{"&limit=200&offset=0", "&limit=200&offset=200", "&limit=200&offset=400"}));

    doubleClickItem(&tracks(), 450);
    EXPECT_EQ(played, std::vector<std::string>{all.at(450).id});
    chooseMenuItem(page().operationMenu()->addToQueueItem());
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued.front(), ids(all));
}

class PlaylistPageServiceDownTest : public PlaylistPageTest {
protected:
    PlaylistPageServiceDownTest() : PlaylistPageTest(unreachableOrigin()) {}
};

TEST_F(PlaylistPageServiceDownTest, TheHeaderAndListStayEmptyAndThePageStaysUsable) {
    window.showPage(Pages::kCharts);
    window.router().openPlaylist(kSummerSounds, Place::Charts);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tracks().isLoading(); }, kLoadTimeoutMs));
    QTest::qWait(200);
    EXPECT_EQ(label("歌单详细_歌单名"), "");
    EXPECT_EQ(label("歌单详细_作者"), "");
    EXPECT_EQ(label("歌单详细_描述"), "");
    EXPECT_TRUE(page().cover()->picture().isNull());
    EXPECT_EQ(tracks().itemCount(), 0);
    EXPECT_TRUE(page().songIds().empty());
    expectHeightsFor(0);

    QTest::mouseClick(control<QPushButton>("按钮_播放"), Qt::LeftButton);
    EXPECT_TRUE(played.empty());
    QTest::mouseClick(control<QPushButton>("按钮_返回6"), Qt::LeftButton);
    EXPECT_EQ(window.currentPage(), Pages::kCharts);
}

}  // namespace
