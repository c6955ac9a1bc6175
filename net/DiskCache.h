#pragma once
// A bounded cache of fetched bytes in a folder on disk, keyed by text (a
// URL). Each entry is one file named after the key's SHA-1, written under a
// temporary name and renamed into place, so a crash never leaves half an
// entry. When the folder grows past its bound, the entries used longest ago
// go first (reading an entry counts as a use). Safe on any thread.
//
// Big entries (songs) are not read into memory: whoever fills one writes a
// scratch file in the folder (any name not ending in ".bin"), hands it over
// with adopt() once it is complete, and readers open entryPath().
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
    // The file holding `key`'s entry, to be read in place; counts as a use.
    std::optional<std::string> entryPath(const std::string& key) const;
    // Makes the complete file at `path`, a scratch file in the cache's
    // folder, the entry of `key` (replacing one before), then trims the
    // folder back under its bound. False, leaving the file where it is, when
    // it cannot be moved.
    bool adopt(const std::string& key, const std::string& path);
    // The bound from the next write on.
    void setMaxBytes(std::int64_t maxBytes);
    std::int64_t maxBytes() const;

    const std::string& folder() const { return folder_; }

private:
    std::string pathOf(const std::string& key) const;
    // Counts `replaced` bytes out and `added` in, then trims.
    void accountAndTrim(std::int64_t replaced, std::int64_t added);
    void trimLocked();

    const std::string folder_;
    mutable std::mutex mutex_;  // guards the three fields below and serialises trims
    std::int64_t maxBytes_;
    std::int64_t usedBytes_ = 0;  // the folder's entries in bytes, as last counted
    bool counted_ = false;        // whether the folder was counted since start
};
