// Song ids of local files, the folders kept in the settings and the lyrics
// read from `.lrc` files.
#include "TempDir.h"
#include "local/LocalSong.h"
#include "local/LrcLyrics.h"
#include "local/MusicFolders.h"
#include "text/TextCodec.h"

#include <gtest/gtest.h>

#include <QStandardPaths>
#include <fstream>

namespace {

TEST(LocalSongIdTest, IdsAreStablePlainAndTellLocalSongsFromTheServices) {
    const std::string id = localSongId("/home/u/Music/a song.mp3");
    EXPECT_EQ(id, localSongId("/home/u/Music/a song.mp3"));
    EXPECT_NE(id, localSongId("/home/u/Music/a song.flac"));
    EXPECT_TRUE(id.starts_with("local_"));
    EXPECT_EQ(id.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_"), std::string::npos);
    EXPECT_TRUE(isLocalSongId(id));
    for (const char* other :
         {"186016", "", "local_", "local_xyz", "local_0123456789abcdef012", "local_0123456789ABCDEF0123"})
        EXPECT_FALSE(isLocalSongId(other)) << other;
}

TEST(MusicFoldersTest, TheMusicFolderIsTheDefaultAndAnyPathSurvivesTheSettingsFile) {
    TempDir dir;
    const AppSettings settings(dir.file("config.ini"));
    EXPECT_EQ(readMusicFolders(settings),
              std::vector<std::string>{QStandardPaths::writableLocation(QStandardPaths::MusicLocation).toStdString()});

    // Characters GBK lacks, spaces and percent signs come back as they were.
    const std::vector<std::string> folders = {"/home/u/음악 폴더", "/mnt/music 100%", "/srv/歌曲"};
    ASSERT_TRUE(writeMusicFolders(settings, folders));
    EXPECT_EQ(readMusicFolders(settings), folders);

    ASSERT_TRUE(writeMusicFolders(settings, {}));
    EXPECT_EQ(readMusicFolders(settings), std::vector<std::string>{});
}

TEST(LrcLyricsTest, LinesSplitIntoLyricAndTranslationInTimeOrder) {
    struct Case {
        const char* name;
        std::string text;
        std::string lyric, translation;
    };
    const Case cases[] = {
        {"plain", "[ti:Title]\n[ar:Someone]\n[00:01.00]one\n[00:03.50]two\n", "[00:01.00]one\n[00:03.50]two\n", ""},
        {"a second line at a time is its translation",
         "[00:01.00]hello\n[00:01.00]你好\n[00:02.00]bye\n[00:02.00]再见\n[00:04.00]no translation\n",
         "[00:01.00]hello\n[00:02.00]bye\n[00:04.00]no translation\n", "[00:01.00]你好\n[00:02.00]再见\n[00:04.00]\n"},
        {"several tags stand for each, in time order", "[00:05.00][00:01.00]chorus\n[00:03.00]verse\n",
         "[00:01.00]chorus\n[00:03.00]verse\n[00:05.00]chorus\n", ""},
        {"CRLF, a byte order mark and a missing last line break", "\xEF\xBB\xBF[00:01.00]a\r\n[00:02:30]b",
         "[00:01.00]a\n[00:02:30]b\n", ""},
        {"tags that are no times end the tags of a line", "[00:01.00]x[y]\n[0a:01.00]bad\n[00:61.00]bad\n",
         "[00:01.00]x[y]\n", ""},
        {"nothing", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LrcLyrics lyrics = parseLrc(c.text);
        EXPECT_EQ(lyrics.lyric, c.lyric);
        EXPECT_EQ(lyrics.translation, c.translation);
    }
}

TEST(LrcLyricsTest, TheFileBesideTheSongIsReadInUtf8OrGbk) {
    TempDir dir;
    std::ofstream(dir.file("歌.lrc"), std::ios::binary) << TextCodec::utf8ToGbk("[00:01.00]中文歌词\n");
    EXPECT_EQ(lyricsBeside(dir.file("歌.mp3")).lyric, "[00:01.00]中文歌词\n");
    std::ofstream(dir.file("song.v2.lrc"), std::ios::binary) << "[00:02.00]ünïcödé\n";
    EXPECT_EQ(lyricsBeside(dir.file("song.v2.flac")).lyric, "[00:02.00]ünïcödé\n");
    EXPECT_EQ(lyricsBeside(dir.file("none.mp3")).lyric, "");
}

}  // namespace
