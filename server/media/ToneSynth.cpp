#include "server/media/ToneSynth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

double frequencyOf(int semitonesAboveA4) { return 440.0 * std::pow(2.0, semitonesAboveA4 / 12.0); }

// A plucked tone: three harmonics under a fast attack and an exponential decay.
double pluck(double frequency, double t, double length) {
    if (t < 0.0 || t >= length) return 0.0;
    const double attack = std::min(1.0, t / 0.01);
    const double envelope = attack * std::exp(-3.0 * t / length);
    double value = 0.0;
    for (int harmonic = 1; harmonic <= 3; ++harmonic) {
        value += std::sin(2.0 * std::numbers::pi * frequency * harmonic * t) / std::pow(harmonic, 1.5);
    }
    return value * envelope;
}

void appendLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

PcmAudio synthesiseClip(const AudioClip& clip) {
    PcmAudio audio;
    const std::size_t frames = static_cast<std::size_t>(clip.seconds) * audio.sampleRate;
    audio.samples.resize(frames * audio.channels);

    const double beat = 60.0 / clip.beatsPerMinute;
    const double bar = 4.0 * beat;
    const double fade = 0.3;
    std::vector<double> left(frames), right(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / audio.sampleRate;
        const std::size_t noteIndex = static_cast<std::size_t>(t / beat);
        const int semitone = clip.melody[noteIndex % clip.melody.size()];
        const double noteTime = t - noteIndex * beat;
        const double melody = semitone == kRest ? 0.0 : pluck(frequencyOf(semitone), noteTime, beat * 0.95);
        const double barTime = t - std::floor(t / bar) * bar;
        const double bass = pluck(frequencyOf(clip.bassSemitone), barTime, bar) * 0.6;
        // Alternate notes lean left and right so the channels differ.
        const double pan = noteIndex % 2 ? 0.35 : 0.65;
        const double edge = std::min({1.0, t / fade, (clip.seconds - t) / fade});
        left[i] = edge * (melody * pan + bass * 0.5);
        right[i] = edge * (melody * (1.0 - pan) + bass * 0.5);
    }

    double peak = 1e-9;
    for (std::size_t i = 0; i < frames; ++i) peak = std::max({peak, std::abs(left[i]), std::abs(right[i])});
    const double gain = 0.6 * 32767.0 / peak;
    for (std::size_t i = 0; i < frames; ++i) {
        audio.samples[2 * i] = static_cast<std::int16_t>(std::lround(left[i] * gain));
        audio.samples[2 * i + 1] = static_cast<std::int16_t>(std::lround(right[i] * gain));
    }
    return audio;
}

std::string wavFileBytes(const PcmAudio& audio) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(audio.samples.size() * sizeof(std::int16_t));
    const std::uint32_t blockAlign = audio.channels * 2;
    std::string out = "RIFF";
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
