// The two kinds of empty a page can show: a request that failed, whatever
// way the service failed, shows the retry line; a search the service
// answered without a match says so in its rows instead.
#include "net/HttpClient.h"
#include "server/DemoServer.h"
#include "server/faults/FaultPlan.h"
#include "ui/lists/IconList.h"
#include "ui/pages/SearchPage.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/ServiceFailureLine.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/MainWindow.h"

#include "PageTestSupport.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <memory>

namespace {

constexpr int kWaitMs = 20000;

TEST(ServiceFailureLineTest, ShowsWhileAnyPartFailedAndAClickReloadsTheFailedPartsOnce) {
    QWidget page;
    page.resize(600, 200);
    ServiceFailureLine line(&page, {0, 0, 600, 30});
    page.show();
    int albumsReloaded = 0, songsReloaded = 0, headerReloaded = 0;
    const int albums = 0, songs = 0, header = 0;  // the parts, told apart by address

    EXPECT_FALSE(line.isVisible());
    line.report(&header, ServiceStatus::Answered, [&] { ++headerReloaded; });
    EXPECT_FALSE(line.isVisible());
    line.report(&albums, ServiceStatus::Failed, [&] { ++albumsReloaded; });
    line.report(&songs, ServiceStatus::Failed, [&] { ++songsReloaded; });
    EXPECT_TRUE(line.isVisible());
    EXPECT_EQ(line.text(), ServiceFailureLine::kText) << "any service but the local companion: the network";
    // A newer load of the songs got its answer: only the albums still failed.
    line.report(&songs, ServiceStatus::Answered, [&] { ++songsReloaded; });
    EXPECT_TRUE(line.isVisible());

    QTest::mouseClick(&line, Qt::LeftButton);
    EXPECT_EQ(albumsReloaded, 1);
    EXPECT_EQ(songsReloaded, 0);
    EXPECT_EQ(headerReloaded, 0);
    EXPECT_FALSE(line.isVisible()) << "hidden while the reload runs";
    QTest::mouseClick(&line, Qt::LeftButton);
    EXPECT_EQ(albumsReloaded, 1) << "nothing failed is left to reload";

    line.report(&albums, ServiceStatus::Failed, [&] { ++albumsReloaded; });
    EXPECT_TRUE(line.isVisible()) << "the reload failed again";
    // The user opened something else in the albums' place: the old failure
    // no longer counts, and a click cannot bring the old albums back.
    line.loadStarted(&albums);
    EXPECT_FALSE(line.isVisible());
    QTest::mouseClick(&line, Qt::LeftButton);
    EXPECT_EQ(albumsReloaded, 1);
    line.report(&albums, ServiceStatus::Answered, [&] { ++albumsReloaded; });
    EXPECT_FALSE(line.isVisible());
}

// A main window searching a service that answers through `origin`.
class SearchOutcomeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { HttpClient::globalInit(); }

    static SearchPage& searchPage(MainWindow& window) { return *static_cast<SearchPage*>(window.page(Pages::kSearch)); }

    static void search(MainWindow& window, const QString& keyword) {
        window.toolbar()->searchBox()->setText(keyword);
        QTest::keyClick(window.toolbar()->searchBox(), Qt::Key_Return);
    }

    static std::vector<IconList*> rows(const SearchPage& page) {
        return {page.artistRow(), page.albumRow(), page.songList(), page.playlistRow()};
    }
};

TEST_F(SearchOutcomeTest, ASearchWithoutAMatchSaysNothingWasFoundInItsRows) {
    DemoServer server;
    ASSERT_TRUE(server.start());
    PageWindow view{server.origin()};
    SearchPage& page = searchPage(view.window);

    search(view.window, "zzqx-没有这样的歌");
    for (IconList* row : rows(page)) {
        SCOPED_TRACE(row->objectName().toStdString());
        QLabel* noMatch = page.noMatchText(row);
        ASSERT_NE(noMatch, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return noMatch->isVisible(); }, kWaitMs));
        EXPECT_EQ(noMatch->text(), "没有找到相关的结果");
        EXPECT_EQ(row->itemCount(), 0);
    }
    EXPECT_FALSE(page.failureLine()->isVisible());

    search(view.window, "林夏");
    ASSERT_TRUE(QTest::qWaitFor([&] { return page.songList()->itemCount() > 0; }, kWaitMs));
    for (IconList* row : rows(page))
        EXPECT_FALSE(page.noMatchText(row)->isVisible()) << row->objectName().toStdString();
    EXPECT_FALSE(page.failureLine()->isVisible());
}

// Each way the service can fail shows the line on the search page, never the
// "nothing found" text, and the toolbar keeps working.
TEST_F(SearchOutcomeTest, EveryKindOfFailedAnswerShowsTheRetryLine) {
    auto companionWithFault = [](const char* mode) {
        ServerOptions options = DemoServer::testOptions();
        options.faults.push_back(*parseFaultRule(mode));
        auto server = std::make_shared<DemoServer>(options);
        EXPECT_TRUE(server->start());
        return std::pair{std::shared_ptr<void>(server), server->origin()};
    };
    // An API server without internet: every route answers the same JSON error.
    auto unreachableUpstream = [](int httpStatus) {
        auto server = std::make_shared<RecordingServer>();
        server->setHandler([httpStatus](const RecordedRequest&) {
            CannedReply reply;
            reply.status = httpStatus;
            reply.body = R"({"code":502,"msg":"getaddrinfo ENOTFOUND interface.music.example"})";
            reply.contentType = "application/json; charset=utf-8";
            return reply;
        });
        return std::pair{std::shared_ptr<void>(server), server->url("")};
    };
    struct Case {
        const char* name;
        std::function<std::pair<std::shared_ptr<void>, std::string>()> start;  // the server and its origin
    };
    const Case cases[] = {
        {"companion answering 500 pages", [&] { return companionWithFault("http500"); }},
        {"companion answering garbage", [&] { return companionWithFault("garbage"); }},
        {"502 with a JSON body", [&] { return unreachableUpstream(502); }},
        {"200 with code 502 in its JSON", [&] { return unreachableUpstream(200); }},
        {"nobody listening",
         [] {
             return std::pair{std::shared_ptr<void>(), unreachableOrigin()};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto [server, origin] = c.start();
        PageWindow view{origin};
        SearchPage& page = searchPage(view.window);
        search(view.window, "林夏");
        EXPECT_TRUE(QTest::qWaitFor([&] { return page.failureLine()->isVisible(); }, kWaitMs));
        QTest::qWait(200);  // the song row reports too
        for (IconList* row : rows(page)) {
            EXPECT_EQ(row->itemCount(), 0) << row->objectName().toStdString();
            EXPECT_FALSE(page.noMatchText(row)->isVisible()) << row->objectName().toStdString();
        }
        view.window.toolbar()->pageButton(ToolbarPage::Charts)->click();
        EXPECT_EQ(view.window.currentPage(), Pages::kCharts);
    }
}

// Where the pages load from the demo server on this machine, a failure is
// that server not running: the line names it and how to start it, whole.
TEST(ServiceFailureLineTest, TheLocalCompanionIsNamedWithHowToStartIt) {
    QWidget page;
    page.resize(720, 200);
    ServiceFailureLine line(&page, {0, 0, 720, 30});
    page.show();
    const int part = 0;
    struct Case {
        std::string companion;
        const char* says;
    };
    for (const Case& c : {Case{"http://127.0.0.1:38580", "mivra-server --port 38580"},
                          Case{"http://127.0.0.1:4711", "mivra-server --port 4711"}, Case{"", "请检查网络"}}) {
        SCOPED_TRACE(c.companion);
        ServiceFailureLine::setLocalCompanion(c.companion);
        line.report(&part, ServiceStatus::Failed, [] {});
        EXPECT_TRUE(line.isVisible());
        EXPECT_TRUE(line.text().contains(QString::fromUtf8(c.says))) << line.text().toStdString();
        EXPECT_EQ(line.text().contains("请检查网络"), c.companion.empty());
        EXPECT_EQ(line.width(), line.sizeHint().width()) << "as wide as its text, which fits the page";
        line.loadStarted(&part);
    }
}

}  // namespace
