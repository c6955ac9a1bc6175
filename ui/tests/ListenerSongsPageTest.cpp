// The listener's song page against the companion server: daily songs for a
// logged-in user (and only the login notice, with nothing sent, for a
// logged-out one), the songs played here, the week's record, what its rows
// and buttons play and queue, the newest list opened wins, its failure line
// with the service down; and the hearts on song rows.
#include "browse/CatalogueFeeds.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/ListenerSongsPage.h"
#include "ui/widgets/ServiceFailureLine.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"

#include "PageTestSupport.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

namespace {

constexpr int kLoadTimeoutMs = 20000;
using List = ListenerSongsPage::List;

const std::vector<PlayedSong> kHistory{{"1900001002", "风吹过的街", "林夏", 2}, {"1900001001", "夏日来信", "林夏", 1}};

class ListenerSongsPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        HttpClient::globalInit();
        server_ = std::make_unique<DemoServer>();
        ASSERT_TRUE(server_->start());
    }
    static void TearDownTestSuite() { server_.reset(); }

    ListenerSongsPageTest() : ListenerSongsPageTest(server_->origin()) {}
    explicit ListenerSongsPageTest(const std::string& origin) : view(origin) {
        QObject::connect(&window.router(), &Router::playListRequested, [this](const ItemIds& songs, int index) {
            played.push_back(songs.at(size_t(index)));
            playedLists.push_back(songs);
        });
        QObject::connect(&window.router(), &Router::queueRequested,
                         [this](const std::vector<std::string>& songs) { queued.push_back(songs); });
        page().setHistory([] { return kHistory; });
    }
    ~ListenerSongsPageTest() override {
        if (QWidget* dialog = MessageBoxWindow::dialog()) delete dialog;
    }

    ListenerSongsPage& page() const { return *static_cast<ListenerSongsPage*>(window.page(Pages::kListenerSongs)); }
    TrackList& tracks() const { return *page().trackList(); }
    QString text(const char* name) const { return window.findChild<QLabel*>(QString::fromUtf8(name))->text(); }
    void logIn() {
        const DemoLogin login = logInToDemoAccount(view.client);
        account = showAccount(window, view.client, folder.path().toStdString(), login.cookie, login.profile);
    }
    bool go(List list) {
        return ListenerSongsPage::go(window.router(), list, !window.loggedInUserId().empty(), Place::Home);
    }
    bool rowsIn() const {
        return QTest::qWaitFor([this] { return !tracks().isLoading() && tracks().itemCount() > 0; }, kLoadTimeoutMs);
    }
    bool serverSaw(const std::string& pathStart) const {
        const auto seen = server_->seenRequests();
        return std::any_of(seen.begin(), seen.end(),
                           [&](const SeenRequest& r) { return r.target.starts_with(pathStart); });
    }

    static std::unique_ptr<DemoServer> server_;
    PageWindow view;
    MainWindow& window = view.window;
    QTemporaryDir folder;
    std::unique_ptr<Account> account;  // the one the window shows, once logged in
    std::vector<std::string> played;
    std::vector<ItemIds> playedLists;  // the whole list each play queued
    std::vector<ItemIds> queued;
};

std::unique_ptr<DemoServer> ListenerSongsPageTest::server_;

TEST_F(ListenerSongsPageTest, LoggedOutTheAccountsListsOnlyAskForALogin) {
    server_->clearSeenRequests();
    for (List list : {List::Daily, List::WeekRecord}) {
        EXPECT_FALSE(go(list));
        ASSERT_TRUE(QTest::qWaitFor([] { return MessageBoxWindow::dialog() != nullptr; }, kLoadTimeoutMs));
        EXPECT_EQ(MessageBoxWindow::dialog()->findChild<QLabel*>("标签_提示框标题")->text(), "操作失败！");
        delete MessageBoxWindow::dialog();
        EXPECT_NE(window.currentPage(), Pages::kListenerSongs);
    }
    EXPECT_FALSE(serverSaw("/recommend/songs"));
    EXPECT_FALSE(serverSaw("/user/record"));

    // The songs played here need nobody.
    window.showPage(Pages::kHome);
    ASSERT_TRUE(go(List::PlayedHere));
    EXPECT_EQ(window.currentPage(), Pages::kListenerSongs);
    ASSERT_TRUE(rowsIn());
    EXPECT_EQ(itemTexts(tracks(), IconText::Main), (QStringList{"风吹过的街", "夏日来信"}));
    EXPECT_EQ(text("听歌列表_名称"), "最近播放");
    window.findChild<QAbstractButton*>("听歌列表_返回")->click();
    EXPECT_EQ(window.currentPage(), Pages::kHome) << "back where it was opened from";
}

TEST_F(ListenerSongsPageTest, DailySongsPlayOneOrAllAndQueueAll) {
    logIn();
    ASSERT_TRUE(go(List::Daily));
    ASSERT_TRUE(rowsIn());
    EXPECT_EQ(text("听歌列表_名称"), "每日推荐");
    const std::vector<SongItem> daily = view.client.fetchDailySongs(window.accountCookie());
    EXPECT_EQ(tracks().songIds(), ids(daily));
    EXPECT_EQ(itemTexts(tracks(), IconText::Main), names(daily));

    doubleClickItem(&tracks(), 2);
    window.findChild<QPushButton*>("听歌列表_播放")->click();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0], daily[2].id);
    EXPECT_EQ(played[1], daily[0].id);
    EXPECT_EQ(playedLists, std::vector<ItemIds>(2, ids(daily))) << "each play queues the whole list";
    page().addAllToQueue();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0], ids(daily));

    ASSERT_TRUE(go(List::WeekRecord));
    ASSERT_TRUE(rowsIn());
    EXPECT_EQ(tracks().songIds(), ids(view.client.fetchPlayRecord(window.loggedInUserId(), window.accountCookie())));
}

TEST_F(ListenerSongsPageTest, TheNewestListOpenedWins) {
    logIn();
    go(List::Daily);
    go(List::PlayedHere);
    ASSERT_TRUE(rowsIn());
    Feed<SongItem>& daily = window.feeds()->listener().dailySongs();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !daily.isLoading(); }, kLoadTimeoutMs));
    QCoreApplication::processEvents();
    EXPECT_FALSE(daily.items().empty()) << "the daily songs came in after the list of songs played here";
    EXPECT_EQ(tracks().songIds(), (ItemIds{"1900001002", "1900001001"}));
    EXPECT_EQ(page().shownList(), List::PlayedHere);
}

TEST_F(ListenerSongsPageTest, HeartsOnRowsAreClickedWithoutPlaying) {
    ASSERT_TRUE(go(List::PlayedHere));
    ASSERT_TRUE(rowsIn());
    tracks().showHearts([](const std::string& id) { return id == "1900001001"; });
    QSignalSpy hearts(&tracks(), &TrackList::heartClicked);
    const QPoint heart = tracks().heartRect(1).center();
    QTest::mouseClick(&tracks(), Qt::LeftButton, {}, heart);
    QTest::mouseDClick(&tracks(), Qt::LeftButton, {}, heart);
    ASSERT_GE(hearts.size(), 1);
    EXPECT_EQ(hearts.at(0).at(0).value<std::string>(), "1900001001");
    EXPECT_TRUE(played.empty()) << "a heart is no way to play the song";
}

class ListenerSongsPageWithoutServiceTest : public ListenerSongsPageTest {
protected:
    ListenerSongsPageWithoutServiceTest() : ListenerSongsPageTest(unreachableOrigin()) {}
};

TEST_F(ListenerSongsPageWithoutServiceTest, AFailedLoadShowsTheRetryLineAndThePageStaysUsable) {
    account = showAccount(window, view.client, folder.path().toStdString(), "MUSIC_U=x",
                          {.userId = "1490000001", .nickname = "", .avatarUrl = ""});
    window.showPage(Pages::kHome);
    ASSERT_TRUE(go(List::Daily));
    ASSERT_TRUE(QTest::qWaitFor([this] { return page().failureLine()->isVisible(); }, kLoadTimeoutMs));
    EXPECT_EQ(tracks().itemCount(), 0);
    window.findChild<QAbstractButton*>("听歌列表_返回")->click();
    EXPECT_EQ(window.currentPage(), Pages::kHome);
}

}  // namespace
