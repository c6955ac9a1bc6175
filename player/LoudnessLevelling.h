#pragma once
// Even loudness from song to song: the gain that brings a song to the target
// loudness (EBU R 128), from the gain the service sends with the song's
// address or else from the song's own measure kept from an earlier play, and
// held down so the song's true peak stays under -1 dBTP. A song known by
// neither plays as it is and is measured (never pumped while measured).
#include "api/CloudRecords.h"
#include "audio/LoudnessMeter.h"
#include "base/AppSettings.h"

#include <memory>
#include <optional>
#include <string>

class DiskCache;

enum class LoudnessMode { Off, Track, Album };

// Stored in section "Playback": key "Loudness" as "off", "track" or
// "album", key "LoudnessTarget" as LUFS.
struct LoudnessSettings {
    static constexpr double kDefaultTargetLufs = -14.0;
    static constexpr double kLowestTargetLufs = -30.0;
    static constexpr double kHighestTargetLufs = -5.0;

    LoudnessMode mode = LoudnessMode::Track;
    double targetLufs = kDefaultTargetLufs;

    // Missing or unreadable keys read as the defaults; a target outside
    // the range is held to it.
    static LoudnessSettings read(const AppSettings& settings);
    void write(const AppSettings& settings) const;
};

// The loudness the service's gain brings a song to.
inline constexpr double kServiceReferenceLufs = -14.0;
// The highest true peak a gain may lift a song to.
inline constexpr double kTruePeakCeilingDb = -1.0;

// The gain in dB for a song: none when off; the service's gain (moved from
// its reference to the target) where it is not 0; else the target less the
// measured loudness; else none. Held so the known peak stays under the ceiling.
double levellingGainDb(const LoudnessSettings& settings, const SongStream& service,
                       const std::optional<Loudness>& measured);

// Measures kept on disk: by song id, and for each album the measures of its
// songs, whose energy mean is the album's loudness (so an album plays at one
// gain and keeps its songs' differences). UI thread.
class LoudnessMemory {
public:
    // Nothing is kept without a cache.
    explicit LoudnessMemory(std::shared_ptr<DiskCache> cache) : cache_(std::move(cache)) {}

    void remember(const std::string& songId, const std::string& album, const Loudness& loudness);
    std::optional<Loudness> track(const std::string& songId) const;
    std::optional<Loudness> album(const std::string& album) const;
    // The measure the mode goes by: the album's, or the song's.
    std::optional<Loudness> forMode(LoudnessMode mode, const std::string& songId, const std::string& album) const;

private:
    std::shared_ptr<DiskCache> cache_;
};
