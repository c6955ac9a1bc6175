// The local music on the UI thread: scans on a task with progress, a
// change in a watched folder scanned by itself, a kill mid-scan.
#include "SongFiles.h"
#include "TempDir.h"
#include "local/LocalIndex.h"
#include "local/LocalLibrary.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr int kWaitMs = 20000;

class LocalLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir_.path() / "music");
        music_ = dir_.file("music");
        makeSongFiles(music_, {{"one.mp3", "One", "A", "", 1.0, false}, {"two.flac", "Two", "B", "", 1.0, false}});
    }

    // Copies of the two songs until the folder holds `count` files.
    void fillTo(int count) {
        for (int i = 2; i < count; ++i)
            fs::copy_file(music_ + (i % 2 ? "/one.mp3" : "/two.flac"),
                          music_ + "/copy" + std::to_string(i) + (i % 2 ? ".mp3" : ".flac"));
    }

    TempDir dir_;
    std::string music_;
};

TEST_F(LocalLibraryTest, AScanReportsProgressAndItsSongsAndAFileAddedLaterIsFoundByTheWatcher) {
    LocalLibrary library(dir_.file("index.sqlite"));
    QSignalSpy progress(&library, &LocalLibrary::scanProgress);
    QSignalSpy finished(&library, &LocalLibrary::scanFinished);
    library.setFolders({music_});
    EXPECT_TRUE(library.isScanning());
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, kWaitMs));
    EXPECT_FALSE(library.isScanning());
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last().at(0).toInt(), 2);
    EXPECT_EQ(progress.last().at(1).toInt(), 2);
    EXPECT_EQ(library.songs().size(), 2u);

    fs::copy_file(music_ + "/one.mp3", music_ + "/three.mp3");
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 2; }, kWaitMs));
    EXPECT_EQ(library.lastResult().read, 1);
    EXPECT_EQ(library.songs().size(), 3u);
    EXPECT_EQ(library.search("one").size(), 2u);
}

TEST_F(LocalLibraryTest, AScanAskedForWhileOneRunsFollowsItAndStoppingEndsItUnfinished) {
    fillTo(300);
    LocalLibrary library(dir_.file("index.sqlite"));
    QSignalSpy finished(&library, &LocalLibrary::scanFinished);
    library.setFolders({music_});
    library.scan();  // follows the first
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 2; }, kWaitMs));
    EXPECT_TRUE(library.lastResult().finished);
    EXPECT_EQ(library.lastResult().unchanged, 300);

    LocalLibrary fresh(dir_.file("index2.sqlite"));
    QSignalSpy freshFinished(&fresh, &LocalLibrary::scanFinished);
    fresh.setFolders({music_});
    fresh.stopScan();
    ASSERT_TRUE(QTest::qWaitFor([&] { return freshFinished.count() == 1; }, kWaitMs));
    EXPECT_FALSE(fresh.lastResult().finished);
    EXPECT_LT(fresh.lastResult().read, 300);
}

// A process killed at some point of a scan leaves an index SQLite finds
// sound, holding at least every batch it reported, and the next scan reads
// only the files that were not indexed yet.
TEST_F(LocalLibraryTest, AKillMidScanLeavesAUsableIndexWithWhatWasCommitted) {
    fillTo(1500);
    const std::string index = dir_.file("index.sqlite");
    QProcess child;
    child.start(MIVRA_SCAN_CHILD, {QString::fromStdString(index), QString::fromStdString(music_)});
    ASSERT_TRUE(child.waitForStarted());
    int reported = 0;
    while (reported == 0 && child.waitForReadyRead(kWaitMs)) {
        while (child.canReadLine()) {
            const QByteArray line = child.readLine();
            ASSERT_TRUE(line.startsWith("progress ")) << line.toStdString();
            reported = line.split(' ').at(1).toInt();
        }
    }
    ASSERT_GT(reported, 0);
    child.kill();
    ASSERT_TRUE(child.waitForFinished(kWaitMs));
    ASSERT_FALSE(child.readAllStandardOutput().contains("finished")) << "the scan ended before the kill";

    int indexed = 0;
    {
        const LocalIndex survivor(index);
        ASSERT_TRUE(survivor.isOpen());
        EXPECT_EQ(survivor.integrityCheck(), "ok");
        indexed = static_cast<int>(survivor.songs().size());
        EXPECT_GE(indexed, reported);
        EXPECT_LT(indexed, 1500);
    }
    const ScanResult again = scanFolders({music_}, index, {});
    EXPECT_TRUE(again.finished);
    EXPECT_EQ(again.unchanged, indexed);
    EXPECT_EQ(again.read, 1500 - indexed);
    EXPECT_EQ(LocalIndex(index).songs().size(), 1500u);
}

}  // namespace
