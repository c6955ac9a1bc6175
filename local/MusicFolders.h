#pragma once
// The folders whose songs the local music holds, kept in the settings file
// under [Local] Folders as file URLs (percent-encoded, so any path survives
// the file's GBK text) separated by spaces. Without that key the user's
// music folder (XDG_MUSIC_DIR) is the one folder; an empty value means none.
#include "base/AppSettings.h"

#include <string>
#include <vector>

std::vector<std::string> readMusicFolders(const AppSettings& settings);
bool writeMusicFolders(const AppSettings& settings, const std::vector<std::string>& folders);
