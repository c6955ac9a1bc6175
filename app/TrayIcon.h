#pragma once
// The program's icon in the desktop's tray, where the desktop has one, with
// a menu in the cover menu's look: play/pause, previous, next, the song
// playing as a caption, showing the window and quitting. UI thread only.
#include <QObject>
#include <functional>
#include <memory>

class Player;
class QAction;
class QMenu;
class QSystemTrayIcon;

class TrayIcon : public QObject {
public:
    // `player` must outlive this object; the menu takes the look of `look`.
    TrayIcon(Player& player, const QMenu& look, std::function<void()> showWindow, std::function<void()> quit);
    ~TrayIcon() override;

    QMenu& menu() const { return *menu_; }
    // Shows the icon when the desktop offers a tray.
    void showIfAvailable();

private:
    void followPlayer();

    Player& player_;
    std::function<void()> showWindow_;
    std::unique_ptr<QMenu> menu_;
    QSystemTrayIcon* icon_;
    QAction* playPause_;
    QAction* song_;
};
