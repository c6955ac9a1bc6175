#pragma once
// Shaped pictures kept in memory, bounded by their size in bytes: when a new
// picture would pass the bound, the pictures used longest ago go first.
// Safe on any thread.
#include <QImage>
#include <cstdint>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

class PictureMemoryCache {
public:
    explicit PictureMemoryCache(std::int64_t maxBytes) : maxBytes_(maxBytes) {}

    std::optional<QImage> find(const std::string& key);
    // A picture larger than the whole bound is not kept.
    void insert(const std::string& key, const QImage& picture);
    std::int64_t usedBytes() const;

private:
    using Entry = std::pair<std::string, QImage>;

    const std::int64_t maxBytes_;
    mutable std::mutex mutex_;  // guards everything below
    std::list<Entry> byUse_;    // most recently used first
    std::unordered_map<std::string, std::list<Entry>::iterator> byKey_;
    std::int64_t usedBytes_ = 0;
};
