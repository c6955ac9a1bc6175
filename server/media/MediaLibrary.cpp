#include "server/media/MediaLibrary.h"

#include <unistd.h>

#include <atomic>
#include <fstream>

#include "server/Md5.h"
#include "server/media/AudioClips.h"
#include "server/media/ExternalCommand.h"
#include "server/media/ToneSynth.h"

namespace fs = std::filesystem;

namespace {

// Bump when the synthesis or the encoder settings change, so old caches are
// not served.
constexpr const char* kMediaVersion = "v1";

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
    arguments.insert(arguments.end(), {"-f", "wav", "-i", wav.string(), "-metadata", std::string("title=") + clip.name});
    if (format == AudioFormat::Mp3) {
        arguments.insert(arguments.end(), {"-c:a", "libmp3lame", "-b:a", "192k", "-f", "mp3"});
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
                     {"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=" + seconds, "-f", "lavfi", "-i",
                      "sine=frequency=523:beep_factor=2:duration=" + seconds, "-c:v", "libx264", "-preset", "veryfast",
                      "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "96k", "-shortest", "-movflags", "+faststart",
                      "-f", "mp4", target.string()});
    return runCommand(arguments);
}

}  // namespace

MediaLibrary::MediaLibrary(fs::path folder) : folder_(std::move(folder)) {}

std::optional<MediaFile> MediaLibrary::audio(int clipIndex, AudioFormat format) {
    const auto& clips = audioClips();
    if (clipIndex < 0 || clipIndex >= static_cast<int>(clips.size())) return std::nullopt;
    const AudioClip& clip = clips[clipIndex];
    const std::string name = std::string("clip-") + clip.name + "-" + kMediaVersion +
                             (format == AudioFormat::Mp3 ? ".mp3" : ".flac");
    return obtain(name, [&clip, format](const fs::path& target) { return encodeClip(clip, format, target); });
}

std::optional<MediaFile> MediaLibrary::mvVideo() {
    return obtain(std::string("mv-demo-") + kMediaVersion + ".mp4", encodeMvVideo);
}

bool MediaLibrary::prepareAll(std::stop_token stop) {
    std::vector<std::function<bool()>> steps = {[this] { return mvVideo().has_value(); }};
    for (int i = 0; i < static_cast<int>(audioClips().size()); ++i) {
        steps.push_back([this, i] { return audio(i, AudioFormat::Mp3).has_value(); });
        steps.push_back([this, i] { return audio(i, AudioFormat::Flac).has_value(); });
    }
    bool all = true;
    for (const auto& step : steps) {
        if (stop.stop_requested()) return false;
        all = step() && all;
    }
    return all;
}

std::optional<MediaFile> MediaLibrary::obtain(const std::string& fileName, const Maker& make) {
    std::lock_guard lock(mutex_);
    if (auto known = known_.find(fileName); known != known_.end()) return known->second;

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
    MediaFile file{target, size, *md5};
    known_.emplace(fileName, file);
    return file;
}
