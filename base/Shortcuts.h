#pragma once
// The program's keyboard shortcuts: what each does, its key in the window
// and, for the player's controls, its global hotkey, kept in the settings
// file under [Shortcuts] as Qt's portable key text ("Ctrl+Left"); a key
// not kept there has its default, and an empty value means none.
#include "base/AppSettings.h"

#include <array>
#include <string>

enum class ShortcutAction { PlayPause, Previous, Next, VolumeUp, VolumeDown, Search, Lyrics, CloseNowPlaying };

struct ShortcutInfo {
    ShortcutAction action;
    const char* label;        // as the settings list it
    const char* settingsKey;  // the window key's; the global one's adds "Global"
    const char* windowDefault;
    const char* globalDefault;  // nullptr: the action has no global hotkey
};

inline constexpr int kShortcutCount = 8;
const std::array<ShortcutInfo, kShortcutCount>& shortcutTable();

struct Shortcuts {
    std::array<std::string, kShortcutCount> window;  // by table position
    std::array<std::string, kShortcutCount> global;  // empty where none

    static Shortcuts read(const AppSettings& settings);
    // Writes one key: the window's or the global one of table entry `index`.
    static bool write(const AppSettings& settings, int index, bool global, const std::string& key);
};
