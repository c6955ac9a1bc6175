#pragma once
// Measures a song's loudness as EBU R 128 defines it (libebur128): the
// integrated loudness in LUFS and the true peak. Used by one thread only.
#include <cstdint>
#include <memory>
#include <optional>

// What a measure found.
struct Loudness {
    double lufs = 0;      // integrated loudness
    double truePeak = 0;  // linear, 1 = full scale; more between samples that overshoot
};

class LoudnessMeter {
public:
    LoudnessMeter(int sampleRate, int channels);
    ~LoudnessMeter();
    LoudnessMeter(const LoudnessMeter&) = delete;
    LoudnessMeter& operator=(const LoudnessMeter&) = delete;

    // Adds `frames` interleaved 16-bit frames.
    void add(const int16_t* samples, int64_t frames);
    // The loudness of everything added; nullopt when nothing loud enough to
    // count was added (silence), or the meter could not be made.
    std::optional<Loudness> result() const;

private:
    struct State;
    std::unique_ptr<State> state_;  // null when libebur128 could not make one
    int channels_;
};
