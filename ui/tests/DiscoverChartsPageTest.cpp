// The discover and charts pages against the companion server: every
// category fills the discover list with its playlists, the charts list the
// service's charts, items open the playlist they show, and the newest
// category wins however the answers arrive.
#include "api/CloudApiClient.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"
#include "ui/lists/IconList.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/ChartsPage.h"
#include "ui/pages/DiscoverPage.h"
#include "ui/pages/PlaylistPage.h"
#include "ui/pictures/PicturePipeline.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/MainWindow.h"

#include "PageTestSupport.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <memory>
#include <optional>

namespace {

using Category = DiscoverPage::Category;

constexpr int kFillTimeoutMs = 20000;

const char* const kCategoryButtons[] = {"按钮_全部", "按钮_推荐歌单", "按钮_精品歌单", "按钮_官方",
                                        "按钮_欧美", "按钮_流行",     "按钮_摇滚",     "按钮_电子",
                                        "按钮_说唱", "按钮_古风",     "按钮_轻音乐",   "按钮_华语"};

class DiscoverChartsPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        HttpClient::globalInit();
        server_ = std::make_unique<DemoServer>();
        ASSERT_TRUE(server_->start());
    }
    static void TearDownTestSuite() { server_.reset(); }

    DiscoverChartsPageTest() : DiscoverChartsPageTest(server_->origin()) {}
    explicit DiscoverChartsPageTest(const std::string& origin) : view(origin) {}

    DiscoverPage& discover() const { return *static_cast<DiscoverPage*>(window.page(Pages::kDiscover)); }
    ChartsPage& charts() const { return *static_cast<ChartsPage*>(window.page(Pages::kCharts)); }
    PlaylistPage& playlist() const { return *static_cast<PlaylistPage*>(window.page(Pages::kPlaylist)); }
    FlatButton* button(int category) const {
        return window.findChild<FlatButton*>(QString::fromUtf8(kCategoryButtons[category]));
    }

    // What a category's list shows, straight from the service.
    std::vector<CoverItem> playlistsOf(int category) const {
        switch (category) {
            case DiscoverPage::kAll: return client.fetchAllPlaylists("");
            case DiscoverPage::kRecommended: return client.fetchPersonalizedPlaylists("");
            case DiscoverPage::kHighQuality: return client.fetchHighQualityPlaylists();
            default: return client.fetchCategoryPlaylists(button(category)->text().toStdString());
        }
    }

    // Waits until every item of the list is shown with its id.
    static bool filled(const IconList* list, const ItemIds& listIds, size_t expected) {
        return QTest::qWaitFor([&] { return listIds.size() == expected && list->isEnabled(); }, kFillTimeoutMs);
    }

    void expectChosen(int category) const {
        for (int code = 0; code < DiscoverPage::kCategoryCount; ++code) {
            SCOPED_TRACE(kCategoryButtons[code]);
            EXPECT_EQ(button(code)->isEnabled(), code != category);
            EXPECT_EQ(button(code)->textColor(), code == category ? Theme::kAccent : Theme::kSecondText);
        }
    }

    static std::unique_ptr<DemoServer> server_;
    std::optional<RelayedCatalogue> relayed;  // above the window, whose tasks may still use it
    PageWindow view;
    const CloudApiClient& client = view.client;
    MainWindow& window = view.window;
};

std::unique_ptr<DemoServer> DiscoverChartsPageTest::server_;

TEST_F(DiscoverChartsPageTest, ButtonsStartWithTheFirstCategoryChosen) {
    for (int code = 0; code < DiscoverPage::kCategoryCount; ++code) {
        ASSERT_NE(button(code), nullptr) << kCategoryButtons[code];
        EXPECT_EQ(button(code)->textColor(), code == 0 ? Theme::kAccent : Theme::kSecondText);
        EXPECT_EQ(button(code)->parentWidget()->objectName(), "滑动框_发现");
    }
    EXPECT_EQ(button(DiscoverPage::kRecommended)->geometry(), QRect(95, 130, 105, 40));
    EXPECT_EQ(button(DiscoverPage::kMandarin)->geometry(), QRect(197, 187, 70, 40));
    EXPECT_EQ(discover().playlistList()->geometry(), QRect(-63, 256, 1090, 550));
    EXPECT_EQ(charts().chartList()->geometry(), QRect(-63, 100, 1090, 550));
}

TEST_F(DiscoverChartsPageTest, EachCategoryFillsTheListWithItsPlaylistsAndDisablesItsButton) {
    window.runToolbarAction(ToolbarPage::Discover);
    for (int category : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0}) {
        SCOPED_TRACE(kCategoryButtons[category]);
        const std::vector<CoverItem> expected = playlistsOf(category);
        ASSERT_FALSE(expected.empty());
        QTest::mouseClick(button(category), Qt::LeftButton);
        expectChosen(category);
        ASSERT_TRUE(filled(discover().playlistList(), discover().playlistIds(), expected.size()));

        IconList* list = discover().playlistList();
        EXPECT_EQ(itemTexts(*list, IconText::Main), names(expected));
        EXPECT_EQ(discover().playlistIds(), ids(expected));
        for (int i = 0; i < list->itemCount(); ++i) EXPECT_FALSE(list->itemPicture(i).isNull()) << i;
        EXPECT_EQ(list->height(), DiscoverPage::listHeight(int64_t(expected.size())));
        const ScrollPane& pane = *discover().scrollPane();
        EXPECT_EQ(pane.slideBox()->height(), 256 + list->height());
        EXPECT_EQ(pane.scrollBar()->maximum(), std::max(0, pane.slideBox()->height() - 550));
        EXPECT_EQ(window.currentPage(), Pages::kDiscover);
    }
}

TEST_F(DiscoverChartsPageTest, ListHeightsHoldEveryRowAndStayWithinWidgetLimits) {
    struct Case {
        std::int64_t count;
        int discoverList, chartList;
    };
    const Case cases[] = {
        {0, 0, 50},
        {1, 275, 340},
        {5, 275, 340},
        {6, 550, 630},
        {30, 1650, 1790},
        {100, 5500, 5850},
        {std::int64_t(1) << 40, 16777215, 16777215},
        {-3, 0, 50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        EXPECT_EQ(DiscoverPage::listHeight(c.count), c.discoverList);
        EXPECT_EQ(DiscoverPage::slideBoxHeight(c.count), std::min(256 + c.discoverList, 16777215));
        EXPECT_EQ(ChartsPage::listHeight(c.count), c.chartList);
        EXPECT_EQ(ChartsPage::slideBoxHeight(c.count), std::min(100 + c.chartList, 16777215));
    }
}

TEST_F(DiscoverChartsPageTest, TheChartsListShowsTheServicesCharts) {
    const std::vector<CoverItem> expected = client.fetchToplists();
    ASSERT_FALSE(expected.empty());
    charts().load();
    IconList* list = charts().chartList();
    ASSERT_TRUE(filled(list, charts().chartIds(), expected.size()));

    EXPECT_EQ(itemTexts(*list, IconText::Main), names(expected));
    EXPECT_EQ(charts().chartIds(), ids(expected));
    for (int i = 0; i < list->itemCount(); ++i) EXPECT_FALSE(list->itemPicture(i).isNull()) << i;
    EXPECT_EQ(list->height(), ChartsPage::listHeight(int64_t(expected.size())));
    const ScrollPane& pane = *charts().scrollPane();
    EXPECT_EQ(pane.slideBox()->height(), 100 + list->height());
    EXPECT_EQ(pane.scrollBar()->maximum(), std::max(0, pane.slideBox()->height() - 550));
}

TEST_F(DiscoverChartsPageTest, ItemsOpenThePlaylistTheyShowAndBackReturnsToTheirPage) {
    discover().selectCategory(DiscoverPage::kPop);
    const size_t popCount = playlistsOf(DiscoverPage::kPop).size();
    ASSERT_TRUE(filled(discover().playlistList(), discover().playlistIds(), popCount));
    charts().load();
    ASSERT_TRUE(filled(charts().chartList(), charts().chartIds(), client.fetchToplists().size()));

    struct Case {
        int page;
        IconList* list;
        const ItemIds* listIds;
    };
    const Case cases[] = {
        {Pages::kDiscover, discover().playlistList(), &discover().playlistIds()},
        {Pages::kCharts, charts().chartList(), &charts().chartIds()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        window.showPage(c.page);
        const int last = c.list->itemCount() - 1;
        const std::string id = c.listIds->at(size_t(last));
        clickItem(c.list, last);
        EXPECT_EQ(window.currentPage(), Pages::kPlaylist);
        EXPECT_EQ(playlist().playlistId(), id);
        // The playlist shown is the one the item showed.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return window.findChild<QLabel*>("歌单详细_歌单名")->text() == c.list->itemText(last, IconText::Main);
            },
            kFillTimeoutMs));
        QTest::mouseClick(window.findChild<FlatButton*>("按钮_返回6"), Qt::LeftButton);
        EXPECT_EQ(window.currentPage(), c.page);
    }
}

TEST_F(DiscoverChartsPageTest, ThreeQuickCategoryClicksEndWithTheThird) {
    relayed.emplace(server_->origin());
    window.setCatalogue(&relayed->client);
    // The first two categories answer late, after the third.
    relayed->relay.setDelay([](const std::string& target) {
        const bool early = target.rfind("/personalized", 0) == 0 || target.rfind("/top/playlist/highquality", 0) == 0;
        return early ? 1500 : 0;
    });
    for (int category : {DiscoverPage::kRecommended, DiscoverPage::kHighQuality, DiscoverPage::kRock})
        QTest::mouseClick(button(category), Qt::LeftButton);

    const std::vector<CoverItem> rock = playlistsOf(DiscoverPage::kRock);
    ASSERT_TRUE(filled(discover().playlistList(), discover().playlistIds(), rock.size()));
    QTest::qWait(2500);  // the late answers are in by now
    EXPECT_EQ(discover().category(), DiscoverPage::kRock);
    expectChosen(DiscoverPage::kRock);
    EXPECT_EQ(itemTexts(*discover().playlistList(), IconText::Main), names(rock));
    EXPECT_EQ(discover().playlistIds(), ids(rock));

    clickItem(discover().playlistList(), 0);
    EXPECT_EQ(playlist().playlistId(), rock.front().id);
}

// The chosen category stays highlighted whatever the pointer did over it.
TEST_F(DiscoverChartsPageTest, HoveringACategoryButtonTurnsItPinkAndLeavingItKeepsTheChosenOnePink) {
    window.runToolbarAction(ToolbarPage::Discover);
    discover().selectCategory(DiscoverPage::kRap);
    QWidget* heading = window.findChild<QWidget*>("标签_发现");
    QTest::mouseMove(heading);  // the pointer comes into the window away from the buttons
    struct Case {
        int category;
        QRgb afterLeaving;
    };
    for (const Case c : {Case{DiscoverPage::kPop, Theme::kSecondText}, Case{DiscoverPage::kRap, Theme::kAccent}}) {
        SCOPED_TRACE(kCategoryButtons[c.category]);
        FlatButton* hovered = button(c.category);
        QTest::mouseMove(hovered, hovered->rect().center());
        EXPECT_TRUE(QTest::qWaitFor([&] { return hovered->textColor() == Theme::kAccent; }, 2000));
        QTest::mouseMove(heading);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !hovered->underMouse(); }, 2000));
        EXPECT_EQ(hovered->textColor(), c.afterLeaving);
    }
    EXPECT_FALSE(button(DiscoverPage::kRap)->isEnabled());
    for (int category = 0; category < DiscoverPage::kCategoryCount; ++category)
        EXPECT_EQ(button(category)->textColor(), category == DiscoverPage::kRap ? Theme::kAccent : Theme::kSecondText)
            << kCategoryButtons[category];
}

TEST_F(DiscoverChartsPageTest, TheMoreButtonDoesNothing) {
    window.runToolbarAction(ToolbarPage::Discover);
    discover().selectCategory(DiscoverPage::kAll);
    ASSERT_TRUE(filled(discover().playlistList(), discover().playlistIds(), playlistsOf(DiscoverPage::kAll).size()));
    server_->clearSeenRequests();
    QTest::mouseClick(window.findChild<FlatButton*>("按钮_更多"), Qt::LeftButton);
    QTest::qWait(100);
    EXPECT_TRUE(server_->seenRequests().empty());
    expectChosen(DiscoverPage::kAll);
    EXPECT_EQ(window.currentPage(), Pages::kDiscover);
}

class DiscoverChartsServiceDownTest : public DiscoverChartsPageTest {
protected:
    DiscoverChartsServiceDownTest() : DiscoverChartsPageTest(unreachableOrigin()) {}
};

TEST_F(DiscoverChartsServiceDownTest, ListsStayEmptyAndThePagesStayUsable) {
    window.runToolbarAction(ToolbarPage::Discover);
    discover().selectCategory(DiscoverPage::kAll);
    charts().load();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return discover().playlistList()->isEnabled() && charts().chartList()->isEnabled(); }, kFillTimeoutMs));
    EXPECT_EQ(discover().playlistList()->itemCount(), 0);
    EXPECT_EQ(discover().playlistList()->height(), 0);
    EXPECT_EQ(discover().scrollPane()->scrollBar()->maximum(), 0);
    EXPECT_EQ(charts().chartList()->itemCount(), 0);
    EXPECT_EQ(charts().chartList()->height(), 50);
    EXPECT_EQ(charts().scrollPane()->scrollBar()->maximum(), 0);

    QTest::mouseClick(window.toolbar()->pageButton(ToolbarPage::Charts), Qt::LeftButton);
    EXPECT_EQ(window.currentPage(), Pages::kCharts);
}

}  // namespace
