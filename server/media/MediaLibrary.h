#pragma once
// The audio and video files the server streams, made on first use from the
// synthesised clips with the ffmpeg command and kept in a cache folder, so
// later starts (and other server processes sharing the folder) reuse them.
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
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
    // A file asked for here is made at once, ahead of the preparation.
    std::optional<MediaFile> audio(int clipIndex, AudioFormat format);
    // The short video that stands behind every MV.
    std::optional<MediaFile> mvVideo();
    // Makes every file now, two at a time, until `stop` is requested; false
    // when one of them could not be made or it was stopped. It steps aside
    // while a file asked for is being made.
    bool prepareAll(std::stop_token stop = {});

private:
    using Maker = std::function<bool(const std::filesystem::path& target)>;
    // One file: its lock is held while it is made, so two files are made
    // side by side and one file only once.
    struct Entry {
        std::mutex making;
        std::optional<MediaFile> file;  // guarded by `making`
    };
    enum class Urgency { Asked, Preparing };

    std::optional<MediaFile> audioFile(int clipIndex, AudioFormat format, Urgency urgency);
    std::optional<MediaFile> videoFile(Urgency urgency);
    std::optional<MediaFile> obtain(const std::string& fileName, const Maker& make, Urgency urgency);
    // Waits while a file asked for is being made; false when stopped.
    bool waitUntilNothingAsked(std::stop_token stop);

    const std::filesystem::path folder_;
    std::mutex mutex_;                                       // guards the members below (not the files' making)
    std::map<std::string, std::shared_ptr<Entry>> entries_;  // by file name
    int askedBeingMade_ = 0;
    std::condition_variable_any askedDone_;
};
