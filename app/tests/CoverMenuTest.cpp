// The play bar's cover menu end to end, the program started against the
// companion server: the play-list window (one window, its rows, choosing a
// song, clearing, closing while a chosen song loads) and downloading the
// song shown (the saved file, the folder opened, the busy and failure
// notices, the menu item's percentage).
#include "app/Application.h"
#include "app/CoverMenuActions.h"
#include "app/tests/StartedApplication.h"
#include "audio/StreamActivity.h"
#include "download/SongDownloader.h"
#include "player/Player.h"
#include "ui/lists/IconList.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/PlayBar.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/PlayListWindow.h"

#include "DemoCompanion.h"
#include "RecordingServer.h"
#include "ScriptedSocketServer.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>
#include <mutex>
#include <optional>
#include <set>

namespace {

namespace fs = std::filesystem;
using namespace DemoSongs;
using namespace std::chrono_literals;

constexpr int kTimeoutMs = 30000;
const std::string kFireflies = "1900001004";   // 萤火虫 by 林夏
const std::string kCityLights = "1900001005";  // 城市之光 by 林夏, streamed as FLAC

// Records the folders the program asks the desktop to open.
class FolderOpener : public QObject {
    Q_OBJECT
public:
    FolderOpener() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~FolderOpener() override { QDesktopServices::unsetUrlHandler("file"); }
    std::vector<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

// The maker's host as the companion serves it, except that song URL
// requests can be made to name another stream (or none), as a download
// test needs once its song plays.
class SwitchableMaker {
public:
    SwitchableMaker() {
        server_.setHandler([this](const RecordedRequest& request) {
            if (request.target.find("apiSongUrlV1") != std::string::npos) {
                std::lock_guard lock(mutex_);
                if (streamUrl_) {
                    const std::string url = streamUrl_->empty() ? "null" : "\"" + *streamUrl_ + "\"";
                    return CannedReply{200, R"({"code":200,"data":[{"url":)" + url + "}]}", "application/json", {}};
                }
            }
            HttpRequest forwarded;
            forwarded.url = DemoCompanion::origin() + request.target;
            const HttpResponse answer = HttpClient::fetchPicture(forwarded);
            return CannedReply{answer.statusCode, answer.bodyBytes, "application/json", {}};
        });
    }
    std::string origin() const { return server_.url(""); }
    // From now on song URL requests name `url`; an empty one names none.
    void nameStream(const std::string& url) {
        std::lock_guard lock(mutex_);
        streamUrl_ = url;
    }

private:
    std::mutex mutex_;
    std::optional<std::string> streamUrl_;  // guarded by mutex_
    RecordingServer server_;
};

class CoverMenuTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { DemoCompanion::start(); }
    static void TearDownTestSuite() { DemoCompanion::stop(); }

    CoverMenuTest() {
        ServiceHosts hosts = ServiceHosts::allAt(DemoCompanion::origin());
        hosts.makerOrigin = maker.origin();
        app = std::make_unique<Application>(documents.path().string(), program.path().string(), hosts);
        EXPECT_TRUE(startAndWait(*app)) << "start-up ends";
        designedCover = control<PictureBox>("播放栏_海报")->picture();
    }
    ~CoverMenuTest() override { delete MessageBoxWindow::dialog(); }

    template <typename T = QWidget>
    T* control(const char* name) const {
        T* found = app->mainWindow()->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* labelName) const { return control<QLabel>(labelName)->text(); }
    Player& player() const { return *app->player(); }
    PlayBar& bar() const { return *app->playBar(); }
    SongDownloader& downloader() const { return *app->downloader(); }

    void play(const std::string& id) {
        QSignalSpy started(&player(), &Player::songStarted);
        app->mainWindow()->router().play(id);
        ASSERT_TRUE(started.wait(kTimeoutMs)) << "song " << id << " did not start";
    }

    // Opens the play-list window from the menu and waits for its rows.
    PlayListWindow* openPlayList(int rows) {
        bar().playListAction()->trigger();
        PlayListWindow* window = app->coverMenu()->playListWindow();
        EXPECT_NE(window, nullptr);
        if (!window) return nullptr;
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->list()->itemCount() == rows && window->list()->isEnabled(); },
                                    kTimeoutMs));
        return window;
    }
    static int openPlayListWindows() {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            count += qobject_cast<PlayListWindow*>(widget) && widget->isVisible() ? 1 : 0;
        return count;
    }
    static void doubleClickRow(IconList* list, int row) {
        QTest::mouseDClick(list, Qt::LeftButton, {}, list->itemRect(row).center());
    }

    // Answers the notice open now with its confirm button.
    static void confirmNotice() {
        QWidget* dialog = MessageBoxWindow::dialog();
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QPushButton*>("按钮_确定")->click();
    }

    static QString noticeText(const char* name) {
        QWidget* dialog = MessageBoxWindow::dialog();
        if (!dialog) return "(no notice)";
        if (auto* label = dialog->findChild<QLabel*>(name)) return label->text();
        return dialog->findChild<QPushButton*>(name)->text();
    }
    std::set<std::string> savedFiles() const {
        std::set<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(app->paths().downloadFolder, error))
            names.insert(entry.path().filename().string());
        return names;
    }

    SwitchableMaker maker;
    TempDir documents, program;
    std::unique_ptr<Application> app;
    QImage designedCover;
};

TEST_F(CoverMenuTest, TheMenuOpensOnePlayListWindowThatReloadsWhenOpenedAgain) {
    play(kSummerLetter);
    play(kWindyStreet);
    PlayListWindow* window = openPlayList(2);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(openPlayList(2), window) << "opening it again raises the same window";
    EXPECT_EQ(openPlayListWindows(), 1);

    window->findChild<QPushButton*>("工具栏_关闭")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->coverMenu()->playListWindow() == nullptr; }, kTimeoutMs));
    play(kGoodNight);
    window = openPlayList(3);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return window->list()->itemText(2, IconText::Main) == "晚安，城市"; }, kTimeoutMs));
    EXPECT_EQ(window->list()->itemText(0, IconText::Main), "夏日来信");
    EXPECT_EQ(openPlayListWindows(), 1);
}

TEST_F(CoverMenuTest, ChoosingARowPlaysThatSongAndNextContinuesAfterIt) {
    for (const std::string& id : {kSummerLetter, kWindyStreet, kGoodNight, kFireflies}) play(id);
    control<QPushButton>("播放栏_列表")->click();
    PlayListWindow* window = openPlayList(4);
    ASSERT_NE(window, nullptr);
    QSignalSpy started(&player(), &Player::songStarted);
    doubleClickRow(window->list(), 2);
    EXPECT_FALSE(window->list()->isEnabled()) << "no second song is chosen while the first loads";
    ASSERT_TRUE(started.wait(kTimeoutMs));
    EXPECT_EQ(started.at(0).at(0).value<std::string>(), kGoodNight);
    EXPECT_EQ(player().queue().position(), 3);
    EXPECT_EQ(text("播放栏_歌曲名"), "晚安，城市");
    EXPECT_TRUE(window->list()->isEnabled());
    EXPECT_EQ(window->list()->markedItem(), 2);

    control<QPushButton>("播放栏_播放_下一首")->click();
    ASSERT_TRUE(started.wait(kTimeoutMs));
    EXPECT_EQ(started.last().at(0).value<std::string>(), kFireflies);
    EXPECT_EQ(window->list()->markedItem(), 3);
}

TEST_F(CoverMenuTest, ClearStopsTheSongEmptiesTheQueueResetsTheBarAndCloses) {
    play(kWindyStreet);
    play(kSummerLetter);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return control<PictureBox>("播放栏_海报")->picture() != designedCover; }, kTimeoutMs));
    PlayListWindow* window = openPlayList(2);
    ASSERT_NE(window, nullptr);
    const AudioEngine::Handle stream = player().currentStream();
    window->findChild<QPushButton*>("工具栏_清空")->click();
    EXPECT_EQ(player().queue().size(), 2) << "the bin asks first";
    confirmNotice();

    ASSERT_TRUE(QTest::qWaitFor([&] { return app->coverMenu()->playListWindow() == nullptr; }, kTimeoutMs));
    EXPECT_EQ(app->audioEngine().isActive(stream), StreamActivity::kStopped) << "the stream is stopped and freed";
    EXPECT_FALSE(bar().showsPauseIcon());
    EXPECT_EQ(player().queue().size(), 0);
    EXPECT_EQ(player().queue().position(), 1);
    EXPECT_EQ(text("播放栏_歌曲名"), "Mivra音乐");
    EXPECT_EQ(text("播放栏_歌手"), "听见喜欢的每一首歌");
    EXPECT_EQ(control<PictureBox>("播放栏_海报")->picture(), designedCover);
    EXPECT_FALSE(control("播放栏_MV")->isVisible());
    for (const char* name : {"播放栏_播放_上一首", "播放栏_播放_下一首", "播放栏_海报"})
        EXPECT_FALSE(control(name)->isEnabled()) << name << " waits for the next song";

    app->coverMenu()->openPlayList();
    window = app->coverMenu()->playListWindow();
    ASSERT_NE(window, nullptr);
    QTest::qWait(100);
    EXPECT_EQ(window->list()->itemCount(), 0) << "opened again, the list is empty";

    play(kGoodNight);
    for (const char* name : {"播放栏_播放_上一首", "播放栏_播放_下一首", "播放栏_海报"})
        EXPECT_TRUE(control(name)->isEnabled()) << name << " is back with the next song";
}

TEST_F(CoverMenuTest, ClosingOrClearingWhileAChosenSongLoadsLeavesNothingWritingIntoTheWindow) {
    for (const char* button : {"工具栏_关闭", "工具栏_清空"}) {
        SCOPED_TRACE(button);
        play(kSummerLetter);
        play(kWindyStreet);
        PlayListWindow* opened = openPlayList(2);
        ASSERT_NE(opened, nullptr);
        const QPointer<PlayListWindow> window(opened);
        QSignalSpy loading(&player(), &Player::loadingChanged);
        doubleClickRow(window->list(), 0);
        ASSERT_TRUE(player().isLoading());
        window->findChild<QPushButton*>(button)->click();
        if (std::string(button) == "工具栏_清空") confirmNotice();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window && !player().isLoading(); }, kTimeoutMs));
        ASSERT_TRUE(QTest::qWaitFor([&] { return player().runningTasks() == 0; }, kTimeoutMs));
        QTest::qWait(200);
        if (std::string(button) == "工具栏_清空") {
            EXPECT_EQ(player().queue().size(), 0);
            EXPECT_FALSE(player().isPlaying()) << "the song being loaded does not start after the clear";
        } else {
            EXPECT_EQ(player().currentSongId(), kSummerLetter) << "closing the window leaves the chosen song playing";
        }
    }
}

TEST_F(CoverMenuTest, DownloadingSavesTheSongShownAndOffersToOpenTheFolder) {
    FolderOpener folders;
    bar().downloadAction()->trigger();
    EXPECT_FALSE(downloader().isBusy()) << "before any song there is nothing to download";

    play(kCityLights);
    QSignalSpy completed(&downloader(), &SongDownloader::completed);
    bar().downloadAction()->trigger();
    EXPECT_TRUE(downloader().isBusy());
    EXPECT_EQ(bar().downloadAction()->text(), "下载此歌曲（0%）");

    bar().downloadAction()->trigger();
    EXPECT_EQ(noticeText("标签_提示框标题"), "已有下载任务在进行");
    EXPECT_TRUE(
        noticeText("标签_内容")
            .startsWith("当前正在下载[林夏-城市之光]，请等待该任务结束后再创建新的下载任务！当前下载任务进度："));
    EXPECT_TRUE(noticeText("标签_内容").endsWith("% ......"));
    EXPECT_EQ(noticeText("按钮_确定"), "知道了");

    ASSERT_TRUE(completed.wait(kTimeoutMs));
    EXPECT_EQ(savedFiles(), std::set<std::string>{"林夏-城市之光.flac"});
    // A notice says it is done and where; the folder opens when asked.
    EXPECT_EQ(noticeText("标签_提示框标题"), "下载完成啦");
    EXPECT_TRUE(noticeText("标签_内容").contains("[林夏-城市之光]"));
    EXPECT_TRUE(noticeText("标签_内容").contains(QString::fromStdString(app->paths().downloadFolder)));
    EXPECT_EQ(noticeText("按钮_取消"), "知道了");
    EXPECT_EQ(noticeText("按钮_确定"), "打开文件夹");
    EXPECT_TRUE(folders.opened.empty());
    MessageBoxWindow::dialog()->findChild<QPushButton*>("按钮_确定")->click();
    EXPECT_EQ(MessageBoxWindow::dialog(), nullptr);
    ASSERT_EQ(folders.opened.size(), 1u);
    EXPECT_EQ(folders.opened[0], QUrl::fromLocalFile(QString::fromStdString(app->paths().downloadFolder)));
    EXPECT_EQ(fs::path(app->paths().downloadFolder).parent_path().filename(), "downnload");
    EXPECT_EQ(bar().downloadAction()->text(), "下载此歌曲");
}

TEST_F(CoverMenuTest, TheBusyNoticeTellsTheRunningPercentageAndABrokenDownloadTellsItFailed) {
    // 42 of 100 bytes, then the connection breaks after a while.
    ScriptedSocketServer stalling({{"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n" + std::string(42, 'x'), 2500ms}});
    play(kWindyStreet);
    maker.nameStream(stalling.url("/song.mp3"));
    QSignalSpy failed(&downloader(), &SongDownloader::failed);
    bar().downloadAction()->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return downloader().percentage() == 42; }, kTimeoutMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar().downloadAction()->text() == "下载此歌曲（42%）"; }, 3000))
        << "the menu item follows the progress timer";

    bar().downloadAction()->trigger();
    EXPECT_EQ(noticeText("标签_内容"),
              "当前正在下载[林夏-风吹过的街]，请等待该任务结束后再创建新的下载任务！当前下载任务进度：42% ......");

    ASSERT_TRUE(failed.wait(kTimeoutMs));
    EXPECT_EQ(noticeText("标签_提示框标题"), "下载失败啦");
    EXPECT_EQ(
        noticeText("标签_内容"),
        "Mivra酱没能把[林夏-风吹过的街]下载下来，可能是网络出了点问题，或者这首歌暂时无法下载，请稍后再试一次吧！");
    EXPECT_EQ(noticeText("按钮_确定"), "知道了");
    EXPECT_FALSE(downloader().isBusy());
    EXPECT_FALSE(downloader().progressTimer().isActive());
    EXPECT_EQ(bar().downloadAction()->text(), "下载此歌曲");
    EXPECT_EQ(savedFiles(), std::set<std::string>{});
}

TEST_F(CoverMenuTest, AServerErrorOrNoStreamFailsWithTheNoticeAndLeavesNoFile) {
    RecordingServer audio;
    audio.setHandler([](const RecordedRequest&) { return CannedReply{503, "busy", "text/html", {}}; });
    play(kSummerLetter);
    for (const std::string& stream : {audio.url("/song.flac"), std::string()}) {
        SCOPED_TRACE(stream.empty() ? "null URL" : "server error");
        delete MessageBoxWindow::dialog();
        maker.nameStream(stream);
        QSignalSpy failed(&downloader(), &SongDownloader::failed);
        bar().downloadAction()->trigger();
        ASSERT_TRUE(failed.wait(kTimeoutMs));
        EXPECT_EQ(noticeText("标签_提示框标题"), "下载失败啦");
        EXPECT_TRUE(noticeText("标签_内容").contains("[林夏-夏日来信]"));
        EXPECT_EQ(savedFiles(), std::set<std::string>{});
    }
}

}  // namespace

#include "CoverMenuTest.moc"
