// Downloading a song of the user's own: a copy of its file under a
// download's name, with its lyrics beside it, and what a missing song or
// file leaves behind.
#include "download/SongDownloader.h"

#include "api/CloudApiClient.h"
#include "local/LocalIndex.h"
#include "local/LrcLyrics.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <QSignalSpy>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

namespace fs = std::filesystem;

constexpr int kCopyTimeoutMs = 10000;

std::string contentsOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

class LocalSongCopyTest : public ::testing::Test {
protected:
    // A song file of the user's own, indexed, with `lyrics` beside it unless empty.
    DownloadRequest indexedSong(const std::string& fileName, const std::string& bytes, const std::string& lyrics) {
        const std::string path = music.file(fileName);
        std::ofstream(path, std::ios::binary) << bytes;
        if (!lyrics.empty()) std::ofstream(lrcPathBeside(path), std::ios::binary) << lyrics;
        LocalSong song;
        song.songId = localSongId(path);
        song.path = path;
        song.title = "夏日来信";
        song.artists = "林夏";
        song.size = std::int64_t(bytes.size());
        LocalIndex index(indexPath);
        EXPECT_TRUE(index.begin() && index.putSong(song) && index.commit());
        return {song.songId, "林夏", "夏日来信"};
    }

    // Everything in the download folder, hidden files included.
    std::set<std::string> savedFiles() const {
        std::set<std::string> names;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) names.insert(entry.path().filename().string());
        return names;
    }

    TempDir music, documents;
    const std::string indexPath = documents.file("local/index.sqlite");
    const std::string folder = documents.file("downnload");
    std::atomic<int> percentage{0};
};

TEST_F(LocalSongCopyTest, TheSongIsCopiedAsItIsUnderADownloadsNameWithItsLyricsBeside) {
    const std::string audio("OggS\0\x01binary audio\xff", 20);
    const std::string lyrics = "[00:01.00]晚风吹过安静的街\n";
    const DownloadRequest song = indexedSong("track 01.OGG", audio, lyrics);

    const DownloadResult result = copyLocalSong(song, indexPath, folder, percentage);
    ASSERT_TRUE(result.complete);
    EXPECT_EQ(result.filePath, (fs::path(folder) / "林夏-夏日来信.ogg").string());
    EXPECT_EQ(contentsOf(result.filePath), audio);
    EXPECT_EQ(contentsOf(lrcPathBeside(result.filePath)), lyrics) << "where the program looks for its lyrics";
    EXPECT_EQ(percentage.load(), 100);
    EXPECT_EQ(savedFiles(), (std::set<std::string>{"林夏-夏日来信.ogg", "林夏-夏日来信.lrc"}));
    EXPECT_EQ(contentsOf(music.file("track 01.OGG")), audio) << "the user's file stays as it was";
}

TEST_F(LocalSongCopyTest, WithoutLyricsOnlyTheSongIsCopiedAndAMissingSongOrFileLeavesNothing) {
    const DownloadRequest plain = indexedSong("plain.flac", "fLaC audio", "");
    ASSERT_TRUE(copyLocalSong(plain, indexPath, folder, percentage).complete);
    EXPECT_EQ(savedFiles(), std::set<std::string>{"林夏-夏日来信.flac"});

    fs::remove_all(folder);
    const DownloadRequest gone = indexedSong("gone.mp3", "ID3 audio", "[00:01.00]x\n");
    fs::remove(music.file("gone.mp3"));
    const DownloadRequest unknown{localSongId(music.file("never-indexed.mp3")), "林夏", "夏日来信"};
    for (const DownloadRequest& song : {gone, unknown}) {
        SCOPED_TRACE(song.songId);
        EXPECT_FALSE(copyLocalSong(song, indexPath, folder, percentage).complete);
        EXPECT_EQ(savedFiles(), std::set<std::string>{}) << "no song, no lyrics, no scratch file";
    }
}

// The downloader the cover menu uses tells a song of the user's own by its
// id and copies it, never asking the service.
TEST_F(LocalSongCopyTest, TheDownloaderCopiesTheUsersOwnSongsFromTheIndexItWasGiven) {
    const CloudApiClient nowhere(ServiceHosts::allAt("http://127.0.0.1:9"));
    SongDownloader downloader(nowhere, folder);
    const DownloadRequest song = indexedSong("song.mp3", "ID3 audio", "[00:01.00]x\n");
    QSignalSpy completed(&downloader, &SongDownloader::completed);
    QSignalSpy failed(&downloader, &SongDownloader::failed);

    ASSERT_EQ(downloader.start(song), SongDownloader::Start::Started);
    ASSERT_TRUE(failed.wait(kCopyTimeoutMs)) << "without the index the song cannot be found";
    EXPECT_EQ(savedFiles(), std::set<std::string>{});

    downloader.copyLocalSongsFrom(indexPath);
    ASSERT_EQ(downloader.start(song), SongDownloader::Start::Started);
    ASSERT_TRUE(completed.wait(kCopyTimeoutMs));
    EXPECT_EQ(completed.at(0).at(0).toString().toStdString(), (fs::path(folder) / "林夏-夏日来信.mp3").string());
    EXPECT_EQ(downloader.percentage(), 100);
    EXPECT_EQ(savedFiles(), (std::set<std::string>{"林夏-夏日来信.mp3", "林夏-夏日来信.lrc"}));
}

}  // namespace
