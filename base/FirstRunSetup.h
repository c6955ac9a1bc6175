#pragma once
// Preparing the data folder and the settings file at every start.
#include <string>

struct AppPaths {
    std::string dataFolder;      // documents folder + "/Mivra Music/"
    std::string settingsPath;    // dataFolder + "config/config.ini"
    std::string downloadFolder;  // dataFolder + "downnload/", the program's own spelling
};

// The data folder and settings path under the given documents folder.
AppPaths makeAppPaths(const std::string& documentsFolder);

// Creates the data and config folders (private to the user), removes a
// left-over updater file beside the program, writes the default settings when
// the file is missing (with the update log marked as seen, so a first start
// does not greet the user with a changelog), records the product name and version, and returns the
// stored account cookie.
std::string firstRunSetup(const AppPaths& paths, const std::string& programFolder);
