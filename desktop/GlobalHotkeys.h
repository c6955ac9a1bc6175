#pragma once
// Hotkeys that work while another program's window has the keyboard. On an
// X11 desktop they are grabbed through xcb (X11Hotkeys). A Wayland desktop
// lets no program grab keys; there the settings say global hotkeys are not
// available, and the media keys still reach the player through MPRIS.
//
// Threads: the UI thread's, as X11Hotkeys.
#include "desktop/X11Hotkeys.h"

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

    // Uses the X11 display named by $DISPLAY unless the session is Wayland's.
    explicit GlobalHotkeys(QObject* parent = nullptr);
    // Uses the X11 display `displayName` (for tests).
    GlobalHotkeys(const std::string& displayName, QObject* parent);

    bool isAvailable() const { return x11_ && x11_->isConnected(); }

    // Binds `id` to the key text ("Ctrl+Alt+P"; empty unbinds it). Returns
    // an empty text when bound, else why not (kTaken, kUnknownKey, kUnavailable).
    std::string bind(int id, const std::string& keyText);
    // Why `id`'s key is not bound (empty when it is or none was asked).
    std::string problem(int id) const;

signals:
    void activated(int id);

private:
    std::unique_ptr<X11Hotkeys> x11_;
    std::map<int, std::string> problems_;
};
