#pragma once
// The stored equalizer and output device, and the equalizer's presets.
// Section "Playback" of the settings file: "Equalizer" ("on" or "off"),
// "EqualizerPreset" (a preset's name, or "自定义" for bands set by hand),
// "EqualizerBands" (ten gains in dB, comma-separated), "OutputDevice"
// (the device's name as PortAudio gives it; empty for the default) and
// "CacheMegabytes" (the bound of the cache of played songs).
#include "audio/Equalizer.h"
#include "base/AppSettings.h"

#include <array>
#include <cstdint>
#include <string>

struct EqualizerPreset {
    const char* name;
    std::array<double, kEqualizerBands> gainsDb;
};

inline constexpr const char* kCustomPresetName = "自定义";
inline constexpr std::array<EqualizerPreset, 7> kEqualizerPresets = {{
    {"平直", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"流行", {-1, 1, 3, 4, 3, 0, -1, -1, 1, 2}},
    {"摇滚", {5, 4, 2, -1, -2, -1, 2, 4, 5, 5}},
    {"古典", {4, 3, 2, 1, 0, 0, 0, 2, 3, 4}},
    {"爵士", {3, 2, 1, 2, -1, -1, 0, 1, 2, 3}},
    {"人声", {-3, -2, -1, 1, 3, 4, 3, 1, 0, -2}},
    {"低音增强", {7, 6, 5, 3, 1, 0, 0, 0, 0, 0}},
}};

struct PlaybackPreferences {
    static constexpr int kDefaultCacheMegabytes = 1024;
    static constexpr int kLeastCacheMegabytes = 100;
    static constexpr int kMostCacheMegabytes = 100 * 1024;

    EqualizerSetting equalizer;
    std::string preset = kEqualizerPresets[0].name;
    std::string outputDevice;
    int cacheMegabytes = kDefaultCacheMegabytes;

    // Missing or unreadable keys read as: equalizer off and flat, the default
    // device, a cache of 1 GB; a cache bound out of range is held to it.
    static PlaybackPreferences read(const AppSettings& settings);
    void writeEqualizer(const AppSettings& settings) const;
    void writeOutputDevice(const AppSettings& settings) const;
    void writeCacheSize(const AppSettings& settings) const;
    std::int64_t cacheBytes() const { return std::int64_t(cacheMegabytes) << 20; }
};
