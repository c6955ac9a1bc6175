#pragma once
// A 10-band graphic equalizer: one peaking filter per band (the RBJ audio
// EQ cookbook's, an octave wide), run over each decoded block on the decode
// thread. Off, it is not run at all.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

inline constexpr int kEqualizerBands = 10;
// The bands' centres, an octave apart.
inline constexpr std::array<double, kEqualizerBands> kEqualizerHertz = {31.25, 62.5, 125,  250,  500,
                                                                        1000,  2000, 4000, 8000, 16000};
inline constexpr double kEqualizerLimitDb = 12.0;  // a band's gain is held to ±this

struct EqualizerSetting {
    bool on = false;
    std::array<double, kEqualizerBands> gainsDb{};
};

// The setting every stream's equalizer follows. set() from any thread; the
// decode threads poll version() once a block (one atomic load) and read the
// setting only when it changed. `mutex_` guards `setting_`.
class EqualizerControl {
public:
    void set(const EqualizerSetting& setting);
    EqualizerSetting setting() const;
    uint64_t version() const { return version_.load(std::memory_order_acquire); }

private:
    mutable std::mutex mutex_;
    EqualizerSetting setting_;
    std::atomic<uint64_t> version_{0};
};

// One stream's filters and their memory. Used by its decode thread only.
class Equalizer {
public:
    Equalizer(int sampleRate, int channels);

    // Takes the control's setting when it changed since the last call.
    void follow(const EqualizerControl& control);
    bool on() const { return on_; }
    // Filters `frames` interleaved frames in place, holding samples at full scale.
    void process(int16_t* samples, int64_t frames);

private:
    struct Coefficients {
        float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    };
    struct Memory {
        float z1 = 0, z2 = 0;
    };
    void configure(const EqualizerSetting& setting);

    const int sampleRate_;
    const int channels_;
    uint64_t followed_ = UINT64_MAX;  // the control's version last taken
    bool on_ = false;
    std::vector<Coefficients> bands_;  // the bands that change the sound (gain not 0, below Nyquist)
    std::vector<Memory> memory_;       // bands_.size() x channels
};
