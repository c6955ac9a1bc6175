// The scan of song folders into the index: what it reads, what it skips,
// what it lists as unreadable and what leaves the index.
#include "SongFiles.h"
#include "TempDir.h"
#include "local/FolderScan.h"
#include "local/LocalIndex.h"
#include "local/SongTags.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class LocalScanTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempDir;
        fs::create_directories(folder_->path() / "music" / "sub");
        makeSongFiles(folder_->file("music"), {{"tagged.mp3", "Song One", "Artist A", "Album X", 1.0, true},
                                               {"sub/second.flac", "第二首歌", "歌手乙", "专辑", 2.0, false},
                                               {"untitled.mp3", "", "Artist B", "", 1.0, false}});
        writeFile(folder_->file("music/broken.mp3"), "this is not audio at all");
        writeFile(folder_->file("music/empty.flac"), "");
        writeFile(folder_->file("music/notes.txt"), "not a song file name");
    }
    static void TearDownTestSuite() { delete folder_; }

    // A fresh copy of the song folder and an index of its own for each case.
    void SetUp() override {
        fs::copy(folder_->path() / "music", work_.path() / "music", fs::copy_options::recursive);
        music_ = work_.file("music");
        index_ = work_.file("index/local.sqlite");
    }

    ScanResult scan(const std::vector<std::string>& folders) { return scanFolders(folders, index_, {}); }
    ScanResult scan() { return scan({music_}); }
    std::vector<LocalSong> songs() const { return LocalIndex(index_).songs(); }

    static TempDir* folder_;
    TempDir work_;
    std::string music_, index_;
};
TempDir* LocalScanTest::folder_ = nullptr;

const LocalSong* byTitle(const std::vector<LocalSong>& songs, const std::string& title) {
    auto found = std::find_if(songs.begin(), songs.end(), [&](const LocalSong& s) { return s.title == title; });
    return found == songs.end() ? nullptr : &*found;
}

TEST_F(LocalScanTest, FirstScanIndexesTagsAndDurationAndNamesUntitledFilesByTheirName) {
    const ScanResult result = scan();
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.total, 5);  // the text file is no song file
    EXPECT_EQ(result.read, 5);
    EXPECT_EQ(result.unchanged, 0);

    const std::vector<LocalSong> indexed = songs();
    ASSERT_EQ(indexed.size(), 3u);
    struct Expected {
        std::string title, artists, album, file;
        std::int64_t durationMs;
    };
    for (const Expected& e : {Expected{"Song One", "Artist A", "Album X", "tagged.mp3", 1000},
                              Expected{"第二首歌", "歌手乙", "专辑", "sub/second.flac", 2000},
                              Expected{"untitled", "Artist B", "", "untitled.mp3", 1000}}) {
        SCOPED_TRACE(e.title);
        const LocalSong* song = byTitle(indexed, e.title);
        ASSERT_NE(song, nullptr);
        EXPECT_EQ(song->artists, e.artists);
        EXPECT_EQ(song->album, e.album);
        EXPECT_EQ(song->path, music_ + "/" + e.file);
        EXPECT_EQ(song->songId, localSongId(song->path));
        EXPECT_NEAR(static_cast<double>(song->durationMs), static_cast<double>(e.durationMs), 120.0);
    }
}

TEST_F(LocalScanTest, UnreadableFilesAreListedOnceEachScanAndNotReadAgainWhileUnchanged) {
    const std::vector<std::string> expected = {music_ + "/broken.mp3", music_ + "/empty.flac"};
    EXPECT_EQ(scan().unreadable, expected);
    const ScanResult again = scan();
    EXPECT_EQ(again.unreadable, expected);
    EXPECT_EQ(again.read, 0);
    EXPECT_EQ(LocalIndex(index_).unreadable(), expected);
}

TEST_F(LocalScanTest, UnchangedRescanReadsNothingAndAChangedFileIsReadAgain) {
    scan();
    EXPECT_EQ(scan().read, 0);

    // The broken file becomes a real song: its new size is noticed.
    fs::copy_file(music_ + "/tagged.mp3", music_ + "/broken.mp3", fs::copy_options::overwrite_existing);
    // Only the modification time changes: the file is read again too.
    fs::last_write_time(music_ + "/untitled.mp3",
                        fs::last_write_time(music_ + "/untitled.mp3") + std::chrono::seconds(5));
    const ScanResult result = scan();
    EXPECT_EQ(result.read, 2);
    EXPECT_EQ(result.unchanged, 3);
    EXPECT_EQ(result.unreadable, std::vector<std::string>{music_ + "/empty.flac"});
    EXPECT_EQ(songs().size(), 4u);
}

TEST_F(LocalScanTest, FilesGoneAndFoldersNoLongerWatchedLeaveTheIndexButAnUnreachableFolderKeepsItsSongs) {
    const std::string other = work_.file("other");
    fs::create_directories(other);
    fs::copy_file(music_ + "/tagged.mp3", other + "/copy.mp3");
    scan({music_, other});
    ASSERT_EQ(songs().size(), 4u);

    fs::remove(music_ + "/untitled.mp3");
    EXPECT_EQ(scan({music_, other}).removed, 1);
    EXPECT_EQ(songs().size(), 3u);

    // A watched folder that cannot be entered (a disk not mounted) keeps its songs.
    fs::rename(other, other + "-away");
    EXPECT_EQ(scan({music_, other}).removed, 0);
    EXPECT_EQ(songs().size(), 3u);

    // Once no longer watched, its songs go.
    const ScanResult unwatched = scan({music_});
    EXPECT_EQ(unwatched.removed, 1);
    EXPECT_EQ(songs().size(), 2u);
}

TEST_F(LocalScanTest, SearchMatchesTitleArtistOrAlbumIgnoringCaseAndTakesWildcardsLiterally) {
    scan();
    const LocalIndex index(index_);
    struct Case {
        std::string keyword;
        std::vector<std::string> titles;
    };
    for (const Case& c : {Case{"song one", {"Song One"}}, Case{"ARTIST", {"Song One", "untitled"}},
                          Case{"album x", {"Song One"}}, Case{"歌手", {"第二首歌"}}, Case{"专辑", {"第二首歌"}},
                          Case{"%", {}}, Case{"_", {}}, Case{"", {}}, Case{"nothing like it", {}}}) {
        SCOPED_TRACE(c.keyword);
        std::vector<std::string> titles;
        for (const LocalSong& song : index.search(c.keyword)) titles.push_back(song.title);
        EXPECT_EQ(titles, c.titles);
    }
}

TEST_F(LocalScanTest, SongsAreFoundByIdAndTheCoverIsReadFromTheFile) {
    scan();
    const LocalIndex index(index_);
    const std::optional<LocalSong> song = index.song(localSongId(music_ + "/tagged.mp3"));
    ASSERT_TRUE(song);
    EXPECT_EQ(song->title, "Song One");
    EXPECT_FALSE(index.song(localSongId(music_ + "/broken.mp3")));  // unreadable: nothing to play

    EXPECT_TRUE(readEmbeddedCover(song->path).starts_with("\x89PNG"));
    EXPECT_EQ(readEmbeddedCover(music_ + "/untitled.mp3"), "");
    EXPECT_EQ(readEmbeddedCover(music_ + "/broken.mp3"), "");
}

TEST_F(LocalScanTest, AnIndexThatCannotBeCreatedEndsTheScanUnfinished) {
    writeFile(work_.file("blocked"), "a file where the index folder should be");
    const ScanResult result = scanFolders({music_}, work_.file("blocked/local.sqlite"), {});
    EXPECT_FALSE(result.finished);
    EXPECT_EQ(result.read, 0);
}

}  // namespace
