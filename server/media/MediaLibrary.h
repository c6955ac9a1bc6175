#pragma once
// The audio and video files the server streams, made on first use from the
// synthesised clips with the ffmpeg command and kept in a cache folder, so
// later starts (and other server processes sharing the folder) reuse them.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>

enum class AudioFormat { Mp3, Flac };

struct MediaFile {
    std::filesystem::path path;
    std::uintmax_t size = 0;
    std::string md5;
};

class MediaLibrary {
public:
    explicit MediaLibrary(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return folder_; }

    // The encoded file of an audio clip; nothing when it cannot be made.
    std::optional<MediaFile> audio(int clipIndex, AudioFormat format);
    // The short video that stands behind every MV.
    std::optional<MediaFile> mvVideo();
    // Makes every file now, one after another until `stop` is requested;
    // false when one of them could not be made or it was stopped.
    bool prepareAll(std::stop_token stop = {});

private:
    using Maker = std::function<bool(const std::filesystem::path& target)>;
    std::optional<MediaFile> obtain(const std::string& fileName, const Maker& make);

    const std::filesystem::path folder_;
    std::mutex mutex_;                        // guards known_; held while a file is made
    std::map<std::string, MediaFile> known_;  // by file name
};
