// The home page and the all-MV page against the companion server, and
// against a scripted service for the shapes the demo catalogue does not
// have (twelve albums, one daily MV, nothing at all).
#include "DemoCompanion.h"
#include "PageTestSupport.h"
#include "RecordingServer.h"
#include "TestPictures.h"
#include "api/CloudApiClient.h"
#include "ui/lists/IconList.h"
#include "ui/pages/AlbumPage.h"
#include "ui/pages/AllMvsPage.h"
#include "ui/pages/ArtistPage.h"
#include "ui/pages/HomePage.h"
#include "ui/pages/PlaylistPage.h"
#include "ui/pictures/PicturePipeline.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>

namespace {

QStringList texts(const IconList& list) { return itemTexts(list, IconText::Main); }

// The first `count` items of a list answer, as a list showing at most that many holds them.
std::vector<CoverItem> firstOf(std::vector<CoverItem> items, size_t count) {
    if (items.size() > count) items.resize(count);
    return items;
}

// A main window whose pages load from `origin`.
class HomeWindow : public PageWindow {
public:
    using PageWindow::PageWindow;
    HomePage& home() const { return *static_cast<HomePage*>(window.page(Pages::kHome)); }
    AllMvsPage& allMvs() const { return *static_cast<AllMvsPage*>(window.page(Pages::kAllMvs)); }
    // Loads the page and returns once every section is in.
    void load() {
        QSignalSpy loaded(&home(), &HomePage::loaded);
        home().load("");
        ASSERT_TRUE(loaded.wait(20000));
        EXPECT_TRUE(home().isLoaded());
    }
    template <typename T>
    T* control(const char* name) const {
        return window.findChild<T*>(QString::fromUtf8(name));
    }
};

class HomePageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { DemoCompanion::start(); }
    static void TearDownTestSuite() { DemoCompanion::stop(); }
    void TearDown() override {
        if (QWidget* d = MessageBoxWindow::dialog()) delete d;
    }

    HomeWindow view{DemoCompanion::origin()};
};

TEST_F(HomePageTest, LoadingFillsEveryListAndPictureWithTheCataloguesItems) {
    view.load();
    HomePage& home = view.home();
    const CloudApiClient& client = view.client;

    const auto playlists = client.fetchRecommendedPlaylists("");
    const auto artists = client.fetchTopArtists();
    const auto albums = client.fetchNewestAlbums();
    const auto mvs = client.fetchFirstMvs(10);
    struct Row {
        IconList* list;
        QStringList names;
        int height;
    };
    const Row rows[] = {
        {home.playlistList(), names(playlists), 530},
        {home.artistList(), names(artists), 250},
        {home.albumList(), names(firstOf(albums, 10)), 530},
        {home.mvList(), names(firstOf(mvs, 10)), 750},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.list->objectName().toStdString());
        ASSERT_FALSE(row.names.isEmpty());
        EXPECT_EQ(texts(*row.list), row.names);
        EXPECT_EQ(row.list->height(), row.height);
        EXPECT_TRUE(row.list->isEnabled());
        for (int i = 0; i < row.list->itemCount(); ++i) EXPECT_FALSE(row.list->itemPicture(i).isNull()) << i;
    }
    EXPECT_TRUE(texts(*home.artistList()).contains("白川ゆき")) << "names keep every script";
    EXPECT_EQ(home.playlistIds(), ids(playlists));
    EXPECT_EQ(home.artistIds(), ids(artists));
    EXPECT_EQ(home.mvIds(), ids(firstOf(mvs, 10)));

    const auto banners = client.fetchBanners();
    ASSERT_GE(banners.size(), 6u);
    for (int slot = 1; slot <= 6; ++slot) EXPECT_FALSE(home.bannerSlot(slot).isNull()) << slot;
    EXPECT_TRUE(home.bannerSlot(7).isNull()) << "only six banners are fetched";
    EXPECT_FALSE(home.dailyMvPicture()->picture().isNull());
    EXPECT_EQ(home.carouselTimer().interval(), 3000);
    EXPECT_TRUE(home.carouselTimer().isActive());
}

TEST_F(HomePageTest, TheCarouselCyclesThroughSlotsTwoToFiveThenOne) {
    HomePage& home = view.home();
    home.carouselTimer().stop();  // the test makes the ticks
    view.load();
    std::vector<int> shown;
    for (int tick = 0; tick < 6; ++tick) {
        home.stepCarousel();
        shown.push_back(home.carouselPosition());
        EXPECT_EQ(home.bannerPicture()->picture(), home.bannerSlot(home.carouselPosition()));
    }
    EXPECT_EQ(shown, (std::vector<int>{2, 3, 4, 5, 1, 2}));
}

TEST_F(HomePageTest, DailyMvNextWrapsAndPlayAsksForTheMvShown) {
    view.load();
    HomePage& home = view.home();
    const auto daily = view.client.fetchPersonalizedMvs();
    ASSERT_EQ(daily.size(), 4u);
    std::vector<std::string> asked;
    QObject::connect(&view.window.router(), &Router::mvRequested, [&](const std::string& id) { asked.push_back(id); });

    auto* next = view.control<QAbstractButton>("按钮_每日MV下一个");
    auto* play = view.control<QAbstractButton>("按钮_每日MV播放");
    std::vector<int> positions;
    for (int i = 0; i < 4; ++i) {
        next->click();
        positions.push_back(home.dailyMvPosition());
    }
    EXPECT_EQ(positions, (std::vector<int>{2, 3, 4, 1}));
    next->click();
    play->click();
    EXPECT_EQ(asked, std::vector<std::string>{daily[1].id()});
}

TEST_F(HomePageTest, EveryItemOpensItsTarget) {
    view.load();
    HomePage& home = view.home();
    Router& router = view.window.router();
    std::vector<std::string> mvAsked;
    QObject::connect(&router, &Router::mvRequested, [&](const std::string& id) { mvAsked.push_back(id); });

    clickItem(home.playlistList(), 3);
    EXPECT_EQ(view.window.currentPage(), Pages::kPlaylist);
    EXPECT_EQ(static_cast<PlaylistPage*>(view.window.page(Pages::kPlaylist))->playlistId(), home.playlistIds().at(3));
    EXPECT_EQ(router.backTarget(Place::Playlist), Place::Home);

    view.window.showPage(Pages::kSearch);
    clickItem(home.artistList(), 1);
    EXPECT_EQ(view.window.currentPage(), Pages::kArtist);
    EXPECT_EQ(static_cast<ArtistPage*>(view.window.page(Pages::kArtist))->artistId(), home.artistIds().at(1));
    EXPECT_EQ(router.backTarget(Place::Artist), Place::Home);

    view.window.showPage(Pages::kSearch);
    clickItem(home.albumList(), 2);
    EXPECT_EQ(view.window.currentPage(), Pages::kAlbum);
    EXPECT_EQ(static_cast<AlbumPage*>(view.window.page(Pages::kAlbum))->albumId(), home.albumIds().at(2));
    EXPECT_EQ(router.backTarget(Place::Album), Place::Home);

    clickItem(home.mvList(), 4);
    EXPECT_EQ(mvAsked, std::vector<std::string>{home.mvIds().at(4)});

    view.control<QAbstractButton>("标签按钮_查看推荐歌单")->click();
    EXPECT_EQ(view.window.currentPage(), Pages::kDiscover);
    EXPECT_EQ(view.window.toolbar()->pageButton(ToolbarPage::Discover)->textColor(), Theme::kAccent);
    EXPECT_FALSE(view.control<QAbstractButton>("按钮_推荐歌单")->isEnabled()) << "the recommended category is chosen";
}

TEST_F(HomePageTest, SeeAllMvsFillsTheAllMvPageWhoseItemsPlay) {
    view.control<QAbstractButton>("标签按钮_查看推荐MV")->click();
    EXPECT_EQ(view.window.currentPage(), Pages::kAllMvs);
    AllMvsPage& page = view.allMvs();
    const auto all = view.client.fetchAllMvs();
    ASSERT_FALSE(all.empty());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return page.mvIds().size() == all.size() && page.mvList()->isEnabled(); }, 20000));
    EXPECT_EQ(texts(*page.mvList()), names(all));
    const int height = int(all.size()) * 37;
    EXPECT_EQ(page.mvList()->height(), height);
    EXPECT_EQ(page.scrollPane()->slideBox()->height(), height);
    EXPECT_EQ(page.scrollPane()->scrollBar()->maximum(), std::max(0, height - 550));

    std::vector<std::string> asked;
    QObject::connect(&view.window.router(), &Router::mvRequested, [&](const std::string& id) { asked.push_back(id); });
    clickItem(page.mvList(), 2);
    EXPECT_EQ(asked, std::vector<std::string>{all[2].id});
}

// Service answers written for the test, pictures included.
class ScriptedHome {
public:
    ScriptedHome() {
        server.setHandler([this](const RecordedRequest& request) { return reply(request); });
    }
    void answer(const std::string& path, nlohmann::json json) {
        std::lock_guard lock(mutex_);
        answers_[path] = std::move(json);
    }
    nlohmann::json covers(const char* array, int count, const char* pictureKey) {
        nlohmann::json items = nlohmann::json::array();
        for (int i = 0; i < count; ++i)
            items.push_back(
                {{"id", 100 + i}, {"name", "第" + std::to_string(i + 1) + "项"}, {pictureKey, server.url("/p.png")}});
        return {{array, items}};
    }

private:
    CannedReply reply(const RecordedRequest& request) {
        const std::string path = request.target.substr(0, request.target.find('?'));
        if (path == "/p.png") return {200, pngOf(60, 60, Qt::darkCyan), "image/png", {}};
        std::lock_guard lock(mutex_);
        auto found = answers_.find(path);
        if (found == answers_.end()) return {404, "", "text/plain", {}};
        return {200, found->second.dump(), "application/json", {}};
    }

    std::mutex mutex_;                               // the server's threads read the answers
    std::map<std::string, nlohmann::json> answers_;  // by path

public:
    RecordingServer server;  // last: it stops before the answers go
};

TEST(HomePageShapesTest, TwelveAlbumsShowTenAndOneDailyMvStaysPut) {
    ScriptedHome service;
    service.answer("/album/newest", service.covers("albums", 12, "picUrl"));
    service.answer("/personalized/mv", service.covers("result", 1, "picUrl"));
    HomeWindow view(service.server.url(""));
    view.load();
    HomePage& home = view.home();
    EXPECT_EQ(home.albumList()->itemCount(), 10);
    EXPECT_EQ(home.albumList()->height(), 530);

    const QImage only = home.dailyMvPicture()->picture();
    ASSERT_FALSE(only.isNull());
    view.control<QAbstractButton>("按钮_每日MV下一个")->click();
    EXPECT_EQ(home.dailyMvPosition(), 1);
    EXPECT_EQ(home.dailyMvPicture()->picture(), only);
}

// Lists are as tall as the rows their items fill, and the carousel cycles
// over the banners there are.
TEST(HomePageShapesTest, ShortSectionsAreSizedByTheirItemsAndTheCarouselByItsBanners) {
    ScriptedHome service;
    service.answer("/personalized", service.covers("result", 3, "picUrl"));
    service.answer("/top/artists", service.covers("artists", 7, "img1v1Url"));
    service.answer("/mv/first", service.covers("data", 6, "cover"));
    service.answer("/banner", service.covers("banners", 4, "imageUrl"));
    HomeWindow view(service.server.url(""));
    view.home().carouselTimer().stop();  // the test makes the ticks
    view.load();
    HomePage& home = view.home();
    EXPECT_EQ(home.playlistList()->height(), 265) << "three covers fill one row";
    EXPECT_EQ(home.artistList()->height(), 500) << "seven artists fill two rows";
    EXPECT_EQ(home.mvList()->height(), 750) << "six MVs fill two rows";

    std::vector<int> shown;
    for (int tick = 0; tick < 5; ++tick) {
        home.stepCarousel();
        shown.push_back(home.carouselPosition());
        EXPECT_FALSE(home.bannerPicture()->picture().isNull()) << "tick " << tick;
    }
    EXPECT_EQ(shown, (std::vector<int>{2, 3, 4, 1, 2}));
}

TEST(HomePageShapesTest, NothingFromTheServiceLeavesEmptyListsAndDeadButtons) {
    ScriptedHome service;  // answers 404 to every request
    HomeWindow view(service.server.url(""));
    view.load();
    HomePage& home = view.home();
    for (IconList* list : {home.playlistList(), home.artistList(), home.albumList(), home.mvList()}) {
        EXPECT_EQ(list->itemCount(), 0);
        EXPECT_EQ(list->height(), 0);
        EXPECT_TRUE(list->isEnabled());
    }
    QSignalSpy asked(&view.window.router(), &Router::mvRequested);
    view.control<QAbstractButton>("按钮_每日MV下一个")->click();
    view.control<QAbstractButton>("按钮_每日MV播放")->click();
    EXPECT_EQ(asked.count(), 0);
    EXPECT_TRUE(home.dailyMvPicture()->picture().isNull());
    home.stepCarousel();
    EXPECT_TRUE(home.bannerPicture()->picture().isNull());
}

}  // namespace
