#include "server/media/DrawnPictures.h"

std::string DrawnPictures::obtain(const std::string& key, const std::function<std::string()>& draw) {
    {
        const std::lock_guard lock(mutex_);
        if (auto found = kept_.find(key); found != kept_.end()) {
            byUse_.splice(byUse_.begin(), byUse_, found->second.second);
            return found->second.first;
        }
    }
    // Drawn outside the lock, so other pictures are served meanwhile; two
    // threads asking for the same new picture both draw it.
    std::string bytes = draw();
    const std::lock_guard lock(mutex_);
    if (kept_.contains(key)) return bytes;
    byUse_.push_front(key);
    kept_.emplace(key, std::make_pair(bytes, byUse_.begin()));
    while (kept_.size() > capacity_) {
        kept_.erase(byUse_.back());
        byUse_.pop_back();
    }
    return bytes;
}
