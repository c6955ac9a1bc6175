#include "base/FirstRunSetup.h"

#include "base/AppSettings.h"
#include "base/ProductInfo.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Creates a folder readable only by the user; an existing folder is left as it is.
void createPrivateFolder(const fs::path& folder) {
    std::error_code ignored;
    if (fs::create_directories(folder, ignored))
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ignored);
}

}  // namespace

AppPaths makeAppPaths(const std::string& documentsFolder) {
    std::string dataFolder = documentsFolder;
    if (dataFolder.empty() || dataFolder.back() != '/') dataFolder += '/';
    dataFolder += kProductName;
    dataFolder += '/';
    return {dataFolder, dataFolder + "config/config.ini", dataFolder + "downnload/"};
}

std::string firstRunSetup(const AppPaths& paths, const std::string& programFolder) {
    createPrivateFolder(paths.dataFolder);
    createPrivateFolder(fs::path(paths.dataFolder) / "config");

    std::error_code ignored;
    fs::path updater = fs::path(programFolder) / "MivraUpDate.exe";
    if (fs::is_regular_file(updater, ignored)) fs::remove(updater, ignored);

    AppSettings settings(paths.settingsPath);
    settings.removeAbandonedScratchFiles();
    if (!fs::exists(paths.settingsPath, ignored)) {
        settings.writeDefaults();
        // A brand-new user has had no update to be told about: the update
        // log waits for the first update (which sets it back to "true").
        settings.write("Data", "UpDateLog", "flase");
    }
    // Written only when they differ: every write waits for the disk.
    if (settings.read("Data", "Name") != kProductName) settings.write("Data", "Name", kProductName);
    if (settings.read("Data", "Ver") != kProductVersion) settings.write("Data", "Ver", kProductVersion);
    return settings.read("User", "Cookie");
}
