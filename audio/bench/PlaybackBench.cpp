// What playback does to the sound, measured on demo songs made for it and
// played through the real engine into a capturing output:
//   gapless    two songs cut from one continuous tone: the silence and the
//              largest jump where one song follows the other
//   loudness   songs made at levels far apart, each measured on its first
//              play and evened out on the next: how far apart they come out
//   equalizer  a minute of music decoded and played as fast as it goes, with
//              the equalizer off and with every band set: the share of one
//              core each takes at real-time pace, and the difference
//   playback_bench [section...]   (default: every section)
#include "CapturingOutput.h"
#include "DemoTones.h"
#include "audio/AudioEngine.h"
#include "audio/LoudnessMeter.h"
#include "player/LoudnessLevelling.h"

#include <sys/resource.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;

struct Seam {
    double gapMs = 0;        // silent frames beyond the tone's own zero crossings
    double largestJump = 0;  // between neighbouring samples near the seam
    double toneStep = 0;     // the tone's own largest step, measured away from the seam
    double codecError = 0;   // the largest distance from the ideal tone near the seam: the codec's own
};

// The ideal tone's left sample at frame `i` of `rate`, in 16-bit units.
double idealTone(int64_t i, int rate) {
    return 0.5 * 32767.0 * std::sin(2 * M_PI * DemoTones::kHertz * static_cast<double>(i) / rate);
}

// The largest step between neighbouring left samples of [from, to).
double largestStep(const std::vector<int16_t>& stereo, int64_t from, int64_t to) {
    double largest = 0;
    for (int64_t i = from + 1; i < to; ++i)
        largest = std::max(largest, std::fabs(double(stereo[2 * i]) - double(stereo[2 * i - 2])));
    return largest;
}

// The longest run of silent frames of [from, to).
int64_t longestSilence(const std::vector<int16_t>& stereo, int64_t from, int64_t to) {
    int64_t longest = 0, run = 0;
    for (int64_t i = from; i < to; ++i) {
        run = stereo[2 * i] == 0 && stereo[2 * i + 1] == 0 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// Plays `first` then `second` (each `seconds` long) in one engine and measures their seam.
Seam measureSeam(const std::string& first, const std::string& second, double seconds) {
    auto output = std::make_shared<CapturingOutput>();
    AudioEngine engine(output);
    const auto leader = engine.createStream(StreamSource::fromFile(first));
    const auto follower = engine.createFollower(leader, StreamSource::fromFile(second));
    if (leader == 0 || follower == 0 || !engine.play(leader)) {
        std::fprintf(stderr, "the demo songs do not open\n");
        std::exit(1);
    }
    const int rate = output->format().sampleRate;
    const auto seam = static_cast<int64_t>(seconds * rate);
    const std::vector<int16_t> heard = output->capture(2 * seam);
    const int64_t window = rate / 100;  // 10 ms either side
    Seam result;
    const int64_t silent = longestSilence(heard, rate, 2 * seam - rate);
    result.gapMs = silent > 1 ? 1000.0 * static_cast<double>(silent) / rate : 0.0;
    result.largestJump = largestStep(heard, seam - window, seam + window);
    result.toneStep = largestStep(heard, rate, seam - rate);
    for (int64_t i = seam - window; i < seam + window; ++i)
        result.codecError = std::max(result.codecError, std::fabs(heard[2 * i] - idealTone(i, rate)));
    return result;
}

void printSeam(const char* what, const Seam& seam) {
    std::printf("  %s\n", what);
    std::printf("    gap at the seam          %8.2f ms   goal 0 ms\n", seam.gapMs);
    std::printf(
        "    largest jump at the seam %8.0f      goal: not above the tone's own step (%.0f in this run)"
        " plus twice the codec's own error there (%.0f)\n",
        seam.largestJump, seam.toneStep, seam.codecError);
}

void gapless() {
    const double seconds = 6;
    const std::string flac = "-c:a flac";
    const std::string mp3 = "-c:a libmp3lame -b:a 192k";
    std::printf("gapless: two songs of %.0f s cut from one %.1f Hz half-scale tone\n", seconds, DemoTones::kHertz);
    printSeam("FLAC, 44.1 kHz both",
              measureSeam(DemoTones::make("first.flac", 0, seconds, kRate, flac),
                          DemoTones::make("second.flac", seconds, seconds, kRate, flac), seconds));
    printSeam("MP3 192 kbps, 44.1 kHz both (LAME's delay and padding cut)",
              measureSeam(DemoTones::make("first.mp3", 0, seconds, kRate, mp3),
                          DemoTones::make("second.mp3", seconds, seconds, kRate, mp3), seconds));
    printSeam("FLAC, the second at 48 kHz resampled to 44.1 kHz",
              measureSeam(DemoTones::make("first.flac", 0, seconds, kRate, flac),
                          DemoTones::make("second48k.flac", seconds, seconds, 48000, flac), seconds));
}

// Plays `file` from its start to its end into a capturing output, with
// `gainDb` of levelling; returns what was heard and, when `measure`, what
// the engine measured of it.
std::vector<int16_t> playWhole(const std::string& file, double gainDb, std::optional<Loudness>* measured,
                               const EqualizerSetting& equalizer = {}) {
    auto output = std::make_shared<CapturingOutput>();
    AudioEngine engine(output);
    engine.setEqualizer(equalizer);
    StreamSource source = StreamSource::fromFile(file);
    source.measureLoudness = measured != nullptr;
    const auto handle = engine.createStream(source);
    engine.setLoudnessGain(handle, gainDb);
    if (handle == 0 || !engine.play(handle)) {
        std::fprintf(stderr, "%s does not open\n", file.c_str());
        std::exit(1);
    }
    const int64_t length = engine.getLength(handle) / 4;
    std::vector<int16_t> heard = output->capture(length);
    if (measured) *measured = engine.measuredLoudness(handle);
    return heard;
}

void loudness() {
    const LoudnessSettings settings;  // the defaults: track, -14 LUFS
    std::printf("loudness: songs made at levels far apart, measured on their first play, evened out on the next\n");
    std::printf("  %-8s %12s %10s %12s\n", "made at", "measured", "gain", "comes out");
    double quietest = 0, loudest = -100;
    for (const double level : {12.0, 4.0, -8.0, -20.0}) {
        char name[32];
        std::snprintf(name, sizeof name, "music%+.0f.mp3", level);
        const std::string file = DemoTones::makeMusic(name, 10, level);
        std::optional<Loudness> measured;
        playWhole(file, 0, &measured);
        const double gain = levellingGainDb(settings, SongStream{}, measured);
        const std::vector<int16_t> heard = playWhole(file, gain, nullptr);
        LoudnessMeter meter(kRate, 2);
        meter.add(heard.data(), static_cast<int64_t>(heard.size() / 2));
        const auto out = meter.result();
        if (!measured || !out) {
            std::fprintf(stderr, "%s could not be measured\n", name);
            std::exit(1);
        }
        std::printf("  %+5.0f dB %8.2f LUFS %+7.2f dB %8.2f LUFS (true peak %.2f dBTP)\n", level, measured->lufs, gain,
                    out->lufs, 20 * std::log10(out->truePeak));
        quietest = std::min(quietest, out->lufs);
        loudest = std::max(loudest, out->lufs);
    }
    std::printf("  spread %.2f LU   goal: within 1 LU of each other (target %.0f LUFS, true peak under %.0f dBTP)\n",
                loudest - quietest, settings.targetLufs, kTruePeakCeilingDb);
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The share of one core playing `file` (of `seconds`) takes at real-time
// pace: the best of three runs, as a busy machine only adds.
double coreShare(const std::string& file, double seconds, const EqualizerSetting& equalizer) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        const double before = cpuSeconds();
        playWhole(file, 0, nullptr, equalizer);
        best = std::min(best, cpuSeconds() - before);
    }
    return 100.0 * best / seconds;
}

void equalizer() {
    const double seconds = 60;
    const std::string file = DemoTones::makeMusic("minute.mp3", seconds, 0);
    EqualizerSetting allBands;
    allBands.on = true;
    for (int band = 0; band < kEqualizerBands; ++band) allBands.gainsDb[static_cast<size_t>(band)] = band % 2 ? -6 : 6;
    const double off = coreShare(file, seconds, {});
    const double on = coreShare(file, seconds, allBands);
    std::printf("equalizer: a minute of MP3 music (192 kbps, 44.1 kHz stereo) decoded and played\n");
    std::printf("  equalizer off            %6.2f %% of one core\n", off);
    std::printf("  every band set (±6 dB)   %6.2f %% of one core\n", on);
    std::printf("  the equalizer's cost     %6.2f %% of one core more   goal: under 1 %%\n", on - off);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> sections(argv + 1, argv + argc);
    const auto wanted = [&](const std::string& name) {
        return sections.empty() || std::find(sections.begin(), sections.end(), name) != sections.end();
    };
    if (wanted("gapless")) gapless();
    if (wanted("loudness")) loudness();
    if (wanted("equalizer")) equalizer();
    return 0;
}
