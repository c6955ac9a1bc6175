#pragma once
// A bounded cache of fetched bytes in a folder on disk, keyed by text (a
// URL). Each entry is one file named after the key's SHA-1, written under a
// temporary name and renamed into place, so a crash never leaves half an
// entry. When the folder grows past its bound, the entries used longest ago
// go first (reading an entry counts as a use). Safe on any thread.
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

class DiskCache {
public:
    // `folder` is created when missing. An empty folder name gives a cache
    // that keeps nothing.
    DiskCache(std::string folder, std::int64_t maxBytes);

    std::optional<std::string> read(const std::string& key) const;
    // Stores `bytes` (an empty value is not stored), then trims the folder
    // back under its bound.
    void write(const std::string& key, const std::string& bytes);

    const std::string& folder() const { return folder_; }

private:
    std::string pathOf(const std::string& key) const;
    void trimLocked();

    const std::string folder_;
    const std::int64_t maxBytes_;
    mutable std::mutex mutex_;   // guards the two fields below and serialises trims
    std::int64_t usedBytes_ = 0;  // the folder's entries in bytes, as last counted
    bool counted_ = false;       // whether the folder was counted since start
};
