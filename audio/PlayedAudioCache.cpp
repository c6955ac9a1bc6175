#include "audio/PlayedAudioCache.h"

#include "audio/SourceRecording.h"
#include "net/DiskCache.h"

#include <filesystem>

namespace {

void removeScratchFiles(const std::string& folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().filename().string().ends_with(SourceRecording::kScratchSuffix))
            std::filesystem::remove(entry.path(), error);
    }
}

}  // namespace

PlayedAudioCache::PlayedAudioCache(std::string folder, std::int64_t maxBytes)
    : disk_(std::make_shared<DiskCache>(folder, maxBytes)) {
    if (!folder.empty()) removeScratchFiles(folder);
}

PlayedAudioCache::~PlayedAudioCache() = default;

void PlayedAudioCache::setQuality(std::string quality) {
    const std::lock_guard lock(mutex_);
    quality_ = std::move(quality);
}

std::string PlayedAudioCache::keyOf(const std::string& songId) const {
    const std::lock_guard lock(mutex_);
    return "song/" + songId + "/" + quality_;
}

std::optional<std::string> PlayedAudioCache::find(const std::string& key) const { return disk_->entryPath(key); }

std::shared_ptr<SourceRecording> PlayedAudioCache::record(const std::string& key) const {
    return std::make_shared<SourceRecording>(disk_, key);
}

void PlayedAudioCache::setMaxBytes(std::int64_t maxBytes) { disk_->setMaxBytes(maxBytes); }

std::int64_t PlayedAudioCache::maxBytes() const { return disk_->maxBytes(); }
