// Start-up against a companion that announces another version: the hand-over
// to the updater, the updater's skip path back into the program, the
// start-up that carries on when the updater cannot be written or started,
// and the update log shown once.
#include "TempDir.h"
#include "app/Application.h"
#include "app/tests/StartedApplication.h"
#include "base/AppSettings.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"
#include "server/faults/FaultPlan.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/UpdateLogWindow.h"
#include "updater/UpdaterWindow.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr const char* kAnnounced = "Beta V1.2.0";

ServerOptions announcing(const std::string& version, int latencyMs = 0) {
    ServerOptions options = DemoServer::testOptions();
    options.announcedVersion = version;
    options.latencyMs = latencyMs;
    return options;
}

class UpdateFlowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { HttpClient::globalInit(); }

    std::unique_ptr<Application> startApp(DemoServer& server, const std::string& programFolder) {
        auto app = std::make_unique<Application>(documents.path().string(), programFolder,
                                                 ServiceHosts::allAt(server.origin()));
        app->setExitHandler([this] { ++exits; });
        app->setUpdaterStarter([this](const std::string& path) {
            startedUpdaters.push_back(path);
            return updaterStarts;
        });
        app->setStartupBound(startupBoundMs);
        EXPECT_TRUE(startAndWait(*app)) << "start-up ends";
        return app;
    }
    AppSettings settings(const Application& app) const { return AppSettings(app.paths().settingsPath); }

    TempDir documents, program;
    int exits = 0;
    std::vector<std::string> startedUpdaters;
    bool updaterStarts = true;
    int startupBoundMs = Application::kStartupBoundMs;
};

TEST_F(UpdateFlowTest, AnotherVersionHandsOverAndSkippingItStartsTheProgram) {
    DemoServer server(announcing(kAnnounced));
    ASSERT_TRUE(server.start());
    {
        auto app = startApp(server, program.path().string());
        const fs::path updater = program.path() / "MivraUpDate.exe";
        ASSERT_EQ(startedUpdaters, std::vector<std::string>{updater.string()});
        EXPECT_EQ(exits, 1) << "the program ends once the updater started";
        EXPECT_FALSE(app->mainWindow()->isVisible());
        EXPECT_EQ(app->spectrumWindow(), nullptr);

        ASSERT_TRUE(fs::is_regular_file(updater));
        EXPECT_EQ(fs::status(updater).permissions() & fs::perms::all, fs::perms(0755));
        const QByteArray carried = carriedUpdater();
        EXPECT_GT(carried.size(), 4);
        EXPECT_TRUE(
            carried.startsWith("\x7f"
                               "ELF"));
        EXPECT_EQ(fs::file_size(updater), size_t(carried.size()));
        EXPECT_FALSE(fs::exists(program.path() / "MivraUpDate.exe.part"));
        EXPECT_EQ(settings(*app).read("Setting", "Path"), app->executablePath());
        EXPECT_EQ(app->executablePath().rfind(program.path().string() + "/", 0), 0u);
        EXPECT_EQ(settings(*app).read("Data", "UpDateLog"), "true");
    }

    // The updater, started as the program left things: the user skips.
    AppSettings stored(documents.path().string() + "/Mivra Music/config/config.ini");
    std::vector<QString> restarted;
    {
        UpdaterWindow updater(MaintenanceRequests(ServiceHosts::allAt(server.origin())).fetchRemoteConfig(), stored,
                              {[](const QUrl&) {},
                               [&](const QString& path) {
                                   restarted.push_back(path);
                                   return true;
                               }});
        updater.show();
        updater.findChild<QAbstractButton*>("按钮_暂不更新")->click();
    }
    EXPECT_EQ(stored.read("Data", "SkipVer"), kAnnounced);
    ASSERT_EQ(restarted.size(), 1u);
    EXPECT_EQ(restarted[0].toStdString(), stored.read("Setting", "Path"));

    // Started again, the program no longer hands over for that version, removes
    // the updater left beside it and shows the update log once.
    auto app = startApp(server, program.path().string());
    EXPECT_EQ(startedUpdaters.size(), 1u);
    EXPECT_EQ(exits, 1);
    EXPECT_TRUE(app->mainWindow()->isVisible());
    EXPECT_FALSE(fs::exists(program.path() / "MivraUpDate.exe"));
    ASSERT_NE(app->updateLogWindow(), nullptr);
    EXPECT_TRUE(app->updateLogWindow()->isVisible());
    EXPECT_EQ(settings(*app).read("Data", "UpDateLog"), "flase");
}

TEST_F(UpdateFlowTest, AFolderThatCannotBeWrittenCarriesOn) {
    DemoServer server(announcing(kAnnounced));
    ASSERT_TRUE(server.start());
    // Nobody, not even the superuser, creates files in /proc.
    auto app = startApp(server, "/proc");
    EXPECT_TRUE(startedUpdaters.empty());
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(app->mainWindow()->isVisible());
    EXPECT_NE(settings(*app).read("Data", "UpDateLog"), "true");
}

TEST_F(UpdateFlowTest, AnUpdaterThatWillNotStartLeavesNothingAndCarriesOn) {
    DemoServer server(announcing(kAnnounced));
    ASSERT_TRUE(server.start());
    updaterStarts = false;
    auto app = startApp(server, program.path().string());
    EXPECT_EQ(startedUpdaters.size(), 1u);
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(app->mainWindow()->isVisible());
    EXPECT_FALSE(fs::exists(program.path() / "MivraUpDate.exe"));
    EXPECT_EQ(settings(*app).read("Data", "UpDateLog"), "flase") << "the first start's log was shown, nothing more";
}

TEST_F(UpdateFlowTest, AConfigurationLaterThanTheBoundChangesNothing) {
    DemoServer server(announcing(kAnnounced, 700));
    ASSERT_TRUE(server.start());
    startupBoundMs = 300;
    auto app = startApp(server, program.path().string());
    EXPECT_TRUE(startedUpdaters.empty());
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(app->mainWindow()->isVisible());
}

// A brand-new user is not greeted with a changelog; after an update the log
// shows once, and a log the host does not deliver opens no empty window.
TEST_F(UpdateFlowTest, TheLogShowsOnlyAfterAnUpdateOnceAndNeverEmpty) {
    DemoServer server(announcing("Beta V1.1.4"));
    ASSERT_TRUE(server.start());
    {
        auto app = startApp(server, program.path().string());
        EXPECT_TRUE(startedUpdaters.empty());
        EXPECT_TRUE(app->mainWindow()->isVisible());
        EXPECT_EQ(app->updateLogWindow(), nullptr) << "a first start has nothing to announce";
        settings(*app).write("Data", "UpDateLog", "true");  // as the update hand-over leaves it
    }
    {
        auto app = startApp(server, program.path().string());
        ASSERT_NE(app->updateLogWindow(), nullptr);
        EXPECT_EQ(app->updateLogWindow()->list()->findChildren<QWidget*>("更新日志项").size(), 4u)
            << "the companion's four entries";
    }
    {
        auto app = startApp(server, program.path().string());
        EXPECT_EQ(app->updateLogWindow(), nullptr);
        settings(*app).write("Data", "UpDateLog", "true");
    }

    ServerOptions broken = announcing("Beta V1.1.4");
    broken.faults.push_back(*parseFaultRule("http500@/api/config/updatelog.json"));
    DemoServer withoutLog(broken);
    ASSERT_TRUE(withoutLog.start());
    auto app = startApp(withoutLog, program.path().string());
    EXPECT_TRUE(app->mainWindow()->isVisible());
    EXPECT_EQ(app->updateLogWindow(), nullptr) << "no entries, no window";
}

}  // namespace
