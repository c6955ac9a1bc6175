#pragma once
// Global hotkeys on an X11 display: each key chord is grabbed on the root
// window through a connection of our own (xcb), with and without the lock
// modifiers (Caps Lock, Num Lock) so they work whatever those are. A chord
// another program holds already cannot be grabbed: it is reported, not
// silently lost.
//
// Threads: the UI thread's (the connection's events arrive through a
// socket notifier on it); all fields are its.
#include "desktop/KeyChord.h"

#include <QObject>
#include <QSocketNotifier>
#include <memory>
#include <string>
#include <vector>

struct xcb_connection_t;

class X11Hotkeys : public QObject {
    Q_OBJECT
public:
    // Connects to the display `displayName` (empty: $DISPLAY).
    explicit X11Hotkeys(const std::string& displayName = {}, QObject* parent = nullptr);
    ~X11Hotkeys() override;

    bool isConnected() const { return connection_ != nullptr; }

    enum class GrabResult { Grabbed, Taken, Unknown };
    // Grabs `chord` as hotkey `id` (replacing what `id` had); Taken when
    // another program holds it, Unknown when the keyboard has no such key.
    GrabResult grab(int id, const KeyChord& chord);
    void release(int id);
    void releaseAll();

signals:
    void activated(int id);

private:
    struct Grab {
        int id;
        std::uint8_t keycode;
        std::uint16_t modifiers;
    };
    std::vector<std::uint8_t> keycodesOf(std::uint32_t keysym) const;
    void ungrab(const Grab& grab);
    void sync();
    void readEvents();

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
    std::uint16_t numLock_ = 0;  // the modifier bit Num Lock sets on this display
    std::vector<Grab> grabs_;
    std::unique_ptr<QSocketNotifier> notifier_;
};
