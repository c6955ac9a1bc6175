// The saved song's name and the percentage a download shows.
#include "download/DownloadProgress.h"
#include "download/SongFileName.h"

#include <gtest/gtest.h>

namespace {

TEST(SongFileNameTest, TheStreamUrlChoosesTheExtension) {
    struct Row {
        const char* url;
        const char* name;
    };
    for (Row row : {Row{"http://m/1.flac", "A-B.flac"}, Row{"http://m/1-lossless.flac?x=1", "A-B.flac"},
                    Row{"http://m/flac/1.mp3", "A-B.flac"}, Row{"http://m/1.FLAC", "A-B.mp3"},
                    Row{"http://m/1.m4a", "A-B.mp3"}, Row{"", "A-B.mp3"}})
        EXPECT_EQ(songFileName("A", "B", row.url), row.name) << row.url;
}

TEST(SongFileNameTest, ACopyOfTheUsersOwnSongKeepsItsFilesExtension) {
    struct Row {
        const char* path;
        const char* name;
    };
    for (Row row :
         {Row{"/music/x.flac", "A-B.flac"}, Row{"/music/x.OGG", "A-B.ogg"}, Row{"/music/live.2024/x.m4a", "A-B.m4a"},
          Row{"/music/live.2024/x", "A-B"}, Row{"/music/.hidden", "A-B"}, Row{"/music/x.mp3:evil", "A-B"},
          Row{"/music/x.a/b", "A-B"}, Row{"x.opus", "A-B.opus"}})
        EXPECT_EQ(localSongFileName("A", "B", row.path), row.name) << row.path;
    EXPECT_EQ(localSongFileName("AC/DC", "../x", "/m/y.mp3"), songFileName("AC/DC", "../x", "http://m/1.mp3"))
        << "the artist and title are made safe as a download's";
}

TEST(SongFileNameTest, NamesStayInsideTheirFolderOnAnyDrive) {
    struct Row {
        std::string artist, title, name;
    };
    const Row rows[] = {
        {"AC/DC", "../x", "AC_DC-.._x.mp3"},
        {"..", "", "-.mp3"},
        {"", "..", "-.mp3"},
        {"a\\b", "c:d", "a_b-c_d.mp3"},
        {"<>\"|?*", "t", "______-t.mp3"},
        {std::string("a\0b", 3), "t\x01\x1F\x7F", "a_b-t___.mp3"},
        {" .. 林夏", "夏日来信 . ", "林夏-夏日来信.mp3"},
        {"Zoë", "Café Lumière", "Zoë-Café Lumière.mp3"},
    };
    for (const Row& row : rows) EXPECT_EQ(songFileName(row.artist, row.title, "http://m/1.mp3"), row.name) << row.name;
    EXPECT_EQ(safeFileName(". .", ".mp3"), "_.mp3");
    EXPECT_EQ(safeFileName("", ".flac"), "_.flac");
}

TEST(SongFileNameTest, LongNamesAreCutAtACharacterKeepingTheExtension) {
    // 100 three-byte characters after "A-": 250 bytes are left for the stem,
    // so the cut falls inside the 83rd character, which goes whole.
    std::string title;
    for (int i = 0; i < 100; ++i) title += "夏";
    const std::string name = songFileName("A", title, "http://m/1.flac");
    EXPECT_LE(name.size(), kMaxFileNameBytes);
    EXPECT_EQ(name, "A-" + title.substr(0, 82 * 3) + ".flac");

    const std::string dotted = safeFileName(std::string(250, 'a') + " ....", ".mp3");
    EXPECT_EQ(dotted, std::string(250, 'a') + ".mp3") << "no dot or space is left before the extension";
}

TEST(DownloadProgressTest, PercentCountsIn64BitsAndReaches100OnlyOnceSaved) {
    struct Row {
        std::int64_t received, total;
        int previous, percent;
    };
    const Row rows[] = {
        {0, 1000, 0, 0},
        {999, 1000, 0, 99},
        {1000, 1000, 0, 99},
        {1500, 1000, 0, 99},
        {3'000'000'000, 4'000'000'000, 0, 75},
        {5'000'000'000'000, 10'000'000'000'000, 0, 50},
        {500, 0, 42, 42},
        {500, -1, 7, 7},
    };
    for (const Row& row : rows)
        EXPECT_EQ(downloadPercent(row.received, row.total, row.previous), row.percent)
            << row.received << " of " << row.total;
}

}  // namespace
