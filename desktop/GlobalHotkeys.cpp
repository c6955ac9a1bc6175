#include "desktop/GlobalHotkeys.h"

#include <cstdlib>
#include <cstring>

namespace {

bool isWaylandSession() {
    const char* type = std::getenv("XDG_SESSION_TYPE");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (type && std::strcmp(type, "wayland") == 0) || (wayland && *wayland);
}

}  // namespace

GlobalHotkeys::GlobalHotkeys(QObject* parent) : QObject(parent) {
    // Under Wayland an X11 grab would only see keys typed into X11 windows.
    const char* display = std::getenv("DISPLAY");
    if (isWaylandSession() || !display || !*display) return;
    x11_ = std::make_unique<X11Hotkeys>(std::string(display));
    connect(x11_.get(), &X11Hotkeys::activated, this, &GlobalHotkeys::activated);
}

GlobalHotkeys::GlobalHotkeys(const std::string& displayName, QObject* parent)
    : QObject(parent), x11_(std::make_unique<X11Hotkeys>(displayName)) {
    connect(x11_.get(), &X11Hotkeys::activated, this, &GlobalHotkeys::activated);
}

std::string GlobalHotkeys::bind(int id, const std::string& keyText) {
    problems_.erase(id);
    if (!isAvailable()) return problems_[id] = kUnavailable;
    x11_->release(id);
    if (keyText.empty()) return {};
    const std::optional<KeyChord> chord = KeyChord::parse(keyText);
    if (!chord) return problems_[id] = kUnknownKey;
    switch (x11_->grab(id, *chord)) {
        case X11Hotkeys::GrabResult::Grabbed: return {};
        case X11Hotkeys::GrabResult::Taken: return problems_[id] = kTaken;
        case X11Hotkeys::GrabResult::Unknown: return problems_[id] = kUnknownKey;
    }
    return {};
}

std::string GlobalHotkeys::problem(int id) const {
    const auto found = problems_.find(id);
    return found == problems_.end() ? std::string() : found->second;
}
