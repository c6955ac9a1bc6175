#pragma once
// Hotkeys that work while another program's window has the keyboard. On an
// X11 desktop they are grabbed through xcb (X11Hotkeys). A Wayland desktop
// lets no program grab keys; there they are asked of the desktop portal's
// GlobalShortcuts interface where the desktop offers it (PortalHotkeys),
// which answers later. Where neither works the settings say global hotkeys
// are not available, and the media keys still reach the player through
// MPRIS.
//
// Threads: the UI thread's, as X11Hotkeys and PortalHotkeys.
#include "desktop/PortalHotkeys.h"
#include "desktop/X11Hotkeys.h"

#include <QDBusConnection>
#include <QObject>
#include <map>
#include <memory>
#include <string>

class GlobalHotkeys : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kUnavailable = "当前桌面不支持全局快捷键（媒体键仍可通过 MPRIS 控制）";
    static constexpr const char* kTaken = "已被其他程序占用";
    static constexpr const char* kUnknownKey = "键盘上没有这个键";
    static constexpr const char* kRefused = "桌面没有接受这个快捷键";

    // Under Wayland the desktop portal on the session bus; otherwise the X11
    // display named by $DISPLAY.
    explicit GlobalHotkeys(QObject* parent = nullptr);
    // Uses the X11 display `displayName` (for tests).
    GlobalHotkeys(const std::string& displayName, QObject* parent);
    // Uses the desktop portal on `bus` (for tests).
    GlobalHotkeys(QDBusConnection bus, QObject* parent);

    // False once it is known that no hotkey can be had; while the portal is
    // still asked, hotkeys are taken as available.
    bool isAvailable() const;

    // Binds `id` to the key text ("Ctrl+Alt+P"; empty unbinds it), shown to
    // the user by `description` where the desktop asks them. Returns an
    // empty text when bound (or, through the portal, asked for), else why
    // not (kTaken, kUnknownKey, kUnavailable).
    std::string bind(int id, const std::string& keyText, const std::string& description = {});
    // Why `id`'s key is not bound (empty when it is or none was asked);
    // through the portal also kRefused once the desktop has not taken it.
    std::string problem(int id) const;

signals:
    void activated(int id);
    // What isAvailable() or problem() say has changed (the portal answered).
    void changed();

private:
    void usePortal(QDBusConnection bus);
    std::string bindThroughPortal(int id, const std::string& keyText, const std::string& description);

    std::unique_ptr<X11Hotkeys> x11_;
    std::unique_ptr<PortalHotkeys> portal_;
    std::map<int, std::string> problems_;
};
