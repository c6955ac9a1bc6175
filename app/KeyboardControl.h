#pragma once
// The keyboard: the shortcuts of the main window (play/pause, previous,
// next, volume, the search box, the lyrics view and closing it) and the
// global hotkeys of the player's controls, both from the settings; a
// change in the "快捷键" box applies at once.
//
// Threads: the UI thread only.
#include "base/AppSettings.h"
#include "base/Shortcuts.h"
#include "desktop/GlobalHotkeys.h"

#include <QObject>
#include <QPointer>
#include <array>

class MainWindow;
class Player;
class QShortcut;
class ShortcutWindow;

class KeyboardControl : public QObject {
public:
    static constexpr int kVolumeStep = 10;

    KeyboardControl(MainWindow& window, Player& player, AppSettings settings);

    // Does what the shortcut of `action` does.
    void run(ShortcutAction action);
    // One shortcut was changed in the "快捷键" box (already written).
    void rebind(int index, bool global, const QString& key);
    // Shows in `box` what keeps global hotkeys from working, and follows its changes.
    void attach(ShortcutWindow& box);

    QShortcut* windowShortcut(int index) const { return windowKeys_.at(size_t(index)); }
    GlobalHotkeys& globalHotkeys() { return global_; }

private:
    void bindGlobal(int index, const std::string& key);
    // The box shows whether global hotkeys can be had and what keeps each
    // from working.
    void showGlobalState();

    MainWindow& window_;
    Player& player_;
    AppSettings settings_;
    GlobalHotkeys global_;
    std::array<QShortcut*, kShortcutCount> windowKeys_{};
    QPointer<ShortcutWindow> box_;
};
