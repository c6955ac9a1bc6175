#pragma once
// A key with its modifiers as the settings keep it, in Qt's portable text
// form ("Ctrl+Alt+Left", "Space", "Ctrl+F"), read into what the X server
// grabs: a modifier mask and a keysym.
#include <cstdint>
#include <optional>
#include <string>

struct KeyChord {
    std::uint16_t modifiers = 0;  // X modifier mask: Shift, Control, Mod1 (Alt), Mod4 (Meta)
    std::uint32_t keysym = 0;

    // Nothing for an empty text or a key this program cannot name to X.
    static std::optional<KeyChord> parse(const std::string& text);
};
