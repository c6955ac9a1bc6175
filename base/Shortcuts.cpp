#include "base/Shortcuts.h"

namespace {

constexpr const char* kSection = "Shortcuts";
constexpr const char* kMissing = "\x01";  // never a stored value: tells a missing key from an empty one

const std::array<ShortcutInfo, kShortcutCount> kTable = {{
    {ShortcutAction::PlayPause, "播放/暂停", "PlayPause", "Space", "Ctrl+Alt+P"},
    {ShortcutAction::Previous, "上一首", "Previous", "Ctrl+Left", "Ctrl+Alt+Left"},
    {ShortcutAction::Next, "下一首", "Next", "Ctrl+Right", "Ctrl+Alt+Right"},
    {ShortcutAction::VolumeUp, "音量加", "VolumeUp", "Ctrl+Up", "Ctrl+Alt+Up"},
    {ShortcutAction::VolumeDown, "音量减", "VolumeDown", "Ctrl+Down", "Ctrl+Alt+Down"},
    {ShortcutAction::Search, "搜索框", "Search", "Ctrl+F", nullptr},
    {ShortcutAction::Lyrics, "歌词页", "Lyrics", "Ctrl+L", nullptr},
    {ShortcutAction::CloseNowPlaying, "关闭播放页", "CloseNowPlaying", "Esc", nullptr},
}};

std::string stored(const AppSettings& settings, const std::string& key, const char* fallback) {
    const std::string value = settings.read(kSection, key, kMissing);
    return value == kMissing ? std::string(fallback ? fallback : "") : value;
}

}  // namespace

const std::array<ShortcutInfo, kShortcutCount>& shortcutTable() { return kTable; }

Shortcuts Shortcuts::read(const AppSettings& settings) {
    Shortcuts shortcuts;
    for (size_t i = 0; i < kTable.size(); ++i) {
        shortcuts.window[i] = stored(settings, kTable[i].settingsKey, kTable[i].windowDefault);
        if (kTable[i].globalDefault)
            shortcuts.global[i] =
                stored(settings, std::string("Global") + kTable[i].settingsKey, kTable[i].globalDefault);
    }
    return shortcuts;
}

bool Shortcuts::write(const AppSettings& settings, int index, bool global, const std::string& key) {
    if (index < 0 || index >= kShortcutCount || (global && !kTable[size_t(index)].globalDefault)) return false;
    const std::string name = std::string(global ? "Global" : "") + kTable[size_t(index)].settingsKey;
    return settings.write(kSection, name, key);
}
