// The user's own music, the keyboard and scrobbling in the running program:
// a folder of generated songs found, listed, played with its `.lrc` lyrics
// and searched; the window's shortcuts and their change in the "快捷键"
// box; a played song told to a local stand-in of ListenBrainz.
#include "app/Application.h"
#include "app/KeyboardControl.h"
#include "app/ListeningExtras.h"
#include "app/tests/StartedApplication.h"
#include "base/AppSettings.h"
#include "local/LocalLibrary.h"
#include "local/LocalSong.h"
#include "local/MusicFolders.h"
#include "player/Player.h"
#include "ui/pages/LocalMusicPage.h"
#include "ui/pages/SearchPage.h"
#include "ui/pages/SettingsPage.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/LocalFoldersWindow.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/NowPlayingView.h"
#include "ui/windows/ShortcutWindow.h"

#include "DemoCompanion.h"
#include "RecordingServer.h"
#include "SongFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>

namespace {

constexpr int kWaitMs = 20000;

class ListeningExtrasTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        DemoCompanion::start();
        songs_ = new TempDir;
        makeSongFiles(songs_->path().string(), {{"lied.mp3", "本地之歌", "本地歌手", "本地专辑", 40.0, true},
                                                {"other.flac", "Another Tune", "Someone", "", 40.0, false}});
        writeFile(songs_->file("lied.lrc"), "[00:00.00]第一句\n[00:00.00]first\n[00:02.00]第二句\n[00:02.00]second\n");
    }
    static void TearDownTestSuite() {
        delete songs_;
        DemoCompanion::stop();
    }

    ListeningExtrasTest() {
        std::filesystem::create_directories(documents.path() / "Mivra Music" / "config");
        const AppSettings settings(documents.file("Mivra Music/config/config.ini"));
        settings.write("Local", "Folders",
                       QUrl::fromLocalFile(QString::fromStdString(songs_->path().string())).toEncoded().toStdString());
        settings.write("Scrobble", "ListenBrainz", "1");
        settings.write("Scrobble", "ListenBrainzToken", "the-token");
        setenv("MIVRA_LISTENBRAINZ_ORIGIN", listenBrainz.url("").c_str(), 1);
        // No display for global hotkeys: none are grabbed on a desktop the tests run in.
        unsetenv("DISPLAY");
        app = std::make_unique<Application>(documents.path().string(), program.path().string(),
                                            ServiceHosts::allAt(DemoCompanion::origin()));
        EXPECT_TRUE(startAndWait(*app)) << "start-up ends";
        unsetenv("MIVRA_LISTENBRAINZ_ORIGIN");
    }

    MainWindow& window() const { return *app->mainWindow(); }
    Player& player() const { return *app->player(); }
    LocalMusicPage& localPage() const { return *static_cast<LocalMusicPage*>(window().page(LocalMusicPage::kIndex)); }

    void awaitScan() {
        LocalLibrary& library = app->extras()->localLibrary();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !library.isScanning() && library.lastResult().finished; }, kWaitMs));
    }

    std::string songStartedBy(const std::function<void()>& action) {
        QSignalSpy started(&player(), &Player::songStarted);
        action();
        if (started.isEmpty() && !started.wait(kWaitMs)) return {};
        return started.takeLast().at(0).value<std::string>();
    }

    static TempDir* songs_;
    TempDir documents, program;
    RecordingServer listenBrainz;
    std::unique_ptr<Application> app;
};
TempDir* ListeningExtrasTest::songs_ = nullptr;

TEST_F(ListeningExtrasTest, TheFoldersSongsAreListedPlayedWithTheirLrcLyricsSearchedAndScrobbled) {
    awaitScan();
    QTreeWidget* list = localPage().songList();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(localPage().status()->text(), "共 2 首");

    // The settings page's button opens the page; a double-click plays a row.
    window().showPage(Pages::kSettings);
    window().findChild<QPushButton*>("按钮_本地音乐")->click();
    EXPECT_EQ(window().currentPage(), LocalMusicPage::kIndex);
    QTreeWidgetItem* row = list->findItems("本地之歌", Qt::MatchExactly).value(0);
    ASSERT_NE(row, nullptr);
    const std::string id = localSongId(songs_->file("lied.mp3"));
    EXPECT_EQ(songStartedBy([&] { emit list->itemDoubleClicked(row, 0); }), id);
    EXPECT_EQ(player().title(), "本地之歌");
    ASSERT_FALSE(player().lyrics().items().empty());
    EXPECT_TRUE(player().lyrics().items()[0].text.starts_with("第一句\r\nfirst"));
    EXPECT_EQ(player().queue().size(), 2) << "the songs listed are queued";

    // ListenBrainz hears of it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !listenBrainz.requests().empty(); }, kWaitMs));
    EXPECT_NE(listenBrainz.requests().front().body.find("本地之歌"), std::string::npos);
    EXPECT_EQ(listenBrainz.requests().front().header("Authorization"), "Token the-token");

    // A search lists the matching local songs beside the service's results.
    auto& search = *static_cast<SearchPage*>(window().page(Pages::kSearch));
    QLineEdit* box = window().toolbar()->searchBox();
    box->setText("another");
    QTest::keyClick(box, Qt::Key_Return);
    QListWidget* local = search.localSongList();
    ASSERT_EQ(local->count(), 1);
    EXPECT_TRUE(local->isVisibleTo(&search));
    EXPECT_EQ(local->item(0)->text(), "Another Tune - Someone");
    EXPECT_EQ(songStartedBy([&] { emit local->itemActivated(local->item(0)); }),
              localSongId(songs_->file("other.flac")));
    box->setText("no such song anywhere");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(local->count(), 0);
    EXPECT_FALSE(local->isVisibleTo(&search));
}

TEST_F(ListeningExtrasTest, AFolderAddedOrRemovedInTheFolderListIsKeptAndScannedAtOnce) {
    awaitScan();
    TempDir more;
    std::filesystem::copy_file(songs_->file("other.flac"), more.file("third.flac"));
    localPage().foldersButton()->click();
    LocalFoldersWindow* folders = app->extras()->foldersWindow();
    ASSERT_NE(folders, nullptr);
    ASSERT_EQ(folders->folderList()->count(), 1);
    const QString added = QString::fromStdString(more.path().string());
    folders->addFolder(added);
    folders->addFolder(added);  // a folder listed already is not added twice
    EXPECT_EQ(folders->folderList()->count(), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return localPage().songList()->topLevelItemCount() == 3; }, kWaitMs));

    folders->folderList()->setCurrentRow(0);
    folders->removeSelected();
    ASSERT_TRUE(QTest::qWaitFor([&] { return localPage().songList()->topLevelItemCount() == 1; }, kWaitMs));
    EXPECT_EQ(readMusicFolders(AppSettings(documents.file("Mivra Music/config/config.ini"))),
              std::vector<std::string>{more.path().string()});
}

TEST_F(ListeningExtrasTest, TheWindowsShortcutsActAndAChangedKeyActsAtOnceAndIsKept) {
    awaitScan();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    ASSERT_EQ(songStartedBy([&] { window().router().play(localSongId(songs_->file("lied.mp3"))); }),
              localSongId(songs_->file("lied.mp3")));
    player().appendToQueue({localSongId(songs_->file("other.flac"))});

    QWidget* pages = window().toolbar();
    QTest::keyClick(pages, Qt::Key_Space);
    EXPECT_FALSE(player().isPlaying());
    QTest::keyClick(pages, Qt::Key_Space);
    EXPECT_TRUE(player().isPlaying());

    const int volume = player().volume();
    QTest::keyClick(pages, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(player().volume(), std::min(100, volume + KeyboardControl::kVolumeStep));
    QTest::keyClick(pages, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(player().volume(), volume);

    QTest::keyClick(pages, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(window().toolbar()->searchBox()->hasFocus());
    QTest::keyClick(window().toolbar()->searchBox(), Qt::Key_Space);
    EXPECT_TRUE(player().isPlaying()) << "a space typed into the search box stays there";

    QWidget* view = window().nowPlayingView();
    QTest::keyClick(pages, Qt::Key_L, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->y() == MainWindow::kNowPlayingShownTop; }, kWaitMs));
    QTest::keyClick(pages, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->y() == MainWindow::kNowPlayingParkedTop; }, kWaitMs));

    EXPECT_EQ(songStartedBy([&] { QTest::keyClick(pages, Qt::Key_Right, Qt::ControlModifier); }),
              localSongId(songs_->file("other.flac")));

    // The "快捷键" box changes "下一首" to Ctrl+N: it acts at once and is kept.
    window().showPage(Pages::kSettings);
    window().findChild<QPushButton*>("按钮_快捷键")->click();
    ShortcutWindow* box = app->extras()->shortcutWindow();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->keyField(2, false)->keySequence(), QKeySequence("Ctrl+Right"));
    EXPECT_TRUE(box->unavailableLine()->isVisibleTo(box)) << "no X display here: global hotkeys are unavailable";
    box->chooseKey(2, false, "Ctrl+N");
    EXPECT_EQ(AppSettings(documents.file("Mivra Music/config/config.ini")).read("Shortcuts", "Next"), "Ctrl+N");
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    EXPECT_EQ(songStartedBy([&] { QTest::keyClick(pages, Qt::Key_N, Qt::ControlModifier); }),
              localSongId(songs_->file("lied.mp3")));
    EXPECT_EQ(app->extras()->keyboard().windowShortcut(2)->key(), QKeySequence("Ctrl+N"));
}

}  // namespace
