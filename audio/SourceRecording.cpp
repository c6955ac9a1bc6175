#include "audio/SourceRecording.h"

#include "net/DiskCache.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <iterator>

SourceRecording::SourceRecording(std::shared_ptr<DiskCache> cache, std::string key)
    : cache_(std::move(cache)), key_(std::move(key)) {
    if (!cache_ || cache_->folder().empty()) {
        failed_ = true;
        return;
    }
    std::string pattern = cache_->folder() + "/.recording-XXXXXX" + kScratchSuffix;
    fd_ = ::mkstemps(pattern.data(), static_cast<int>(std::char_traits<char>::length(kScratchSuffix)));
    if (fd_ < 0) {
        failed_ = true;
        return;
    }
    ::fcntl(fd_, F_SETFD, FD_CLOEXEC);
    scratchPath_ = pattern;
}

SourceRecording::~SourceRecording() {
    if (fd_ >= 0) ::close(fd_);
    if (!adopted_ && !scratchPath_.empty()) ::unlink(scratchPath_.c_str());
}

void SourceRecording::setSize(int64_t bytes) {
    if (bytes > 0 && size_ < 0) size_ = bytes;
}

int64_t SourceRecording::keptFrom(int64_t position) const {
    auto after = pieces_.upper_bound(position);
    if (after == pieces_.begin()) return 0;
    const auto& [start, end] = *std::prev(after);
    return end > position ? end - position : 0;
}

int64_t SourceRecording::nextKeptAfter(int64_t position) const {
    const auto after = pieces_.upper_bound(position);
    return after == pieces_.end() ? -1 : after->first;
}

bool SourceRecording::read(int64_t position, uint8_t* out, int64_t count) const {
    while (count > 0) {
        const ssize_t got = ::pread(fd_, out, static_cast<size_t>(count), position);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        out += got;
        position += got;
        count -= got;
    }
    return true;
}

void SourceRecording::write(int64_t position, const uint8_t* bytes, int64_t count) {
    if (failed_ || adopted_ || count <= 0) return;
    for (int64_t done = 0; done < count;) {
        const ssize_t put = ::pwrite(fd_, bytes + done, static_cast<size_t>(count - done), position + done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            failed_ = true;
            return;
        }
        done += put;
    }
    // Merge [position, position + count) with the pieces it touches.
    int64_t start = position;
    int64_t end = position + count;
    auto it = pieces_.upper_bound(start);
    if (it != pieces_.begin() && std::prev(it)->second >= start) --it;
    while (it != pieces_.end() && it->first <= end) {
        start = std::min(start, it->first);
        end = std::max(end, it->second);
        it = pieces_.erase(it);
    }
    pieces_.emplace(start, end);
    adoptWhenWhole();
}

void SourceRecording::adoptWhenWhole() {
    if (size_ <= 0 || pieces_.size() != 1 || pieces_.begin()->first != 0 || pieces_.begin()->second < size_) return;
    // What is renamed into place must be on the disk first, or a crash could
    // leave an entry of the right name with holes in it.
    if (::ftruncate(fd_, size_) != 0 || ::fdatasync(fd_) != 0 || !cache_->adopt(key_, scratchPath_)) {
        failed_ = true;
        return;
    }
    adopted_ = true;
}
