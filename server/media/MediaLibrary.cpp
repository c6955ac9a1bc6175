#include "server/media/MediaLibrary.h"

#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <thread>
#include <vector>

#include "server/Md5.h"
#include "server/media/AudioClips.h"
#include "server/media/ExternalCommand.h"
#include "server/media/ToneSynth.h"

namespace fs = std::filesystem;

namespace {

// Bump when the synthesis or the encoder settings change, so old caches are
// not served.
constexpr const char* kMediaVersion = "v2";

// A name no other thread or process writes to.
fs::path scratchPath(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    return fs::path(target.string() + ".part-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
}

std::vector<std::string> ffmpegBase() { return {"ffmpeg", "-nostdin", "-loglevel", "error", "-y"}; }

bool encodeClip(const AudioClip& clip, AudioFormat format, const fs::path& target) {
    const fs::path wav = scratchPath(target);
    {
        std::ofstream out(wav, std::ios::binary);
        out << wavFileBytes(synthesiseClip(clip));
        if (!out) return false;
    }
    std::vector<std::string> arguments = ffmpegBase();
    arguments.insert(arguments.end(),
                     {"-f", "wav", "-i", wav.string(), "-metadata", std::string("title=") + clip.name});
    if (format == AudioFormat::Mp3) {
        // LAME's quick search (level 7) is plenty for synthesised tones and
        // keeps a minute of music under half a second of encoding.
        arguments.insert(arguments.end(),
                         {"-c:a", "libmp3lame", "-b:a", "192k", "-compression_level", "7", "-f", "mp3"});
    } else {
        arguments.insert(arguments.end(), {"-c:a", "flac", "-f", "flac"});
    }
    arguments.push_back(target.string());
    const bool encoded = runCommand(arguments);
    fs::remove(wav);
    return encoded;
}

bool encodeMvVideo(const fs::path& target) {
    const std::string seconds = std::to_string(kMvVideoSeconds);
    std::vector<std::string> arguments = ffmpegBase();
    arguments.insert(arguments.end(),
                     {"-f",         "lavfi",   "-i",        "testsrc2=size=640x360:rate=25:duration=" + seconds,
                      "-f",         "lavfi",   "-i",        "sine=frequency=523:beep_factor=2:duration=" + seconds,
                      "-c:v",       "libx264", "-preset",   "veryfast",
                      "-pix_fmt",   "yuv420p", "-c:a",      "aac",
                      "-b:a",       "96k",     "-shortest", "-movflags",
                      "+faststart", "-f",      "mp4",       target.string()});
    return runCommand(arguments);
}

}  // namespace

MediaLibrary::MediaLibrary(fs::path folder) : folder_(std::move(folder)) {}

std::optional<MediaFile> MediaLibrary::audio(int clipIndex, AudioFormat format) {
    return audioFile(clipIndex, format, Urgency::Asked);
}

std::optional<MediaFile> MediaLibrary::mvVideo() { return videoFile(Urgency::Asked); }

std::optional<MediaFile> MediaLibrary::audioFile(int clipIndex, AudioFormat format, Urgency urgency) {
    const auto& clips = audioClips();
    if (clipIndex < 0 || clipIndex >= static_cast<int>(clips.size())) return std::nullopt;
    const AudioClip& clip = clips[clipIndex];
    const std::string name =
        std::string("clip-") + clip.name + "-" + kMediaVersion + (format == AudioFormat::Mp3 ? ".mp3" : ".flac");
    return obtain(
        name, [&clip, format](const fs::path& target) { return encodeClip(clip, format, target); }, urgency);
}

std::optional<MediaFile> MediaLibrary::videoFile(Urgency urgency) {
    return obtain(std::string("mv-demo-") + kMediaVersion + ".mp4", encodeMvVideo, urgency);
}

bool MediaLibrary::prepareAll(std::stop_token stop) {
    std::vector<std::function<bool()>> steps = {[this] { return videoFile(Urgency::Preparing).has_value(); }};
    for (int i = 0; i < static_cast<int>(audioClips().size()); ++i) {
        steps.push_back([this, i] { return audioFile(i, AudioFormat::Mp3, Urgency::Preparing).has_value(); });
        steps.push_back([this, i] { return audioFile(i, AudioFormat::Flac, Urgency::Preparing).has_value(); });
    }
    std::atomic<std::size_t> next{0};
    std::atomic<bool> all{true};
    auto work = [&] {
        // At the lowest priority, which the ffmpeg runs inherit: a file
        // asked for meanwhile gets the processor.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
        for (std::size_t step = next++; step < steps.size(); step = next++) {
            if (!waitUntilNothingAsked(stop)) return;
            if (!steps[step]()) all = false;
        }
    };
    {
        std::jthread second(work);
        work();
    }
    return all && !stop.stop_requested();
}

bool MediaLibrary::waitUntilNothingAsked(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    // The wait answers its predicate, which holds after a stop as well.
    return askedDone_.wait(lock, stop, [this] { return askedBeingMade_ == 0; }) && !stop.stop_requested();
}

std::optional<MediaFile> MediaLibrary::obtain(const std::string& fileName, const Maker& make, Urgency urgency) {
    std::shared_ptr<Entry> entry;
    {
        std::lock_guard lock(mutex_);
        std::shared_ptr<Entry>& slot = entries_[fileName];
        if (!slot) slot = std::make_shared<Entry>();
        entry = slot;
        if (urgency == Urgency::Asked) ++askedBeingMade_;
    }
    struct AskedDone {
        MediaLibrary& library;
        Urgency urgency;
        ~AskedDone() {
            if (urgency != Urgency::Asked) return;
            {
                std::lock_guard lock(library.mutex_);
                --library.askedBeingMade_;
            }
            library.askedDone_.notify_all();
        }
    } done{*this, urgency};

    std::lock_guard making(entry->making);
    if (entry->file) return entry->file;
    const fs::path target = folder_ / fileName;
    std::error_code error;
    if (!fs::exists(target, error)) {
        fs::create_directories(folder_, error);
        // Made under a scratch name and renamed, so a reader never sees half a file.
        const fs::path scratch = scratchPath(target);
        if (!make(scratch)) {
            fs::remove(scratch, error);
            return std::nullopt;
        }
        fs::rename(scratch, target, error);
        if (error) return std::nullopt;
    }
    std::optional<std::string> md5 = md5HexOfFile(target);
    const std::uintmax_t size = fs::file_size(target, error);
    if (!md5 || error) return std::nullopt;
    entry->file = MediaFile{target, size, *md5};
    return entry->file;
}
