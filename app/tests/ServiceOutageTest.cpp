// The whole program while its service is down, then back: each page whose
// content failed shows the retry line in its own area, the toolbar and the
// play bar keep working, a song that cannot be fetched gets its notice only,
// and once the companion answers again on the same port a click on a page's
// line fills that page.
#include "TempDir.h"
#include "app/Application.h"
#include "app/ServiceConnection.h"
#include "app/tests/StartedApplication.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"
#include "server/catalogue/DemoBuilders.h"
#include "ui/lists/IconList.h"
#include "ui/lists/ItemEvents.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/DiscoverPage.h"
#include "ui/pages/HomePage.h"
#include "ui/pages/PlaylistPage.h"
#include "ui/pages/SearchPage.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PlayBar.h"
#include "ui/widgets/ServiceFailureLine.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <memory>

namespace {

constexpr int kWaitMs = 20000;

// A page the test visits: how to get there, and the list that shows whether
// its content is in.
struct PageVisit {
    const char* name;
    int page;
    std::function<void(MainWindow&)> open;
    std::function<const IconList*(MainWindow&)> content;
};

template <typename P>
P& pageOf(MainWindow& window, int index) {
    return *static_cast<P*>(window.page(index));
}

std::vector<PageVisit> visits() {
    return {
        {"home", Pages::kHome, [](MainWindow& w) { w.toolbar()->pageButton(ToolbarPage::Home)->click(); },
         [](MainWindow& w) -> const IconList* { return pageOf<HomePage>(w, Pages::kHome).playlistList(); }},
        {"discover", Pages::kDiscover, [](MainWindow& w) { w.toolbar()->pageButton(ToolbarPage::Discover)->click(); },
         [](MainWindow& w) -> const IconList* { return pageOf<DiscoverPage>(w, Pages::kDiscover).playlistList(); }},
        {"search", Pages::kSearch,
         [](MainWindow& w) {
             w.toolbar()->searchBox()->setText("林夏");
             QTest::keyClick(w.toolbar()->searchBox(), Qt::Key_Return);
         },
         [](MainWindow& w) -> const IconList* { return pageOf<SearchPage>(w, Pages::kSearch).songList(); }},
        {"playlist", Pages::kPlaylist,
         [](MainWindow& w) { w.router().openPlaylist(std::to_string(demo::kSummerSoundsPlaylist), Place::Home); },
         [](MainWindow& w) -> const IconList* { return pageOf<PlaylistPage>(w, Pages::kPlaylist).trackList(); }},
    };
}

QString noticeTitle() {
    QWidget* notice = MessageBoxWindow::dialog();
    return notice ? notice->findChild<QLabel*>("标签_提示框标题")->text() : QString();
}

class ServiceOutageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { HttpClient::globalInit(); }
    void TearDown() override {
        if (QWidget* notice = MessageBoxWindow::dialog()) delete notice;
        app.reset();
        server.reset();
    }

    TempDir documents, program, cache;
    std::unique_ptr<DemoServer> server;
    std::unique_ptr<Application> app;  // after the server: it goes first
};

TEST_F(ServiceOutageTest, PagesSayTheServiceIsDownAndAClickFillsThemOnceItIsBack) {
    // A port the companion listened on, then the companion stopped.
    int port = 0;
    {
        DemoServer earlier;
        ASSERT_TRUE(earlier.start());
        port = earlier.port();
        // Stopped only once it answers: a listener stopped before it runs never ends.
        HttpRequest request;
        request.url = earlier.baseUrl() + "banner";
        ASSERT_EQ(HttpClient::fetchService(request).status.substr(0, 3), "200");
    }
    app = std::make_unique<Application>(documents.path().string(), program.path().string(),
                                        ServiceHosts::allAt("http://127.0.0.1:" + std::to_string(port)),
                                        cache.file("pictures"));
    app->setExitHandler([] {});
    app->setStartupBound(3000);
    EXPECT_TRUE(startAndWait(*app)) << "start-up ends";
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(app->loadingWindow(), nullptr);
    MainWindow& window = *app->mainWindow();

    for (const PageVisit& visit : visits()) {
        SCOPED_TRACE(visit.name);
        visit.open(window);
        EXPECT_EQ(window.currentPage(), visit.page);
        const ServiceFailureLine* line = window.page(visit.page)->failureLine();
        ASSERT_NE(line, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return line->isVisible(); }, kWaitMs));
        // The service is the companion on this machine: the line names it and
        // says how to start it, rather than blaming the network.
        EXPECT_TRUE(line->text().contains("mivra-server --port " + QString::number(port)))
            << line->text().toStdString();
        EXPECT_FALSE(line->text().contains("请检查网络"));
        EXPECT_EQ(line->width(), line->sizeHint().width()) << "the whole text shows";
        EXPECT_EQ(visit.content(window)->itemCount(), 0);

        // The toolbar switches pages and comes back.
        window.toolbar()->pageButton(ToolbarPage::Charts)->click();
        EXPECT_EQ(window.currentPage(), Pages::kCharts);
        window.showPage(visit.page);
    }

    // The play bar: muting answers, and a song whose address cannot be
    // fetched gets the play notice.
    auto* mute = app->playBar()->findChild<QAbstractButton*>("播放栏_音量");
    const bool muted = app->playBar()->showsMutedIcon();
    mute->click();
    EXPECT_NE(app->playBar()->showsMutedIcon(), muted);
    window.showPage(Pages::kSettings);
    window.router().play("1900001001");
    ASSERT_TRUE(QTest::qWaitFor([] { return MessageBoxWindow::dialog() != nullptr; }, kWaitMs));
    EXPECT_EQ(noticeTitle(), "播放失败啦");
    delete MessageBoxWindow::dialog();

    // The companion back on the same port: a click on each page's line fills it.
    ServerOptions options = DemoServer::testOptions();
    options.port = port;
    server = std::make_unique<DemoServer>(options);
    ASSERT_TRUE(server->start());
    for (const PageVisit& visit : visits()) {
        SCOPED_TRACE(visit.name);
        window.showPage(visit.page);
        ServiceFailureLine* line = window.page(visit.page)->failureLine();
        ASSERT_TRUE(line->isVisible());
        QTest::mouseClick(line, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return visit.content(window)->itemCount() > 0; }, kWaitMs));
        QTest::qWait(300);  // the page's other parts report in
        EXPECT_FALSE(line->isVisible());
    }
    EXPECT_FALSE(
        pageOf<PlaylistPage>(window, Pages::kPlaylist).findChild<QLabel*>("歌单详细_歌单名")->text().isEmpty());
}

// Only a gateway on this machine is the companion the pages can name; the
// service's own web API and other hosts are not.
TEST(ServiceReachTest, OnlyAGatewayOnThisMachineIsTheLocalCompanion) {
    struct Case {
        ServiceTarget target;
        std::string companion;
    };
    const Case cases[] = {
        {ServiceTarget(ServiceHosts::allAt("http://127.0.0.1:38580")), "http://127.0.0.1:38580"},
        {ServiceTarget(ServiceHosts::allAt("http://localhost:4000")), "http://localhost:4000"},
        {ServiceTarget(ServiceHosts::allAt("http://192.0.2.7:38580")), ""},
        {ServiceTarget(), ""},  // the stored choice, the service's own web API by default
    };
    for (const Case& c : cases) {
        ServiceConnection connection(c.target, "", "device", "");
        EXPECT_EQ(connection.reachAtStart(ServiceChoice{}).localCompanion, c.companion) << c.companion;
    }
}

}  // namespace
