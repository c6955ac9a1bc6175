#include "base/AppSettings.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

void writeFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

class AppSettingsTest : public ::testing::Test {
protected:
    TempDir dir;
    AppSettings settings{dir.file("config.ini")};
};

TEST_F(AppSettingsTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(settings.read("Music", "Mode", "fallback"), "fallback");
    writeFile(settings.path(), "[Music]\nMode=List\n");
    EXPECT_EQ(settings.read("Music", "Volume", "20"), "20");
    EXPECT_EQ(settings.read("Other", "Mode", "x"), "x");
    EXPECT_EQ(settings.read("Music", "Mode", "x"), "List");
}

TEST_F(AppSettingsTest, EmptyPathSectionOrKeyReadsEmpty) {
    writeFile(settings.path(), "[Music]\nMode=List\n");
    EXPECT_EQ(AppSettings("").read("Music", "Mode", "d"), "");
    EXPECT_EQ(settings.read("", "Mode", "d"), "");
    EXPECT_EQ(settings.read("Music", "", "d"), "");
}

TEST_F(AppSettingsTest, NamesMatchWithoutRegardToCase) {
    ASSERT_TRUE(settings.write("User", "Cookie", "MUSIC_U=abc"));
    EXPECT_EQ(settings.read("user", "COOKIE"), "MUSIC_U=abc");
    ASSERT_TRUE(settings.write("User", "cookie", ""));
    EXPECT_EQ(settings.read("User", "Cookie", "default"), "");
    EXPECT_EQ(fileBytes(settings.path()), "[User]\ncookie=\n") << "one entry, replaced";
}

TEST_F(AppSettingsTest, SpacesAroundKeysAndValuesAreNotPartOfThem) {
    writeFile(settings.path(), "[Music]\r\n  Mode  =  List  \r\n");
    EXPECT_EQ(settings.read("Music", "Mode"), "List");
}

TEST_F(AppSettingsTest, WritingOneKeyKeepsEveryOtherLine) {
    writeFile(settings.path(), "; remembered by hand\n[Music]\nMode=List\nVolume=30\n\n[Unknown]\nx = 1\n");
    ASSERT_TRUE(settings.write("Music", "Mode", "Random"));
    ASSERT_TRUE(settings.write("Music", "Extra", "1"));
    ASSERT_TRUE(settings.write("New", "Key", "v"));
    EXPECT_EQ(fileBytes(settings.path()),
              "; remembered by hand\n[Music]\nMode=Random\nVolume=30\nExtra=1\n\n[Unknown]\nx = 1\n"
              "[New]\nKey=v\n");
}

TEST_F(AppSettingsTest, TextIsStoredAsGbkAndReadBackAsUtf8) {
    ASSERT_TRUE(settings.write("Setting", "Typeface", "微软雅黑"));
    EXPECT_EQ(fileBytes(settings.path()), "[Setting]\nTypeface=\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA\n");
    EXPECT_EQ(settings.read("Setting", "Typeface"), "微软雅黑");
}

TEST_F(AppSettingsTest, ValuesAreCutAt10239Bytes) {
    ASSERT_TRUE(settings.write("Data", "Long", std::string(20000, 'x')));
    EXPECT_EQ(settings.read("Data", "Long"), std::string(AppSettings::kMaxValueBytes, 'x'));
    // A two-byte character that would straddle the limit is left out whole.
    ASSERT_TRUE(settings.write("Data", "Long", std::string(10238, 'x') + "中"));
    EXPECT_EQ(settings.read("Data", "Long"), std::string(10238, 'x'));
}

TEST_F(AppSettingsTest, TheFileIsPrivateToTheUser) {
    ASSERT_TRUE(settings.write("User", "Cookie", "secret"));
    struct stat info {};
    ASSERT_EQ(stat(settings.path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(AppSettingsTest, AWriteReplacesTheFileInsteadOfRewritingItInPlace) {
    ASSERT_TRUE(settings.write("Music", "Mode", "List"));
    std::string before = fileBytes(settings.path());
    // A reader holding the old file (here: a second link to it) never sees a half-written file.
    std::string oldLink = dir.file("old.ini");
    ASSERT_EQ(link(settings.path().c_str(), oldLink.c_str()), 0);
    ASSERT_TRUE(settings.write("Music", "Mode", "Random"));
    EXPECT_EQ(fileBytes(oldLink), before);
    EXPECT_EQ(settings.read("Music", "Mode"), "Random");
}

TEST_F(AppSettingsTest, AFailedWriteLeavesTheOldFileIntact) {
    ASSERT_TRUE(settings.write("Music", "Mode", "List"));
    std::string before = fileBytes(settings.path());

    // Simulate a full disk: no file of this process may grow past 64 bytes.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    bool written = settings.write("Music", "Mode", std::string(1000, 'y'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(fileBytes(settings.path()), before);
    size_t files = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1u) << "the temporary file is removed";
}

TEST_F(AppSettingsTest, WriteDefaultsWritesTheEightKeysInOrder) {
    settings.writeDefaults();
    EXPECT_EQ(fileBytes(settings.path()),
              "[Music]\nMode=Circulate\nVolume=20\n"
              "[Setting]\nTypeface=\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA\nStyle=\xBC\xD3\xB4\xD6\n"
              "Quality=\xBC\xAB\xB8\xDF\nGradual=\xCE\xDE\nColor1=-1499549\nColor2=-10720320\n");
}

}  // namespace
