// The artist page, the artist-MV page and the album page against the
// companion server: what each entry point opens, what the pages show, where
// their items and buttons lead, the newest of two quick loads winning, and
// how they look when a request fails.
#include "DemoCompanion.h"
#include "PageTestSupport.h"
#include "TaskWait.h"
#include "api/CloudApiClient.h"
#include "browse/MvAddress.h"
#include "server/catalogue/DemoBuilders.h"
#include "ui/MvPlayback.h"
#include "ui/lists/IconList.h"
#include "ui/lists/ItemEvents.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/AlbumPage.h"
#include "ui/pages/AllArtistsPage.h"
#include "ui/pages/ArtistMvsPage.h"
#include "ui/pages/ArtistPage.h"
#include "ui/pages/HomePage.h"
#include "ui/pages/SearchPage.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/OperationMenu.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int kWaitMs = 20000;

const std::string kZhouYe = std::to_string(demo::kZhouYe);            // 50 MVs
const std::string kLinXia = std::to_string(demo::kLinXia);            // 3 albums, 1 MV
const std::string kEtudeStudio = std::to_string(demo::kEtudeStudio);  // 25 albums, no MV
const std::string kSummerLetters = "150001";                          // 林夏's album "夏日来信"

QString text(const QLabel* label) { return label->text(); }

// A main window on the companion, with the pages these tests visit.
class ArtistWindow : public PageWindow {
public:
    using PageWindow::PageWindow;

    ArtistPage& artist() const { return *static_cast<ArtistPage*>(window.page(Pages::kArtist)); }
    ArtistMvsPage& artistMvs() const { return *static_cast<ArtistMvsPage*>(window.page(Pages::kArtistMvs)); }
    AlbumPage& album() const { return *static_cast<AlbumPage*>(window.page(Pages::kAlbum)); }
    template <typename T = QWidget>
    T* control(const char* name) const {
        return window.findChild<T*>(QString::fromUtf8(name));
    }

    // Opens an artist as a list item does, from `fromPage`.
    void openArtist(const std::string& id, Place from = Place::Home) { window.router().openArtist(id, from); }
    void openAlbum(const std::string& id, Place from = Place::Home) { window.router().openAlbum(id, from); }
    // Waits until the artist page shows `id`'s name and both lists are in.
    void waitForArtist(const std::string& id) {
        const std::string name = client.fetchArtistDetail(id).name;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return text(artist().nameLabel()) == QString::fromStdString(name) &&
                       artist().albumList()->isEnabled() && artist().mvList()->isEnabled() &&
                       !artist().picture()->picture().isNull();
            },
            kWaitMs))
            << id;
    }
    void waitForAlbum(const std::string& id) {
        const size_t songs = client.fetchAlbum(id).songs.size();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return album().songIds().size() == songs && !album().cover()->picture().isNull(); }, kWaitMs))
            << id;
    }
};

class ArtistAlbumPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { DemoCompanion::start(); }
    static void TearDownTestSuite() { DemoCompanion::stop(); }
    void TearDown() override {
        if (QWidget* d = MessageBoxWindow::dialog()) delete d;
    }
    QString noticeTitle() const {
        QWidget* d = MessageBoxWindow::dialog();
        return d ? d->findChild<QLabel*>("标签_提示框标题")->text() : QString();
    }

    ArtistWindow view{DemoCompanion::origin()};
};

TEST_F(ArtistAlbumPageTest, AnArtistShowsItsHeaderAlbumsAndMvs) {
    view.openArtist(kLinXia);
    view.waitForArtist(kLinXia);
    ArtistPage& page = view.artist();
    const ArtistDetail detail = view.client.fetchArtistDetail(kLinXia);
    EXPECT_EQ(text(view.control<QLabel>("艺人详情_艺人")), "林夏");
    EXPECT_EQ(text(view.control<QLabel>("艺人详情_职业")), QString::fromStdString(detail.identity));
    EXPECT_EQ(text(view.control<QLabel>("艺人详情_描述")), QString::fromStdString(detail.description));
    EXPECT_FALSE(detail.identity.empty());

    const auto albums = view.client.fetchArtistAlbums(kLinXia, 10);
    const auto mvs = view.client.fetchArtistMvs(kLinXia, 10);
    ASSERT_FALSE(albums.empty());
    ASSERT_FALSE(mvs.empty());
    EXPECT_EQ(itemTexts(*page.albumList(), IconText::Main), names(albums));
    EXPECT_EQ(page.albumIds(), ids(albums));
    EXPECT_EQ(itemTexts(*page.mvList(), IconText::Main), names(mvs));
    EXPECT_EQ(page.mvIds(), ids(mvs));
    EXPECT_EQ(page.albumList()->height(), ArtistPage::kAlbumListHeight);
    EXPECT_EQ(page.mvList()->height(), ArtistPage::kMvListHeight);
    for (int i = 0; i < page.albumList()->itemCount(); ++i) EXPECT_FALSE(page.albumList()->itemPicture(i).isNull());
}

TEST_F(ArtistAlbumPageTest, TheListsShowTenAtMostAndAnArtistWithoutMvsHasAnEmptyMvList) {
    view.openArtist(kEtudeStudio);
    view.waitForArtist(kEtudeStudio);
    EXPECT_EQ(view.artist().albumList()->itemCount(), 10) << "25 albums, 10 shown";
    EXPECT_EQ(view.artist().albumIds().size(), 10u);
    EXPECT_EQ(view.artist().albumList()->height(), 530);
    EXPECT_EQ(view.artist().mvList()->itemCount(), 0);
    EXPECT_TRUE(view.artist().mvIds().empty());
    EXPECT_EQ(view.artist().mvList()->height(), 0);

    view.openArtist(kZhouYe);
    view.waitForArtist(kZhouYe);
    EXPECT_EQ(view.artist().mvList()->itemCount(), 10);
    EXPECT_EQ(view.artist().mvList()->height(), 750);
}

TEST_F(ArtistAlbumPageTest, EachEntryPointOpensTheArtistAndBackReturnsThere) {
    // The home page's artists.
    HomePage& home = *static_cast<HomePage*>(view.window.page(Pages::kHome));
    QSignalSpy loaded(&home, &HomePage::loaded);
    home.load("");
    ASSERT_TRUE(loaded.wait(kWaitMs));
    clickItem(home.artistList(), 1);
    EXPECT_EQ(view.window.currentPage(), Pages::kArtist);
    view.waitForArtist(home.artistIds().at(1));

    // The search page's artist row and the all-artists page.
    view.window.toolbar()->searchBox()->setText("a");
    QTest::keyClick(view.window.toolbar()->searchBox(), Qt::Key_Return);
    auto& search = *static_cast<SearchPage*>(view.window.page(Pages::kSearch));
    ASSERT_TRUE(QTest::qWaitFor([&] { return search.artistIds().size() == 3; }, kWaitMs));
    clickItem(search.artistRow(), 2);
    view.waitForArtist(search.artistIds().at(2));
    const Place searchReturn = view.window.router().backTarget(Place::Artist);

    auto& all = *static_cast<AllArtistsPage*>(view.window.page(Pages::kAllArtists));
    view.control<QAbstractButton>("标签按钮_查看搜索艺人")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return all.artistIds().size() > 4 && all.artistList()->isEnabled(); }, kWaitMs));
    clickItem(all.artistList(), 4);
    view.waitForArtist(all.artistIds().at(4));
    const Place allArtistsReturn = view.window.router().backTarget(Place::Artist);

    EXPECT_EQ(searchReturn, Place::Search);
    EXPECT_EQ(allArtistsReturn, Place::AllArtists);
    view.control<QAbstractButton>("按钮_返回2")->click();
    EXPECT_EQ(view.window.currentPage(), Pages::kAllArtists);

    view.openArtist(kLinXia, Place::Home);
    view.control<QAbstractButton>("按钮_返回2")->click();
    EXPECT_EQ(view.window.currentPage(), Pages::kHome);
}

TEST_F(ArtistAlbumPageTest, TheAlbumsAllButtonLeavesThePageAloneAndTheWheelScrollsIt) {
    view.openArtist(kLinXia);
    view.waitForArtist(kLinXia);
    ScrollPane& pane = *view.artist().scrollPane();
    const int top = pane.slideBox()->y();
    view.control<QAbstractButton>("标签按钮_查看艺人专辑")->click();
    EXPECT_EQ(view.window.currentPage(), Pages::kArtist);
    EXPECT_EQ(pane.slideBox()->y(), top);
    // The pane reaches the bottom of the MVs.
    EXPECT_EQ(pane.scrollBar()->maximum(), pane.slideBox()->height() - pane.mask()->height());
    EXPECT_GE(pane.slideBox()->height(), view.artist().mvList()->geometry().bottom());

    view.window.onWheel(-3);
    EXPECT_EQ(pane.position(), 120);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane.slideBox()->y() == -120; }, kWaitMs));
    view.window.onWheel(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane.slideBox()->y() == -40; }, kWaitMs));

    view.control<QAbstractButton>("标签按钮_查看艺人MV")->click();
    EXPECT_EQ(view.window.currentPage(), Pages::kArtistMvs);
    view.control<QAbstractButton>("按钮_返回4")->click();
    EXPECT_EQ(view.window.currentPage(), Pages::kArtistMvs);
}

// The artist's most popular songs, as the service ranks them, head the page;
// the albums and the MVs follow below them, every heading in Chinese.
TEST_F(ArtistAlbumPageTest, PopularSongsComeAboveTheAlbumsAndPlay) {
    std::vector<std::string> played;
    ItemIds queued;
    QObject::connect(&view.window.router(), &Router::playListRequested, [&](const ItemIds& songs, int index) {
        played.push_back(songs.at(size_t(index)));
        queued = songs;
    });
    view.openArtist(kZhouYe);
    view.waitForArtist(kZhouYe);
    ArtistPage& page = view.artist();
    std::vector<SongItem> top = view.client.fetchArtistTopSongs(kZhouYe);
    ASSERT_GT(top.size(), 1u);
    if (top.size() > 10) top.resize(10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return page.songList()->songIds() == ids(top); }, kWaitMs));
    EXPECT_EQ(itemTexts(*page.songList(), IconText::Main), names(top));

    EXPECT_EQ(view.control<QLabel>("标签_艺人热门歌曲")->text(), "热门歌曲");
    EXPECT_EQ(view.control<QLabel>("标签_艺人专辑")->text(), "专辑");
    EXPECT_EQ(view.control<QLabel>("标签_艺人MV")->text(), "MV");
    const QRect songs = page.songList()->geometry();
    EXPECT_EQ(songs.height(), int(top.size()) * TrackList::kRowHeight);
    EXPECT_GT(songs.top(), view.control<QLabel>("标签_艺人热门歌曲")->geometry().bottom());
    EXPECT_GT(view.control<QLabel>("标签_艺人专辑")->y(), songs.bottom());
    EXPECT_GT(page.albumList()->y(), view.control<QLabel>("标签_艺人专辑")->geometry().bottom());
    EXPECT_GT(view.control<QLabel>("标签_艺人MV")->y(), page.albumList()->geometry().bottom());

    doubleClickItem(page.songList(), 1);
    EXPECT_EQ(played, std::vector<std::string>{top.at(1).id});
    EXPECT_EQ(queued, ids(top)) << "the other popular songs are queued with it";

    // An artist whose songs the service cannot list keeps its albums where
    // they always were.
    view.openArtist("1");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return page.songList()->itemCount() == 0 && !page.songList()->isLoading(); }, kWaitMs));
    EXPECT_FALSE(view.control<QLabel>("标签_艺人热门歌曲")->isVisibleTo(&page));
    EXPECT_EQ(view.control<QLabel>("标签_艺人专辑")->y(), 336);
}

TEST_F(ArtistAlbumPageTest, TheArtistMvPageListsFiftyMvsUnderTheArtistsNameAndPicture) {
    view.openArtist(kZhouYe);
    view.waitForArtist(kZhouYe);
    QTest::mouseClick(view.control<FlatButton>("标签按钮_查看艺人MV"), Qt::LeftButton);
    ArtistMvsPage& page = view.artistMvs();
    EXPECT_EQ(view.window.currentPage(), Pages::kArtistMvs);
    EXPECT_EQ(page.heading()->text(), "周野的MV");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !page.picture()->picture().isNull(); }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return page.mvList()->isEnabled() && page.mvIds().size() == 50; }, kWaitMs));

    const auto mvs = view.client.fetchAllArtistMvs(kZhouYe);
    EXPECT_EQ(itemTexts(*page.mvList(), IconText::Main), names(mvs));
    EXPECT_EQ(page.mvIds(), ids(mvs));
    EXPECT_EQ(page.mvList()->height(), 2000);
    EXPECT_EQ(page.scrollPane()->slideBox()->height(), 2000);
    EXPECT_EQ(page.scrollPane()->scrollBar()->maximum(), 1450);
}

TEST_F(ArtistAlbumPageTest, TheArtistMvPageHeightIsClampedAndItsMaximumNeverNegative) {
    struct Case {
        std::int64_t count;
        int height;
    };
    for (const Case& c : {Case{0, 300}, Case{1, 334}, Case{50, 2000}, Case{std::int64_t(1) << 40, 16777215}})
        EXPECT_EQ(ArtistMvsPage::listHeight(c.count), c.height) << c.count;
}

TEST_F(ArtistAlbumPageTest, MvItemsReachTheMvPromptWithTheirAddress) {
    MvAddress address{view.client};
    MvPlayback flow{address, view.client.hosts()};
    QObject::connect(&view.window.router(), &Router::mvRequested, [&](const std::string& id) { flow.play(id); });
    view.openArtist(kZhouYe);
    view.waitForArtist(kZhouYe);

    const std::string expected = view.artist().mvIds().at(2);
    clickItem(view.artist().mvList(), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return MessageBoxWindow::dialog() != nullptr; }, kWaitMs));
    EXPECT_EQ(noticeTitle(), "即将使用浏览器打开");
    EXPECT_NE(flow.pendingMvUrl().find("/media/mv/" + expected + ".mp4"), std::string::npos) << flow.pendingMvUrl();
    delete MessageBoxWindow::dialog();

    view.artist().openArtistMvs();
    ArtistMvsPage& all = view.artistMvs();
    ASSERT_TRUE(QTest::qWaitFor([&] { return all.mvIds().size() == 50; }, kWaitMs));
    clickItem(all.mvList(), 42);
    ASSERT_TRUE(QTest::qWaitFor([&] { return MessageBoxWindow::dialog() != nullptr; }, kWaitMs));
    EXPECT_NE(flow.pendingMvUrl().find("/media/mv/" + all.mvIds().at(42) + ".mp4"), std::string::npos);
}

// The first artist's answers come late, after the second's: the page ends
// with the second artist everywhere.
TEST_F(ArtistAlbumPageTest, TwoArtistsOpenedQuicklyEndWithTheSecond) {
    RelayedCatalogue relayed(DemoCompanion::origin());
    relayed.relay.setDelay(
        [](const std::string& target) { return target.find("id=" + kLinXia) != std::string::npos ? 1500 : 0; });
    ArtistWindow slow{relayed.relay.origin()};
    slow.openArtist(kLinXia);
    slow.openArtist(kZhouYe);
    slow.waitForArtist(kZhouYe);
    QTest::qWait(2500);  // every answer about the first artist is in by now

    EXPECT_EQ(text(slow.artist().nameLabel()), "周野");
    EXPECT_EQ(slow.artist().mvIds(), ids(slow.client.fetchArtistMvs(kZhouYe, 10)));
    EXPECT_EQ(itemTexts(*slow.artist().albumList(), IconText::Main), names(slow.client.fetchArtistAlbums(kZhouYe, 10)));
    EXPECT_EQ(slow.artist().albumIds(), ids(slow.client.fetchArtistAlbums(kZhouYe, 10)));
}

TEST_F(ArtistAlbumPageTest, WithTheServiceDownTheArtistPageStaysEmptyAndUsable) {
    ArtistWindow down{unreachableOrigin()};
    down.openArtist(kLinXia, Place::Search);
    ASSERT_TRUE(waitForTask(down.artist().headerLoad(), kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return down.artist().albumList()->isEnabled() && down.artist().mvList()->isEnabled(); }, kWaitMs));
    EXPECT_EQ(text(down.artist().nameLabel()), "");
    EXPECT_TRUE(down.artist().picture()->picture().isNull());
    EXPECT_EQ(down.artist().albumList()->height(), 0);
    EXPECT_EQ(down.artist().mvList()->height(), 0);
    down.control<QAbstractButton>("按钮_返回2")->click();
    EXPECT_EQ(down.window.currentPage(), Pages::kSearch);
}

TEST_F(ArtistAlbumPageTest, AnAlbumShowsItsHeaderAndSongsWhichPlayAndQueue) {
    std::vector<std::string> played;
    std::vector<ItemIds> queued;
    std::vector<ItemIds> playedLists;
    QObject::connect(&view.window.router(), &Router::playListRequested, [&](const ItemIds& songs, int index) {
        played.push_back(songs.at(size_t(index)));
        playedLists.push_back(songs);
    });
    QObject::connect(&view.window.router(), &Router::queueRequested,
                     [&](const ItemIds& songs) { queued.push_back(songs); });
    view.openAlbum(kSummerLetters);
    view.waitForAlbum(kSummerLetters);
    AlbumPage& page = view.album();
    const AlbumDetail album = view.client.fetchAlbum(kSummerLetters);

    EXPECT_EQ(text(view.control<QLabel>("专辑详细_专辑名")), "夏日来信");
    EXPECT_EQ(page.artistButton()->text(), "林夏");
    EXPECT_EQ(text(view.control<QLabel>("专辑详细_发行")), "发行时间：2019-07-01 · 夏日唱片");
    EXPECT_EQ(text(view.control<QLabel>("专辑详细_描述")), QString::fromStdString(album.description));
    EXPECT_EQ(page.songIds(), ids(album.songs));
    EXPECT_EQ(itemTexts(*page.trackList(), IconText::Main), names(album.songs));
    EXPECT_EQ(page.scrollPane()->slideBox()->height(), SongListPage::slideBoxHeight(std::int64_t(album.songs.size())));
    EXPECT_EQ(page.operationMenu()->subscribeItem(), nullptr) << "an album is not subscribed";

    doubleClickItem(page.trackList(), 1);
    view.control<QPushButton>("按钮_专辑播放")->click();
    page.operationMenu()->addToQueueItem()->trigger();
    EXPECT_EQ(played, (std::vector<std::string>{album.songs.at(1).id, album.songs.at(0).id}));
    EXPECT_EQ(playedLists, std::vector<ItemIds>(2, ids(album.songs))) << "each play queues the whole album";
    EXPECT_EQ(queued, std::vector<ItemIds>{ids(album.songs)});
}

TEST_F(ArtistAlbumPageTest, EveryAlbumListOpensTheAlbumPageAndBackReturnsThere) {
    HomePage& home = *static_cast<HomePage*>(view.window.page(Pages::kHome));
    QSignalSpy loaded(&home, &HomePage::loaded);
    home.load("");
    ASSERT_TRUE(loaded.wait(kWaitMs));
    clickItem(home.albumList(), 2);
    EXPECT_EQ(view.window.currentPage(), Pages::kAlbum);
    view.waitForAlbum(home.albumIds().at(2));
    EXPECT_EQ(view.album().albumId(), home.albumIds().at(2));
    view.control<QAbstractButton>("按钮_返回专辑")->click();
    EXPECT_EQ(view.window.currentPage(), Pages::kHome);

    view.window.toolbar()->searchBox()->setText("夏日");
    QTest::keyClick(view.window.toolbar()->searchBox(), Qt::Key_Return);
    auto& search = *static_cast<SearchPage*>(view.window.page(Pages::kSearch));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !search.albumIds().empty(); }, kWaitMs));
    clickItem(search.albumRow(), 0);
    view.waitForAlbum(search.albumIds().at(0));
    EXPECT_EQ(text(view.control<QLabel>("专辑详细_专辑名")), search.albumRow()->itemText(0, IconText::Main));
    view.control<QAbstractButton>("按钮_返回专辑")->click();
    EXPECT_EQ(view.window.currentPage(), Pages::kSearch);

    // Artist → album → the album's artist → back twice: album, then the artist's own way back.
    view.openArtist(kLinXia, Place::Home);
    view.waitForArtist(kLinXia);
    clickItem(view.artist().albumList(), 0);
    EXPECT_EQ(view.window.currentPage(), Pages::kAlbum);
    view.waitForAlbum(view.artist().albumIds().at(0));
    view.album().artistButton()->click();
    EXPECT_EQ(view.window.currentPage(), Pages::kArtist);
    view.waitForArtist(kLinXia);
    view.control<QAbstractButton>("按钮_返回2")->click();
    EXPECT_EQ(view.window.currentPage(), Pages::kAlbum);
    view.control<QAbstractButton>("按钮_返回专辑")->click();
    EXPECT_EQ(view.window.currentPage(), Pages::kArtist);
}

TEST_F(ArtistAlbumPageTest, AnAlbumWhoseRequestFailsGetsTheNoticeAndLeavesThePage) {
    struct Case {
        const char* name;
        std::string origin;
        std::string albumId;
    };
    const Case cases[] = {
        {"unknown album", DemoCompanion::origin(), "1"},
        {"service down", unreachableOrigin(), kSummerLetters},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ArtistWindow window{c.origin};
        window.openAlbum(c.albumId, Place::Search);
        ASSERT_TRUE(waitForTask(window.album().load(), kWaitMs));
        ASSERT_TRUE(QTest::qWaitFor([] { return MessageBoxWindow::dialog() != nullptr; }, kWaitMs));
        EXPECT_EQ(noticeTitle(), "专辑信息获取失败");
        EXPECT_EQ(window.window.currentPage(), Pages::kSearch);
        EXPECT_TRUE(window.album().songIds().empty());
        delete MessageBoxWindow::dialog();
    }
}

TEST_F(ArtistAlbumPageTest, TwoAlbumsOpenedQuicklyEndWithTheSecond) {
    RelayedCatalogue relayed(DemoCompanion::origin());
    relayed.relay.setDelay([](const std::string& target) {
        return target.find("album?id=" + kSummerLetters) != std::string::npos ? 1500 : 0;
    });
    ArtistWindow slow{relayed.relay.origin()};
    slow.openAlbum(kSummerLetters);
    slow.openAlbum("150004");
    slow.waitForAlbum("150004");
    QTest::qWait(2000);
    EXPECT_EQ(text(slow.control<QLabel>("专辑详细_专辑名")), "野火");
    EXPECT_EQ(slow.album().songIds(), ids(slow.client.fetchAlbum("150004").songs));
}

TEST(AlbumFactsLineTest, ShowsTheBeijingDateAndTheCompanyWhereKnown) {
    struct Case {
        std::string publishTime;
        std::string company;
        QString line;
    };
    const Case cases[] = {
        {"1561910400000", "夏日唱片", "发行时间：2019-07-01 · 夏日唱片"},  // 2019-06-30 16:00 UTC
        {"1561910399999", "", "发行时间：2019-06-30"},
        {"", "旷野音乐", "旷野音乐"},
        {"0", "", ""},
        {"12ab", "X", "X"},
        {"-5", "", ""},
        {"99999999999999999999999", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AlbumPage::factsLine(c.publishTime, c.company), c.line) << c.publishTime << "|" << c.company;
}

}  // namespace
