// The main window at sizes other than its designed 1110×780: what follows
// the edges, what keeps its place, the cover grids that take as many
// columns as their width holds, and every control back in its place at the
// designed size.
#include "api/CloudApiClient.h"
#include "audio/AudioEngine.h"
#include "base/AppSettings.h"
#include "player/Player.h"
#include "ui/lists/IconList.h"
#include "ui/pages/ChartsPage.h"
#include "ui/pages/CoverGrid.h"
#include "ui/pages/DiscoverPage.h"
#include "ui/pages/HomePage.h"
#include "ui/widgets/EdgeFollower.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PlayBar.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/WindowEdges.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <cstdlib>
#include <map>

namespace {

const QSize kDesigned = MainWindow::kDesignedSize;
// Sizes a user gives the window: the smallest, a maximised full-HD screen,
// wide and low, narrow and tall.
const QSize kOtherSizes[] = {{960, 640}, {1920, 1080}, {1500, 700}, {1000, 1000}};

// The window with its play bar, as the program builds it. No song is ever
// played here, so the service is never asked.
class WindowSizeTest : public ::testing::Test {
protected:
    WindowSizeTest() {
        engine.init(0);
        new PlayBar(player, window.playBarStrip());
        window.enterStartPage();
        window.show();
    }

    template <typename T = QWidget>
    T* find(const char* name) const {
        return window.findChild<T*>(QString::fromUtf8(name));
    }
    QRect inWindow(const QWidget* control) const {
        return QRect(control->mapTo(&window, QPoint(0, 0)), control->size());
    }
    // Shows every page in turn, so hidden pages lay themselves out too.
    void visitEveryPage() {
        const int shown = window.currentPage();
        for (int i = 0; i < Pages::kCount; ++i) window.showPage(i);
        window.showPage(shown);
    }
    void resizeTo(QSize size) {
        window.resize(size);
        visitEveryPage();
    }
    // Where every named control is, in window coordinates.
    std::map<QString, QRect> namedGeometries() const {
        std::map<QString, QRect> places;
        for (QWidget* control : window.findChildren<QWidget*>())
            if (!control->objectName().isEmpty() && !control->isWindow())
                places[control->objectName() + "@" + control->parentWidget()->objectName()] = inWindow(control);
        return places;
    }
    // Covers in `list`, `count` of them in the look of the cover grids.
    static void fillCovers(IconList* list, int count, int rowHeight) {
        list->setItemTemplate(CoverGrid::itemTemplate(TypefaceChoice{}, rowHeight, 52));
        list->insertItems(count);
    }

    TempDir folder;
    AppSettings settings{folder.file("config.ini")};
    const CloudApiClient api{ServiceHosts::allAt("http://127.0.0.1:9")};
    AudioEngine engine;
    Player player{api, engine, "", settings};
    MainWindow window;
};

TEST_F(WindowSizeTest, AtTheDesignedSizeEveryControlIsBackInItsPlace) {
    ASSERT_EQ(window.size(), kDesigned);
    visitEveryPage();
    const std::map<QString, QRect> designed = namedGeometries();
    ASSERT_GT(designed.size(), 100u);
    for (QSize size : kOtherSizes) {
        resizeTo(size);
        ASSERT_EQ(window.size(), size);
        EXPECT_NE(namedGeometries(), designed) << "something follows " << size.width() << "×" << size.height();
    }
    resizeTo(kDesigned);
    const std::map<QString, QRect> after = namedGeometries();
    for (const auto& [name, place] : designed) {
        ASSERT_TRUE(after.count(name)) << name.toStdString();
        EXPECT_EQ(after.at(name), place) << name.toStdString();
    }
}

TEST_F(WindowSizeTest, BarsStretchAndTheRightAndBottomControlsFollowTheirEdges) {
    const QRect toolbarClose = inWindow(find("工具栏_关闭"));
    const QRect search = inWindow(find("工具栏_搜索框"));
    const QRect homeTab = inWindow(find("工具栏_首页"));
    const QRect strip = inWindow(find("滤镜_播放栏"));
    const QRect play = inWindow(find("播放栏_播放"));
    const QRect progress = inWindow(find("播放栏_进度条"));
    const QRect spectrum = inWindow(find("播放栏_频谱"));
    const QRect cover = inWindow(find("播放栏_海报"));
    for (QSize size : kOtherSizes) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        resizeTo(size);
        const QSize extra = size - kDesigned;
        EXPECT_EQ(inWindow(find("工具栏_关闭")), toolbarClose.translated(extra.width(), 0));
        if (extra.width() >= 0) {
            EXPECT_EQ(inWindow(find("工具栏_搜索框")), search.translated(extra.width(), 0));
        }
        EXPECT_EQ(inWindow(find("工具栏_首页")), homeTab) << "the page tabs keep to the logo";
        EXPECT_EQ(inWindow(find("滤镜_工具栏")).width(), 1068 + extra.width());
        EXPECT_EQ(inWindow(find("选择夹_主体")),
                  QRect(68, 108, 992, 651).adjusted(0, 0, extra.width(), extra.height()));
        EXPECT_EQ(inWindow(find("滚动条_首页")), QRect(1077 + extra.width(), 108, 12, 560 + extra.height()));

        EXPECT_EQ(inWindow(find("滤镜_播放栏")), strip.translated(0, extra.height()).adjusted(0, 0, extra.width(), 0));
        EXPECT_EQ(inWindow(find("播放栏_进度条")).width(), progress.width() + extra.width());
        EXPECT_EQ(inWindow(find("播放栏_海报")), cover.translated(0, extra.height()));
        EXPECT_EQ(inWindow(find("播放栏_频谱")), spectrum.translated(extra.width(), extra.height()));
        const QRect playNow = inWindow(find("播放栏_播放"));
        // Growing, the transport keeps to the middle; shrinking, it keeps
        // clear of the volume, and the song's title gives up the room.
        const int shift = extra.width() > 0 ? extra.width() / 2 : extra.width();
        EXPECT_EQ(playNow.x(), play.x() + shift);
        EXPECT_LT(inWindow(find("播放栏_歌曲名")).right(), inWindow(find("播放栏_播放_上一首")).left());
        EXPECT_LT(inWindow(find("播放栏_随机")).right(), inWindow(find("播放栏_音量")).left());
        EXPECT_LT(inWindow(find("工具栏_音乐库")).right(), inWindow(find("工具栏_搜索框")).left())
            << "the search box makes room for the tabs";
        EXPECT_LT(inWindow(find("工具栏_搜索框")).right(), inWindow(find("标签_登录")).left());

        auto* nowPlaying = find("图片框_大封面");
        EXPECT_GE(nowPlaying->y(), size.height()) << "parked out of sight below the bottom edge";
        EXPECT_EQ(nowPlaying->width(), size.width() - 42);
    }
}

TEST_F(WindowSizeTest, ScrollRangesFollowTheHeightOfWhatShows) {
    ScrollPane* home = window.page(Pages::kHome)->scrollPane();
    ASSERT_EQ(home->scrollBar()->maximum(), 1800);
    home->setPositionQuietly(1800);
    home->moveSlideBox(-1800);
    resizeTo({1110, 980});
    EXPECT_EQ(home->scrollBar()->maximum(), 1600) << "200 pixels more show at once";
    EXPECT_EQ(home->position(), 1600);
    EXPECT_EQ(home->slideBox()->y(), -1600) << "the content's bottom stays at the mask's";
    EXPECT_EQ(home->scrollBar()->pageStep(), 851);
    resizeTo(kDesigned);
    EXPECT_EQ(home->scrollBar()->maximum(), 1800);
}

// The number of columns follows the width; the list and its pane take the
// rows the covers fill then, so no cover is cut off nor a row left empty.
TEST_F(WindowSizeTest, CoverGridsTakeAsManyColumnsAsTheirWidthHolds) {
    auto* discover = static_cast<DiscoverPage*>(window.page(Pages::kDiscover));
    auto* charts = static_cast<ChartsPage*>(window.page(Pages::kCharts));
    fillCovers(discover->playlistList(), 23, 275);
    fillCovers(charts->chartList(), 23, 290);
    struct Case {
        QSize size;
        int columns;
    };
    for (Case c : {Case{{960, 640}, 4}, Case{kDesigned, 5}, Case{{1500, 780}, 7}, Case{{1920, 1080}, 9}}) {
        SCOPED_TRACE(c.size.width());
        resizeTo(c.size);
        IconList* playlists = discover->playlistList();
        EXPECT_EQ(playlists->columns(), c.columns);
        EXPECT_EQ(playlists->height(), DiscoverPage::listHeight(23, c.columns));
        EXPECT_EQ(discover->scrollPane()->slideBox()->height(), DiscoverPage::slideBoxHeight(23, c.columns));
        EXPECT_TRUE(playlists->rect().contains(playlists->itemRect(22))) << "the last cover shows whole";
        IconList* chartList = charts->chartList();
        EXPECT_EQ(chartList->columns(), c.columns);
        EXPECT_EQ(chartList->height(), ChartsPage::listHeight(23, c.columns));
        const QRect lastCell = playlists->itemRect(c.columns - 1);
        EXPECT_LE(lastCell.right(), playlists->width()) << "a row fits the list";
    }
}

// On the home page a list that needs another row at a narrower width pushes
// the sections under it down, and gives the room back when wider.
TEST_F(WindowSizeTest, HomeSectionsMakeRoomForTheRowsTheirListsFill) {
    auto* home = static_cast<HomePage*>(window.page(Pages::kHome));
    QWidget* mvHeading = home->findChild<QWidget*>("标签_推荐MV");
    QWidget* albumHeading = home->findChild<QWidget*>("标签_新专速递");
    ASSERT_NE(mvHeading, nullptr);
    const int mvTop = mvHeading->y(), albumTop = albumHeading->y();
    const int slideHeight = home->scrollPane()->slideBox()->height();
    fillCovers(home->albumList(), 10, 265);
    resizeTo(kDesigned);
    EXPECT_EQ(mvHeading->y(), mvTop) << "two rows of five at the designed width";

    resizeTo({960, 640});
    ASSERT_EQ(home->albumList()->columns(), 4);
    EXPECT_EQ(home->albumList()->height(), 3 * 265);
    EXPECT_EQ(mvHeading->y(), mvTop + 265) << "the third row pushes the MVs down";
    EXPECT_EQ(albumHeading->y(), albumTop) << "what is above stays";
    EXPECT_EQ(home->scrollPane()->slideBox()->height(), slideHeight + 265);

    resizeTo({1920, 1080});
    EXPECT_EQ(home->albumList()->height(), 2 * 265);
    EXPECT_EQ(mvHeading->y(), mvTop);

    resizeTo(kDesigned);
    EXPECT_EQ(mvHeading->y(), mvTop);
    EXPECT_EQ(home->scrollPane()->slideBox()->height(), slideHeight);
}

TEST_F(WindowSizeTest, OpensToFitTheScreenItIsOn) {
    struct Case {
        QSize available;
        QSize size;
        QSize minimum;
    };
    for (Case c :
         {Case{{1920, 1040}, kDesigned, MainWindow::kSmallestSize},
          Case{{1024, 700}, {1024, 700}, MainWindow::kSmallestSize}, Case{{800, 560}, {800, 560}, {800, 560}}}) {
        MainWindow fresh;
        fresh.fitInto(c.available);
        EXPECT_EQ(fresh.size(), c.size) << c.available.width();
        EXPECT_EQ(fresh.minimumSize(), c.minimum) << c.available.width();
    }
    EXPECT_EQ(window.minimumSize(), MainWindow::kSmallestSize);
    EXPECT_EQ(window.maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)) << "resizable";
}

TEST_F(WindowSizeTest, TheMaximiseButtonAndADoubleClickOnTheTitleMaximiseAndRestore) {
    auto* maximise = find<FlatButton>("工具栏_最大化");
    ASSERT_NE(maximise, nullptr);
    EXPECT_EQ(maximise->parentWidget(), find("滤镜_工具栏"));
    EXPECT_EQ(maximise->geometry(), QRect(930, 24, 24, 40)) << "beside minimise, clear of the account corner";

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        if (round == 0)
            QTest::mouseClick(maximise, Qt::LeftButton);
        else
            QTest::mouseDClick(find("标签_标题"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.isMaximized(); }));
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.size() == window.screen()->availableGeometry().size(); }));
        if (round == 0)
            QTest::mouseClick(maximise, Qt::LeftButton);
        else
            QTest::mouseDClick(find("标签_标题"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isMaximized(); }));
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.size() == kDesigned; }));
    }
}

TEST_F(WindowSizeTest, TheBandInsideEachEdgeResizesTheWindow) {
    const QSize size(1110, 780);
    struct Case {
        QPoint point;
        Qt::Edges edges;
    };
    for (Case c : {Case{{0, 300}, Qt::LeftEdge}, Case{{5, 300}, Qt::LeftEdge}, Case{{6, 300}, {}},
                   Case{{1109, 300}, Qt::RightEdge}, Case{{1104, 300}, Qt::RightEdge}, Case{{1103, 300}, {}},
                   Case{{500, 0}, Qt::TopEdge}, Case{{500, 779}, Qt::BottomEdge},
                   Case{{2, 778}, Qt::LeftEdge | Qt::BottomEdge}, Case{{1108, 1}, Qt::RightEdge | Qt::TopEdge},
                   Case{{555, 390}, {}}, Case{{-1, 300}, {}}, Case{{1110, 300}, {}}}) {
        EXPECT_EQ(WindowEdges::edgesAt(c.point, size), c.edges) << c.point.x() << "," << c.point.y();
    }
}

// Controls made after the follower (a page's, a play bar's) follow from
// when they are polished, placed for the size of that moment.
TEST(EdgeFollowerTest, ControlsMadeLaterFollowFromTheSizeOfTheirTime) {
    QWidget container;
    container.resize(400, 100);
    auto* early = new QWidget(&container);
    early->setGeometry(350, 10, 40, 20);
    new EdgeFollower(&container, {.middleFrom = 150}, {.follows = false});
    container.show();
    container.resize(501, 100);
    EXPECT_EQ(early->geometry(), QRect(451, 10, 40, 20));

    auto* late = new QWidget(&container);
    late->setGeometry(200, 10, 40, 20);  // designed for 400: in the middle
    late->show();
    EXPECT_EQ(late->x(), 250);

    for (int width : {433, 402, 399, 400}) container.resize(width, 100);
    EXPECT_EQ(early->geometry(), QRect(350, 10, 40, 20)) << "odd steps add up to nothing";
    EXPECT_EQ(late->geometry(), QRect(200, 10, 40, 20));
}

}  // namespace
