#include "desktop/X11Hotkeys.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr std::uint32_t kNumLockKeysym = 0xff7f;
constexpr std::uint8_t kBadAccess = 10;  // the X error of a key another client grabbed

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

}  // namespace

X11Hotkeys::X11Hotkeys(const std::string& displayName, QObject* parent) : QObject(parent) {
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(displayName.empty() ? nullptr : displayName.c_str(), &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) xcb_screen_next(&screens);
    if (screens.rem == 0) {
        xcb_disconnect(connection);
        return;
    }
    connection_ = connection;
    root_ = screens.data->root;

    // The modifier bit Num Lock sets, so grabs hold with it on or off.
    const std::vector<std::uint8_t> numLockKeys = keycodesOf(kNumLockKeysym);
    ReplyPtr<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(connection_, xcb_get_modifier_mapping(connection_), nullptr), &std::free);
    if (mapping) {
        const xcb_keycode_t* keys = xcb_get_modifier_mapping_keycodes(mapping.get());
        const int perModifier = mapping->keycodes_per_modifier;
        for (int modifier = 0; modifier < 8; ++modifier)
            for (int k = 0; k < perModifier; ++k)
                if (keys[modifier * perModifier + k] != 0 &&
                    std::count(numLockKeys.begin(), numLockKeys.end(), keys[modifier * perModifier + k]))
                    numLock_ = static_cast<std::uint16_t>(1 << modifier);
    }

    notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &X11Hotkeys::readEvents);
}

X11Hotkeys::~X11Hotkeys() {
    notifier_.reset();
    if (connection_) {
        releaseAll();
        xcb_disconnect(connection_);
    }
}

std::vector<std::uint8_t> X11Hotkeys::keycodesOf(std::uint32_t keysym) const {
    std::vector<std::uint8_t> keycodes;
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    ReplyPtr<xcb_get_keyboard_mapping_reply_t> reply(
        xcb_get_keyboard_mapping_reply(
            connection_, xcb_get_keyboard_mapping(connection_, setup->min_keycode, static_cast<std::uint8_t>(count)),
            nullptr),
        &std::free);
    if (!reply) return keycodes;
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(reply.get());
    const int perKeycode = reply->keysyms_per_keycode;
    for (int k = 0; k < count; ++k)
        for (int level = 0; level < perKeycode; ++level)
            if (keysyms[k * perKeycode + level] == keysym) {
                keycodes.push_back(static_cast<std::uint8_t>(setup->min_keycode + k));
                break;
            }
    return keycodes;
}

X11Hotkeys::GrabResult X11Hotkeys::grab(int id, const KeyChord& chord) {
    release(id);
    if (!connection_) return GrabResult::Unknown;
    const std::vector<std::uint8_t> keycodes = keycodesOf(chord.keysym);
    if (keycodes.empty()) return GrabResult::Unknown;
    const std::uint8_t keycode = keycodes.front();
    const std::uint16_t locks[] = {0, XCB_MOD_MASK_LOCK, numLock_,
                                   static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK | numLock_)};
    std::vector<Grab> made;
    bool taken = false;
    for (std::uint16_t lock : locks) {
        const std::uint16_t modifiers = chord.modifiers | lock;
        if (std::any_of(made.begin(), made.end(), [&](const Grab& g) { return g.modifiers == modifiers; })) continue;
        xcb_generic_error_t* error = xcb_request_check(
            connection_,
            xcb_grab_key_checked(connection_, 1, root_, modifiers, keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        if (error) {
            taken = taken || error->error_code == kBadAccess;
            std::free(error);
            continue;
        }
        made.push_back({id, keycode, modifiers});
    }
    if (taken) {
        // Half a hotkey (working only with Caps Lock on, say) would puzzle: none then.
        for (const Grab& g : made) ungrab(g);
        xcb_flush(connection_);
        return GrabResult::Taken;
    }
    grabs_.insert(grabs_.end(), made.begin(), made.end());
    xcb_flush(connection_);
    return made.empty() ? GrabResult::Unknown : GrabResult::Grabbed;
}

void X11Hotkeys::ungrab(const Grab& grab) { xcb_ungrab_key(connection_, grab.keycode, root_, grab.modifiers); }

// A round trip: the server has carried out every request sent before, so a
// key let go here is free for the next program that asks for it.
void X11Hotkeys::sync() {
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

void X11Hotkeys::release(int id) {
    if (!connection_) return;
    for (const Grab& g : grabs_)
        if (g.id == id) ungrab(g);
    std::erase_if(grabs_, [id](const Grab& g) { return g.id == id; });
    sync();
}

void X11Hotkeys::releaseAll() {
    if (!connection_) return;
    for (const Grab& g : grabs_) ungrab(g);
    grabs_.clear();
    sync();
}

void X11Hotkeys::readEvents() {
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if ((event->response_type & 0x7f) == XCB_KEY_PRESS) {
            const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
            const std::uint16_t relevant = press->state & 0xff;  // keyboard modifiers, no mouse buttons
            for (const Grab& g : grabs_)
                if (g.keycode == press->detail && g.modifiers == relevant) {
                    emit activated(g.id);
                    break;
                }
        }
        std::free(event);
    }
}
