#include "player/PlaybackPreferences.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

namespace {

const char* const kSection = "Playback";

}  // namespace

PlaybackPreferences PlaybackPreferences::read(const AppSettings& settings) {
    PlaybackPreferences read;
    read.equalizer.on = settings.read(kSection, "Equalizer") == "on";
    read.preset = settings.read(kSection, "EqualizerPreset", read.preset);
    read.outputDevice = settings.read(kSection, "OutputDevice");
    const std::string megabytes = settings.read(kSection, "CacheMegabytes");
    int bound = 0;
    const auto [boundEnd, boundError] = std::from_chars(megabytes.data(), megabytes.data() + megabytes.size(), bound);
    if (boundError == std::errc() && boundEnd == megabytes.data() + megabytes.size())
        read.cacheMegabytes = std::clamp(bound, kLeastCacheMegabytes, kMostCacheMegabytes);
    std::istringstream bands(settings.read(kSection, "EqualizerBands"));
    size_t band = 0;
    for (std::string text; band < kEqualizerBands && std::getline(bands, text, ','); ++band) {
        double gain = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), gain);
        if (error != std::errc() || !std::isfinite(gain)) {
            read.equalizer = {};
            return read;
        }
        read.equalizer.gainsDb[band] = std::clamp(gain, -kEqualizerLimitDb, kEqualizerLimitDb);
    }
    return read;
}

void PlaybackPreferences::writeEqualizer(const AppSettings& settings) const {
    settings.write(kSection, "Equalizer", equalizer.on ? "on" : "off");
    settings.write(kSection, "EqualizerPreset", preset);
    std::string bands;
    for (const double gain : equalizer.gainsDb) {
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, gain).ptr;
        bands += (bands.empty() ? "" : ",") + std::string(text, end);
    }
    settings.write(kSection, "EqualizerBands", bands);
}

void PlaybackPreferences::writeOutputDevice(const AppSettings& settings) const {
    settings.write(kSection, "OutputDevice", outputDevice);
}

void PlaybackPreferences::writeCacheSize(const AppSettings& settings) const {
    settings.write(kSection, "CacheMegabytes", std::to_string(cacheMegabytes));
}
