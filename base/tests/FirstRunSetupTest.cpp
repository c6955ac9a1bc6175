#include "base/AppSettings.h"
#include "base/FirstRunSetup.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <chrono>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class FirstRunSetupTest : public ::testing::Test {
protected:
    TempDir documents;
    TempDir program;
    AppPaths paths = makeAppPaths(documents.path().string());
    AppSettings settings{paths.settingsPath};
};

TEST_F(FirstRunSetupTest, PathsLiveInTheProductFolderOfTheDocumentsFolder) {
    AppPaths p = makeAppPaths("/home/u/Documents");
    EXPECT_EQ(p.dataFolder, "/home/u/Documents/Mivra Music/");
    EXPECT_EQ(p.settingsPath, "/home/u/Documents/Mivra Music/config/config.ini");
    EXPECT_EQ(p.downloadFolder, "/home/u/Documents/Mivra Music/downnload/");
    EXPECT_EQ(makeAppPaths("/home/u/Documents/").dataFolder, "/home/u/Documents/Mivra Music/");
}

TEST_F(FirstRunSetupTest, FirstStartCreatesPrivateFoldersAndEveryDefault) {
    EXPECT_EQ(firstRunSetup(paths, program.path().string()), "");

    for (const fs::path& folder : {fs::path(paths.dataFolder), fs::path(paths.dataFolder) / "config"}) {
        struct stat info {};
        ASSERT_EQ(stat(folder.c_str(), &info), 0) << folder;
        EXPECT_EQ(info.st_mode & 0777, 0700u) << folder;
    }
    struct Row {
        const char* section;
        const char* key;
        const char* value;
    };
    for (Row row :
         {Row{"Music", "Mode", "Circulate"}, Row{"Music", "Volume", "20"}, Row{"Setting", "Typeface", "微软雅黑"},
          Row{"Setting", "Style", "加粗"}, Row{"Setting", "Quality", "极高"}, Row{"Setting", "Gradual", "无"},
          Row{"Setting", "Color1", "-1499549"}, Row{"Setting", "Color2", "-10720320"},
          Row{"Data", "Name", "Mivra Music"}, Row{"Data", "Ver", "Beta V1.1.4"},
          // Nothing was updated for a new user, so no changelog greets them.
          Row{"Data", "UpDateLog", "flase"}}) {
        EXPECT_EQ(settings.read(row.section, row.key, "<missing>"), row.value) << row.section << "/" << row.key;
    }
}

TEST_F(FirstRunSetupTest, SecondStartKeepsChangedValuesAndRewritesNameAndVersion) {
    firstRunSetup(paths, program.path().string());
    settings.write("Music", "Mode", "Random");
    settings.write("Data", "Ver", "old");
    settings.write("User", "Cookie", "MUSIC_U=1; __csrf=2");
    settings.write("Data", "UpDateLog", "true");  // an update was handed over

    EXPECT_EQ(firstRunSetup(paths, program.path().string()), "MUSIC_U=1; __csrf=2");
    EXPECT_EQ(settings.read("Music", "Mode"), "Random");
    EXPECT_EQ(settings.read("Data", "Ver"), "Beta V1.1.4");
    EXPECT_EQ(settings.read("Data", "UpDateLog"), "true") << "the log after an update still shows";
}

TEST_F(FirstRunSetupTest, DeletedFileIsRecreatedWithDefaults) {
    firstRunSetup(paths, program.path().string());
    settings.write("Music", "Volume", "55");
    fs::remove(paths.settingsPath);
    firstRunSetup(paths, program.path().string());
    EXPECT_EQ(settings.read("Music", "Volume"), "20");
}

TEST_F(FirstRunSetupTest, LeftOverUpdaterFileIsRemovedButAFolderOfThatNameIsNot) {
    std::ofstream(program.file("MivraUpDate.exe")) << "old updater";
    firstRunSetup(paths, program.path().string());
    EXPECT_FALSE(fs::exists(program.file("MivraUpDate.exe")));

    fs::create_directory(program.file("MivraUpDate.exe"));
    firstRunSetup(paths, program.path().string());
    EXPECT_TRUE(fs::is_directory(program.file("MivraUpDate.exe")));
}

// Writes killed between writing their scratch file and renaming it leave
// the file behind; the next start clears the old ones and nothing else.
TEST_F(FirstRunSetupTest, AbandonedScratchFilesOfTheSettingsAreRemoved) {
    firstRunSetup(paths, program.path().string());
    const fs::path config = fs::path(paths.settingsPath).parent_path();
    struct Case {
        const char* name;
        bool old;
        bool removed;
    };
    const Case cases[] = {
        {"config.ini.a1B2c3", true, true}, {"config.ini.Zz9Yy8", false, false},  // a write that may still be at work
        {"config.ini.bak", true, false},   {"other.ini.a1B2c3", true, false},   {"config.ini.a1B2c3d", true, false},
    };
    for (const Case& c : cases) {
        std::ofstream(config / c.name) << "x";
        if (c.old) fs::last_write_time(config / c.name, fs::file_time_type::clock::now() - std::chrono::minutes(5));
    }
    firstRunSetup(paths, program.path().string());
    for (const Case& c : cases) EXPECT_EQ(fs::exists(config / c.name), !c.removed) << c.name;
    EXPECT_EQ(AppSettings(paths.settingsPath).read("Data", "Name"), "Mivra Music");
}

}  // namespace
