#pragma once
// Songs' audio as it was played, kept on disk so that a song played again,
// sought back in or played without a network needs no audio request, and a
// download of it copies it. An entry is a song's whole file as the service
// sent it, keyed by the song's id and the quality song URLs ask for; it is
// kept once a play has read every byte of it (see SourceRecording), and the
// folder stays under its bound by letting the songs played longest ago go.
//
// Threads: any; the quality is guarded by `mutex_`, the disk cache locks
// inside.
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

class DiskCache;
class SourceRecording;

class PlayedAudioCache {
public:
    static constexpr std::int64_t kDefaultMaxBytes = 1LL << 30;

    // `folder` is created when missing; scratch files a run before left there
    // (a song cut short by a crash) are removed.
    PlayedAudioCache(std::string folder, std::int64_t maxBytes);
    ~PlayedAudioCache();

    // The quality song URLs ask for from now on (standard, higher, exhigh, lossless).
    void setQuality(std::string quality);
    // The key of `songId` in the quality asked for now.
    std::string keyOf(const std::string& songId) const;
    // The file of the song's audio kept under `key`; counts as a use.
    std::optional<std::string> find(const std::string& key) const;
    // A recording whose bytes become the entry of `key` once it holds them all.
    std::shared_ptr<SourceRecording> record(const std::string& key) const;

    void setMaxBytes(std::int64_t maxBytes);
    std::int64_t maxBytes() const;

private:
    const std::shared_ptr<DiskCache> disk_;
    mutable std::mutex mutex_;
    std::string quality_ = "exhigh";  // guarded by mutex_
};
