#include <gtest/gtest.h>
#include "anim/ProgramAnimations.h"
#include "api/CloudApiClient.h"
#include "browse/Account.h"
#include "ui/pages/LocalMusicPage.h"
#include "ui/pages/Page.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PaneScroller.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/NowPlayingView.h"

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>
#include <map>

namespace {

const char* const kScrollBarNames[] = {"滚动条_首页",     "滚动条_发现",     "滚动条_排行榜",   "滚动条_MV",
                                       "滚动条_艺人详情", "滚动条_歌单详情", "滚动条_搜索详情", "滚动条_音乐库",
                                       "滚动条_搜索艺人", "滚动条_艺人MV"};

AnimationObject& glide() { return ProgramAnimations::scrollPanes(); }

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() { window.enterStartPage(); }
    ~MainWindowTest() override {
        if (QWidget* dialog = MessageBoxWindow::dialog()) dialog->close();
    }

    template <typename T = QWidget>
    T* find(const char* name) const {
        return window.findChild<T*>(QString::fromUtf8(name));
    }
    QScrollBar* bar(const char* name) const { return find<QScrollBar>(name); }
    QWidget* slideBox(const char* name) const { return find(name); }

    // Turns the wheel over the window; positive notches turn away from the user.
    void wheel(int notches) {
        QWheelEvent event(QPointF(500, 400), QPointF(500, 400), QPoint(), QPoint(0, notches * 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&window, &event);
    }
    static bool waitForGlideToEnd() {
        return QTest::qWaitFor([] { return !glide().isRunning(); }, 5000);
    }
    void clickToolbar(const char* name) { QTest::mouseClick(find<FlatButton>(name), Qt::LeftButton); }

    MainWindow window;
};

TEST_F(MainWindowTest, ControlsSitWhereTheLayoutPutsThem) {
    struct Case {
        const char* name;
        const char* parent;
        QRect geometry;
    };
    const Case cases[] = {
        {"滤镜_工具栏", "MainWindow", {21, 21, 1068, 80}},       {"图片框_Logo", "滤镜_工具栏", {29, 29, 36, 36}},
        {"标签_标题", "滤镜_工具栏", {72, 29, 125, 36}},         {"图片框_Logo1", "滤镜_工具栏", {156, 37, 50, 20}},
        {"工具栏_首页", "滤镜_工具栏", {246, 28, 65, 37}},       {"工具栏_发现", "滤镜_工具栏", {331, 28, 65, 37}},
        {"工具栏_排行榜", "滤镜_工具栏", {416, 28, 75, 37}},     {"工具栏_音乐库", "滤镜_工具栏", {507, 28, 75, 37}},
        {"工具栏_搜索框", "滤镜_工具栏", {640, 29, 220, 35}},    {"图片_搜索", "工具栏_搜索框", {10, 9, 18, 18}},
        {"工具栏_用户", "滤镜_工具栏", {890, 29, 35, 35}},       {"标签_登录", "滤镜_工具栏", {887, 35, 43, 20}},
        {"工具栏_最小化", "滤镜_工具栏", {955, 24, 40, 40}},     {"工具栏_关闭", "滤镜_工具栏", {1000, 24, 40, 40}},
        {"分组框_工具栏分割", "MainWindow", {21, 108, 1068, 1}}, {"选择夹_主体", "MainWindow", {68, 108, 992, 651}},
        {"滤镜_播放栏", "MainWindow", {21, 676, 1068, 83}},      {"图片框_大封面", "MainWindow", {21, 900, 1068, 655}},
    };
    EXPECT_EQ(window.size(), QSize(1110, 780));
    EXPECT_EQ(window.windowTitle(), "Mivra Music");
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget* control = find(c.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->parentWidget()->objectName(), QString::fromUtf8(c.parent));
        EXPECT_EQ(control->geometry(), c.geometry);
    }
    for (const char* name : kScrollBarNames) {
        SCOPED_TRACE(name);
        ASSERT_NE(bar(name), nullptr);
        EXPECT_EQ(bar(name)->parentWidget(), &window);
        EXPECT_EQ(bar(name)->geometry(), QRect(1077, 108, 12, 560));
    }
}

TEST_F(MainWindowTest, PagesHoldTheirContainersAndSlideBoxes) {
    struct Case {
        int page;
        const char* title;
        const char* container;
        QRect containerRect;
        const char* slideBox;  // inside the container when it is a mask
        QSize slideBoxSize;
    };
    const Case cases[] = {
        {0, "首页", "滑动框_首页", {10, 10, 982, 2520}, nullptr, {}},
        {1, "发现", "遮罩_发现", {10, 10, 982, 550}, "滑动框_发现", {982, 700}},
        {2, "排行榜", "遮罩_排行榜", {0, 0, 982, 550}, "滑动框_排行榜", {982, 651}},
        {3, "音乐库", nullptr, {}, nullptr, {}},
        {4, "全部MV", "遮罩_MV", {0, 0, 982, 550}, "滑动框_全部MV", {982, 651}},
        {5, "艺人详情", "滑动框_艺人详情", {10, 10, 982, 5000}, nullptr, {}},
        {6, "新专速递", nullptr, {}, nullptr, {}},
        {7, "歌单详情", "遮罩_歌单详情", {10, 10, 950, 550}, "滑动框_歌单详情", {950, 550}},
        {8, "搜索", "滑动框_搜索详情", {10, 10, 982, 1500}, nullptr, {}},
        {9, "登录", "分组框_登录", {246, 75, 500, 500}, nullptr, {}},
        {10, "设置", "分组框_设置", {16, 8, 992, 651}, nullptr, {}},
        {11, "音乐库", "遮罩_音乐库", {10, 10, 982, 550}, "滑动框_音乐库", {982, 651}},
        {12, "全部艺人", "遮罩_搜索艺人", {10, 10, 980, 550}, "滑动框_搜索艺人", {982, 651}},
        {13, "艺人MV", "遮罩_艺人MV", {10, 10, 982, 550}, "滑动框_艺人MV", {982, 651}},
        {14, "专辑详情", "遮罩_专辑详情", {10, 10, 950, 550}, "滑动框_专辑详情", {950, 550}},
        {15, "每日推荐", "遮罩_听歌列表", {10, 10, 950, 550}, "滑动框_听歌列表", {950, 550}},
    };
    auto* area = find<QStackedWidget>("选择夹_主体");
    ASSERT_EQ(area->count(), int(std::size(cases))) << "every page has its row";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        Page* page = window.page(c.page);
        EXPECT_EQ(area->widget(c.page), page);
        EXPECT_EQ(page->title(), QString::fromUtf8(c.title));
        const QList<QWidget*> children = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        if (c.page == LocalMusicPage::kIndex) {
            // No container: the local music page places its controls itself.
            EXPECT_NE(page->findChild<QTreeWidget*>("本地音乐_列表", Qt::FindDirectChildrenOnly), nullptr);
            continue;
        }
        if (!c.container) {
            EXPECT_TRUE(children.isEmpty());
            continue;
        }
        ASSERT_EQ(children.size(), 1);
        EXPECT_EQ(children[0]->objectName(), QString::fromUtf8(c.container));
        EXPECT_EQ(children[0]->geometry(), c.containerRect);
        if (c.slideBox) {
            QWidget* slide = children[0]->findChild<QWidget*>(QString::fromUtf8(c.slideBox));
            ASSERT_NE(slide, nullptr);
            EXPECT_EQ(slide->geometry(), QRect(QPoint(0, 0), c.slideBoxSize));
        }
    }
}

TEST_F(MainWindowTest, EachToolbarButtonShowsItsPageInPinkAndTheOthersInBlack) {
    QTemporaryDir folder;
    const CloudApiClient client{ServiceHosts::allAt("http://127.0.0.1:9")};
    Account account{client, AppSettings(folder.filePath("config.ini").toStdString()), "MUSIC_U=1"};
    account.restore({.userId = "1001", .nickname = "", .avatarUrl = ""});
    window.setAccount(&account);
    const char* const buttons[] = {"工具栏_首页", "工具栏_发现", "工具栏_排行榜", "工具栏_音乐库"};
    struct Case {
        int button;
        int page;
    };
    const Case cases[] = {{1, 1}, {2, 2}, {3, 11}, {0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(buttons[c.button]);
        window.showPage(5);
        clickToolbar(buttons[c.button]);
        EXPECT_EQ(window.currentPage(), c.page);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(find<FlatButton>(buttons[i])->textColor(), i == c.button ? 0xFFF48FB1u : 0xFE000000u)
                << buttons[i];
        }
    }
}

TEST_F(MainWindowTest, LibraryButtonWhileLoggedOutShowsTheNoticeAndChangesNothing) {
    clickToolbar("工具栏_发现");
    clickToolbar("工具栏_音乐库");
    EXPECT_EQ(window.currentPage(), 1);
    EXPECT_EQ(find<FlatButton>("工具栏_发现")->textColor(), 0xFFF48FB1u);
    EXPECT_EQ(find<FlatButton>("工具栏_音乐库")->textColor(), 0xFE000000u);
    QWidget* dialog = MessageBoxWindow::dialog();
    ASSERT_NE(dialog, nullptr);
    QStringList texts;
    for (QLabel* label : dialog->findChildren<QLabel*>()) texts << label->text();
    EXPECT_TRUE(texts.contains("用户未登录~"));
    EXPECT_TRUE(texts.filter("请单击Mivra音乐右上方 [登录] 按钮").size() == 1);
    QStringList captions;
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (button->isVisibleTo(dialog)) captions << button->text();
    EXPECT_EQ(captions, QStringList{"知道了"});
}

TEST_F(MainWindowTest, BackShowsThePageThatOpenedThePlace) {
    struct Case {
        Place opened, from;
        int expectedPage;
    };
    const Case cases[] = {{Place::Playlist, Place::Search, 8},
                          {Place::Artist, Place::AllArtists, 12},
                          {Place::Playlist, Place::Home, 0},
                          {Place::Artist, Place::Library, 11},
                          {Place::Album, Place::Artist, 5}};
    for (const Case& c : cases) {
        window.router().open({c.opened, "1"}, c.from);
        window.router().back();
        EXPECT_EQ(window.currentPage(), c.expectedPage);
    }
}

TEST_F(MainWindowTest, OneNotchTowardsTheUserGlidesTheHomePaneForty) {
    wheel(-1);
    EXPECT_EQ(bar("滚动条_首页")->value(), 40);
    EXPECT_EQ(window.scroller().scrollTarget(), -40);
    EXPECT_EQ(window.scroller().scrollPaneKey(), 1);
    EXPECT_EQ(slideBox("滑动框_首页")->y(), 10);  // it glides, it does not jump
    ASSERT_TRUE(waitForGlideToEnd());
    EXPECT_EQ(slideBox("滑动框_首页")->y(), -40);
    EXPECT_EQ(bar("滚动条_首页")->value(), 40);
}

TEST_F(MainWindowTest, WheelAwayAtTheTopStaysAtTheTop) {
    wheel(2);
    EXPECT_EQ(bar("滚动条_首页")->value(), 0);
    EXPECT_EQ(window.scroller().scrollTarget(), 0);
    ASSERT_TRUE(waitForGlideToEnd());
    EXPECT_EQ(slideBox("滑动框_首页")->y(), 0);
}

// Every page with a pane scrolls under the wheel, over its scrollbar too;
// the pages without one stay as they are.
TEST_F(MainWindowTest, TheWheelScrollsEveryPageThatHasAPane) {
    struct Case {
        int page;
        const char* bar;
        const char* slideBox;
    };
    for (const Case& c : {Case{Pages::kAllMvs, "滚动条_MV", "滑动框_全部MV"},
                          Case{Pages::kArtist, "滚动条_艺人详情", "滑动框_艺人详情"},
                          Case{Pages::kAllArtists, "滚动条_搜索艺人", "滑动框_搜索艺人"},
                          Case{Pages::kArtistMvs, "滚动条_艺人MV", "滑动框_艺人MV"}}) {
        SCOPED_TRACE(c.page);
        window.showPage(c.page);
        window.page(c.page)->scrollPane()->setMaximum(500);
        wheel(-3);
        EXPECT_EQ(bar(c.bar)->value(), 120);
        ASSERT_TRUE(waitForGlideToEnd());
        EXPECT_EQ(slideBox(c.slideBox)->y(), -120);

        QWheelEvent overBar(QPointF(5, 100), QPointF(5, 100), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                            Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar(c.bar), &overBar);
        EXPECT_EQ(bar(c.bar)->value(), 160);
        ASSERT_TRUE(waitForGlideToEnd());
    }
    for (int page : {Pages::kLibraryPlaceholder, Pages::kNewAlbums, Pages::kLogin, Pages::kSettings}) {
        window.showPage(page);
        wheel(-3);
        EXPECT_FALSE(glide().isRunning()) << page;
    }
}

// The toolbar marks the tab of the page shown, and no tab on the others.
TEST_F(MainWindowTest, TheToolbarMarksThePagesOwnTabAndNoneElsewhere) {
    const std::map<int, const char*> tabs = {{Pages::kHome, "工具栏_首页"},
                                             {Pages::kDiscover, "工具栏_发现"},
                                             {Pages::kCharts, "工具栏_排行榜"},
                                             {Pages::kMusicLibrary, "工具栏_音乐库"}};
    for (int page = 0; page < Pages::kCount; ++page) {
        window.showPage(page);
        const auto tab = tabs.find(page);
        for (const auto& [tabPage, name] : tabs)
            EXPECT_EQ(find<FlatButton>(name)->textColor(),
                      tab != tabs.end() && tab->first == tabPage ? Theme::kAccent : Theme::kPageButtonText)
                << "page " << page << ", " << name;
    }
}

TEST_F(MainWindowTest, WheelDoesNothingWhileTheNowPlayingViewIsUp) {
    window.nowPlayingView()->move(21, MainWindow::kNowPlayingShownTop);
    wheel(-1);
    EXPECT_EQ(bar("滚动条_首页")->value(), 0);
    EXPECT_FALSE(glide().isRunning());
}

TEST_F(MainWindowTest, ANewScrollRequestTakesTheGlideOverAndLeavesTheFirstPaneWhereItIs) {
    wheel(-1);
    for (int i = 0; i < 5; ++i) glide().tick();
    const int stoppedAt = slideBox("滑动框_首页")->y();
    EXPECT_LT(stoppedAt, 10);
    EXPECT_GT(stoppedAt, -40);

    window.showPage(1);
    window.page(1)->scrollPane()->fitContent(700);
    EXPECT_EQ(bar("滚动条_发现")->maximum(), 150);
    bar("滚动条_发现")->setValue(100);
    EXPECT_EQ(window.scroller().scrollPaneKey(), 2);
    ASSERT_TRUE(waitForGlideToEnd());
    EXPECT_EQ(slideBox("滑动框_发现")->y(), -100);
    EXPECT_EQ(slideBox("滑动框_首页")->y(), stoppedAt);
}

TEST_F(MainWindowTest, TheTargetIsClampedToTheSlideBoxHeight) {
    window.showPage(8);
    window.page(8)->scrollPane()->setMaximum(5000);
    bar("滚动条_搜索详情")->setValue(4000);
    EXPECT_EQ(window.scroller().scrollTarget(), -1500);
    ASSERT_TRUE(waitForGlideToEnd());
    EXPECT_EQ(slideBox("滑动框_搜索详情")->y(), -1500);
    EXPECT_EQ(bar("滚动条_搜索详情")->value(), 1500);
}

TEST_F(MainWindowTest, FillersFitTheirPaneToTheContentAndResetIt) {
    ScrollPane* charts = window.page(2)->scrollPane();
    charts->fitContent(30 * 58 + 50, 50);  // thirty charts
    EXPECT_EQ(slideBox("滑动框_排行榜")->height(), 1790);
    EXPECT_EQ(bar("滚动条_排行榜")->maximum(), 1290);

    window.showPage(2);
    wheel(-2);
    ASSERT_TRUE(waitForGlideToEnd());
    EXPECT_EQ(slideBox("滑动框_排行榜")->y(), -80);
    charts->reset();
    EXPECT_EQ(slideBox("滑动框_排行榜")->y(), 10);
    EXPECT_EQ(bar("滚动条_排行榜")->value(), 0);
    EXPECT_FALSE(glide().isRunning());  // a reset does not glide

    charts->fitContent(0);  // an empty list
    EXPECT_EQ(bar("滚动条_排行榜")->maximum(), 0);
}

TEST_F(MainWindowTest, OnlyTheCurrentPagesScrollbarShows) {
    struct Case {
        int page;
        const char* visible;  // nullptr: none
    };
    // In order: pages without a pane keep the bar of the page before.
    const Case cases[] = {
        {0, "滚动条_首页"},    {1, "滚动条_发现"},      {10, "滚动条_发现"},    {3, "滚动条_发现"},
        {2, "滚动条_排行榜"},  {6, "滚动条_排行榜"},    {9, nullptr},           {10, nullptr},
        {4, "滚动条_MV"},      {5, "滚动条_艺人详情"},  {7, "滚动条_歌单详情"}, {8, "滚动条_搜索详情"},
        {11, "滚动条_音乐库"}, {12, "滚动条_搜索艺人"}, {13, "滚动条_艺人MV"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        window.showPage(c.page);
        for (const char* name : kScrollBarNames)
            EXPECT_EQ(!bar(name)->isHidden(), c.visible && QString::fromUtf8(name) == QString::fromUtf8(c.visible))
                << name;
    }
}

TEST_F(MainWindowTest, CloseAndMinimise) {
    QSignalSpy closing(&window, &MainWindow::closeRequested);
    QTest::mouseClick(find<FlatButton>("工具栏_关闭"), Qt::LeftButton);
    EXPECT_EQ(closing.count(), 1);
    window.show();
    window.close();
    EXPECT_EQ(closing.count(), 2);
    QTest::mouseClick(find<FlatButton>("工具栏_最小化"), Qt::LeftButton);
    EXPECT_TRUE(window.isMinimized());
}

TEST_F(MainWindowTest, AccountCornerShowsTheLoginLabelOrTheAvatar) {
    EXPECT_FALSE(find("标签_登录")->isHidden());
    EXPECT_TRUE(find("工具栏_用户")->isHidden());
}

}  // namespace
