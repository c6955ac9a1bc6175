#include "server/media/ToneSynth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

double frequencyOf(int semitonesAboveA4) { return 440.0 * std::pow(2.0, semitonesAboveA4 / 12.0); }

struct Channels {
    std::vector<float> left;
    std::vector<float> right;
};

// Adds a plucked tone (three harmonics under a 10 ms attack and an
// exponential decay) that starts at `startSeconds` and lasts `length`
// seconds. The harmonics are stepped by rotation and the decay by a constant
// factor, so a frame costs a few multiplications instead of a handful of
// sin/exp calls: the clip asked for first must be ready within a second.
void addPluck(Channels& out, int sampleRate, double startSeconds, double length, double frequency, double leftGain,
              double rightGain) {
    constexpr int kHarmonics = 3;
    const std::size_t frames = out.left.size();
    std::size_t frame = static_cast<std::size_t>(std::ceil(startSeconds * sampleRate));
    const std::size_t end = std::min(frames, static_cast<std::size_t>(std::ceil((startSeconds + length) * sampleRate)));
    if (frame >= end) return;
    const double step = 1.0 / sampleRate;
    const double t0 = frame * step - startSeconds;

    double sine[kHarmonics], cosine[kHarmonics], stepSine[kHarmonics], stepCosine[kHarmonics], weight[kHarmonics];
    for (int h = 0; h < kHarmonics; ++h) {
        const double angular = 2.0 * std::numbers::pi * frequency * (h + 1);
        sine[h] = std::sin(angular * t0);
        cosine[h] = std::cos(angular * t0);
        stepSine[h] = std::sin(angular * step);
        stepCosine[h] = std::cos(angular * step);
        weight[h] = 1.0 / std::pow(h + 1, 1.5);
    }
    double decay = std::exp(-3.0 * t0 / length);
    const double decayStep = std::exp(-3.0 * step / length);

    for (double t = t0; frame < end; ++frame, t += step) {
        double value = 0.0;
        for (int h = 0; h < kHarmonics; ++h) {
            value += sine[h] * weight[h];
            const double nextSine = sine[h] * stepCosine[h] + cosine[h] * stepSine[h];
            cosine[h] = cosine[h] * stepCosine[h] - sine[h] * stepSine[h];
            sine[h] = nextSine;
        }
        value *= std::min(1.0, t / 0.01) * decay;
        decay *= decayStep;
        out.left[frame] += static_cast<float>(value * leftGain);
        out.right[frame] += static_cast<float>(value * rightGain);
    }
}

void appendLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

PcmAudio synthesiseClip(const AudioClip& clip) {
    PcmAudio audio;
    const std::size_t frames = static_cast<std::size_t>(clip.seconds) * audio.sampleRate;
    Channels channels{std::vector<float>(frames), std::vector<float>(frames)};

    const double beat = 60.0 / clip.beatsPerMinute;
    const double bar = 4.0 * beat;
    const double bassFrequency = frequencyOf(clip.bassSemitone);
    for (double start = 0.0; start < clip.seconds; start += bar) {
        addPluck(channels, audio.sampleRate, start, bar, bassFrequency, 0.3, 0.3);
    }
    for (std::size_t note = 0; note * beat < clip.seconds; ++note) {
        const int semitone = clip.melody[note % clip.melody.size()];
        if (semitone == kRest) continue;
        // Alternate notes lean left and right so the channels differ.
        const double pan = note % 2 ? 0.35 : 0.65;
        addPluck(channels, audio.sampleRate, note * beat, beat * 0.95, frequencyOf(semitone), pan, 1.0 - pan);
    }

    const double fade = 0.3;
    double peak = 1e-9;
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / audio.sampleRate;
        const double edge = std::min({1.0, t / fade, (clip.seconds - t) / fade});
        channels.left[i] *= edge;
        channels.right[i] *= edge;
        peak = std::max({peak, std::abs(double{channels.left[i]}), std::abs(double{channels.right[i]})});
    }
    const double gain = 0.6 * 32767.0 / peak;
    audio.samples.resize(frames * audio.channels);
    for (std::size_t i = 0; i < frames; ++i) {
        audio.samples[2 * i] = static_cast<std::int16_t>(std::lround(channels.left[i] * gain));
        audio.samples[2 * i + 1] = static_cast<std::int16_t>(std::lround(channels.right[i] * gain));
    }
    return audio;
}

std::string wavFileBytes(const PcmAudio& audio) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(audio.samples.size() * sizeof(std::int16_t));
    const std::uint32_t blockAlign = audio.channels * 2;
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    appendLittleEndian(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    appendLittleEndian(out, 16, 4);  // size of the format chunk
    appendLittleEndian(out, 1, 2);   // PCM
    appendLittleEndian(out, audio.channels, 2);
    appendLittleEndian(out, audio.sampleRate, 4);
    appendLittleEndian(out, audio.sampleRate * blockAlign, 4);
    appendLittleEndian(out, blockAlign, 2);
    appendLittleEndian(out, 16, 2);  // bits per sample
    out += "data";
    appendLittleEndian(out, dataBytes, 4);
    for (std::int16_t sample : audio.samples) appendLittleEndian(out, static_cast<std::uint16_t>(sample), 2);
    return out;
}
