#include "ui/pictures/PictureMemoryCache.h"

std::optional<QImage> PictureMemoryCache::find(const std::string& key) {
    const std::lock_guard lock(mutex_);
    const auto found = byKey_.find(key);
    if (found == byKey_.end()) return std::nullopt;
    byUse_.splice(byUse_.begin(), byUse_, found->second);
    return found->second->second;
}

void PictureMemoryCache::insert(const std::string& key, const QImage& picture) {
    const std::int64_t cost = picture.sizeInBytes();
    if (cost > maxBytes_) return;
    const std::lock_guard lock(mutex_);
    if (const auto found = byKey_.find(key); found != byKey_.end()) {
        usedBytes_ -= found->second->second.sizeInBytes();
        byUse_.erase(found->second);
        byKey_.erase(found);
    }
    while (!byUse_.empty() && usedBytes_ + cost > maxBytes_) {
        usedBytes_ -= byUse_.back().second.sizeInBytes();
        byKey_.erase(byUse_.back().first);
        byUse_.pop_back();
    }
    byUse_.emplace_front(key, picture);
    byKey_[key] = byUse_.begin();
    usedBytes_ += cost;
}

std::int64_t PictureMemoryCache::usedBytes() const {
    const std::lock_guard lock(mutex_);
    return usedBytes_;
}
