#include "player/LoudnessLevelling.h"

#include "net/DiskCache.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <sstream>

namespace {

const char* const kSection = "Playback";
const char* const kModeKey = "Loudness";
const char* const kTargetKey = "LoudnessTarget";

std::optional<double> parseNumber(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string trackKey(const std::string& songId) { return "loudness/track/" + songId; }
std::string albumKey(const std::string& album) { return "loudness/album/" + album; }

// "lufs peak" with the C locale's point, whatever the program's locale.
std::string formatLoudness(const Loudness& loudness) {
    char text[64];
    const auto lufsEnd = std::to_chars(text, text + sizeof text, loudness.lufs).ptr;
    *lufsEnd = ' ';
    const auto end = std::to_chars(lufsEnd + 1, text + sizeof text, loudness.truePeak).ptr;
    return std::string(text, end);
}

std::optional<Loudness> parseLoudness(std::string_view text) {
    const size_t space = text.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    const auto lufs = parseNumber(text.substr(0, space));
    const auto peak = parseNumber(text.substr(space + 1));
    if (!lufs || !peak) return std::nullopt;
    return Loudness{*lufs, *peak};
}

// An album entry: one line per song, "songId lufs peak".
std::map<std::string, Loudness> parseAlbum(const std::string& text) {
    std::map<std::string, Loudness> songs;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        if (const auto loudness = parseLoudness(std::string_view(line).substr(space + 1)))
            songs[line.substr(0, space)] = *loudness;
    }
    return songs;
}

}  // namespace

LoudnessSettings LoudnessSettings::read(const AppSettings& settings) {
    LoudnessSettings read;
    const std::string mode = settings.read(kSection, kModeKey, "track");
    if (mode == "off") read.mode = LoudnessMode::Off;
    if (mode == "album") read.mode = LoudnessMode::Album;
    if (const auto target = parseNumber(settings.read(kSection, kTargetKey)))
        read.targetLufs = std::clamp(*target, kLowestTargetLufs, kHighestTargetLufs);
    return read;
}

void LoudnessSettings::write(const AppSettings& settings) const {
    const char* names[] = {"off", "track", "album"};
    settings.write(kSection, kModeKey, names[static_cast<int>(mode)]);
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, targetLufs).ptr;
    settings.write(kSection, kTargetKey, std::string(text, end));
}

double levellingGainDb(const LoudnessSettings& settings, const SongStream& service,
                       const std::optional<Loudness>& measured) {
    if (settings.mode == LoudnessMode::Off) return 0.0;
    double gain = 0.0;
    double peak = 0.0;
    if (service.gainDb != 0.0) {
        gain = service.gainDb + (settings.targetLufs - kServiceReferenceLufs);
        peak = service.peak;
    } else if (measured) {
        gain = settings.targetLufs - measured->lufs;
        peak = measured->truePeak;
    } else {
        return 0.0;
    }
    if (peak > 0.0) gain = std::min(gain, kTruePeakCeilingDb - 20.0 * std::log10(peak));
    return gain;
}

void LoudnessMemory::remember(const std::string& songId, const std::string& album, const Loudness& loudness) {
    if (!cache_ || songId.empty()) return;
    cache_->write(trackKey(songId), formatLoudness(loudness));
    if (album.empty()) return;
    std::map<std::string, Loudness> songs = parseAlbum(cache_->read(albumKey(album)).value_or(""));
    songs[songId] = loudness;
    std::string text;
    for (const auto& [id, measured] : songs) text += id + " " + formatLoudness(measured) + "\n";
    cache_->write(albumKey(album), text);
}

std::optional<Loudness> LoudnessMemory::track(const std::string& songId) const {
    if (!cache_) return std::nullopt;
    const auto text = cache_->read(trackKey(songId));
    return text ? parseLoudness(*text) : std::nullopt;
}

std::optional<Loudness> LoudnessMemory::album(const std::string& album) const {
    if (!cache_ || album.empty()) return std::nullopt;
    const auto songs = parseAlbum(cache_->read(albumKey(album)).value_or(""));
    if (songs.empty()) return std::nullopt;
    double energy = 0.0;
    Loudness loudness;
    for (const auto& [id, measured] : songs) {
        energy += std::pow(10.0, measured.lufs / 10.0);
        loudness.truePeak = std::max(loudness.truePeak, measured.truePeak);
    }
    loudness.lufs = 10.0 * std::log10(energy / static_cast<double>(songs.size()));
    return loudness;
}

std::optional<Loudness> LoudnessMemory::forMode(LoudnessMode mode, const std::string& songId,
                                                const std::string& album) const {
    if (mode == LoudnessMode::Album) {
        if (auto measured = this->album(album)) return measured;
    }
    return track(songId);
}
