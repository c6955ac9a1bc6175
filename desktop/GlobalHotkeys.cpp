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
    if (isWaylandSession()) {
        usePortal(QDBusConnection::sessionBus());
        return;
    }
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) return;
    x11_ = std::make_unique<X11Hotkeys>(std::string(display));
    connect(x11_.get(), &X11Hotkeys::activated, this, &GlobalHotkeys::activated);
}

GlobalHotkeys::GlobalHotkeys(const std::string& displayName, QObject* parent)
    : QObject(parent), x11_(std::make_unique<X11Hotkeys>(displayName)) {
    connect(x11_.get(), &X11Hotkeys::activated, this, &GlobalHotkeys::activated);
}

GlobalHotkeys::GlobalHotkeys(QDBusConnection bus, QObject* parent) : QObject(parent) { usePortal(std::move(bus)); }

void GlobalHotkeys::usePortal(QDBusConnection bus) {
    portal_ = std::make_unique<PortalHotkeys>(std::move(bus));
    connect(portal_.get(), &PortalHotkeys::activated, this, &GlobalHotkeys::activated);
    connect(portal_.get(), &PortalHotkeys::stateChanged, this, &GlobalHotkeys::changed);
    connect(portal_.get(), &PortalHotkeys::answered, this, [this] {
        for (auto& [id, problem] : problems_)
            if (problem == kRefused) problem.clear();
        for (int id : portal_->refused()) problems_[id] = kRefused;
        emit changed();
    });
}

bool GlobalHotkeys::isAvailable() const {
    if (portal_) return portal_->state() != PortalHotkeys::State::Unavailable;
    return x11_ && x11_->isConnected();
}

std::string GlobalHotkeys::bind(int id, const std::string& keyText, const std::string& description) {
    problems_.erase(id);
    if (!isAvailable()) return problems_[id] = kUnavailable;
    if (portal_) return bindThroughPortal(id, keyText, description);
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

// A key without a name the portal knows is still bound, for the desktop to
// choose its trigger with the user.
std::string GlobalHotkeys::bindThroughPortal(int id, const std::string& keyText, const std::string& description) {
    if (keyText.empty()) {
        portal_->unbind(id);
        return {};
    }
    const std::optional<KeyChord> chord = KeyChord::parse(keyText);
    if (!chord) {
        portal_->unbind(id);
        return problems_[id] = kUnknownKey;
    }
    portal_->bind(id, chord->xdgTrigger(), description.empty() ? keyText : description);
    return {};
}

std::string GlobalHotkeys::problem(int id) const {
    const auto found = problems_.find(id);
    return found == problems_.end() ? std::string() : found->second;
}
