#pragma once
// What the program adds to listening beyond the service: the user's own
// music (the local library, its page and folders), the keyboard (window
// shortcuts, global hotkeys, the "快捷键" box) and scrobbling, created and
// wired to the player and the main window in one place.
//
// Threads: the UI thread only.
#include "base/AppSettings.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>

class KeyboardControl;
class LocalFoldersWindow;
class LocalLibrary;
class MainWindow;
class Player;
class ScrobbleFeed;
class ScrobbleSettingsWindow;
class Scrobbler;
class SettingsPage;
class ShortcutWindow;

class ListeningExtras : public QObject {
public:
    // The local index and the scrobble queue live in `dataFolder`.
    ListeningExtras(MainWindow& window, Player& player, SettingsPage& settingsPage, AppSettings settings,
                    const std::string& dataFolder);
    ~ListeningExtras() override;

    void openShortcuts();
    void openLocalFolders();
    void openScrobbleSettings();

    LocalLibrary& localLibrary() const { return *library_; }
    Scrobbler& scrobbler() const { return *scrobbler_; }
    KeyboardControl& keyboard() const { return *keyboard_; }
    // The windows while open.
    ShortcutWindow* shortcutWindow() const;
    LocalFoldersWindow* foldersWindow() const;

private:
    MainWindow& window_;
    const AppSettings settings_;
    std::unique_ptr<LocalLibrary> library_;
    std::unique_ptr<Scrobbler> scrobbler_;
    std::unique_ptr<ScrobbleFeed> feed_;
    std::unique_ptr<KeyboardControl> keyboard_;
    QPointer<ShortcutWindow> shortcuts_;                 // destroys itself when closed
    QPointer<LocalFoldersWindow> folders_;               // destroys itself when closed
    QPointer<ScrobbleSettingsWindow> scrobbleSettings_;  // destroys itself when closed
};
