#pragma once
// The settings the program reads once at start-up, turned from their stored
// texts into the values the windows apply. An optional that is empty means
// the stored text matched nothing, so the control keeps its designed state.
#include <cstdint>
#include <optional>
#include <string>

class AppSettings;

struct StoredSettings {
    std::optional<int> fillMode;   // desktop lyric fill: 0 one colour, 1 two-colour, 2 three-colour gradient
    std::optional<int> styleCode;  // font style 0..5 (normal, bold, italic, bold italic, underline, underline bold)
    std::optional<int> volume;     // 0..100; empty when the key is empty
    bool muted = false;            // the stored volume is exactly "0"
    std::string playMode;          // the stored text; the player knows the modes
    std::string typeface;
    std::string quality;
    std::int32_t color1 = 0;  // ARGB
    std::int32_t color2 = 0;

    int fillModeOrDefault() const { return fillMode.value_or(0); }
    int styleCodeOrDefault() const { return styleCode.value_or(0); }
};

StoredSettings readStoredSettings(const AppSettings& settings);
