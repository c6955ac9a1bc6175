#pragma once
// A key with its modifiers as the settings keep it, in Qt's portable text
// form ("Ctrl+Alt+Left", "Space", "Ctrl+F"), read into what the X server
// grabs: a modifier mask and a keysym; and written as the trigger the
// desktop portal's shortcuts take ("CTRL+ALT+Left").
#include <cstdint>
#include <optional>
#include <string>

struct KeyChord {
    std::uint16_t modifiers = 0;  // X modifier mask: Shift, Control, Mod1 (Alt), Mod4 (Meta)
    std::uint32_t keysym = 0;

    // Nothing for an empty text or a key this program cannot name to X.
    static std::optional<KeyChord> parse(const std::string& text);

    // The chord as the shortcuts of the freedesktop.org desktop portal name
    // it: its modifiers (SHIFT, CTRL, ALT, LOGO), each followed by "+", then
    // the key's XKB keysym name ("CTRL+ALT+p", "LOGO+XF86AudioNext");
    // nothing for a key without a name known here.
    std::optional<std::string> xdgTrigger() const;
};
