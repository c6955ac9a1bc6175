#include "audio/MemoryInput.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

namespace {

constexpr int kChunkBytes = 64 * 1024;

}  // namespace

MemoryInput::MemoryInput(std::shared_ptr<const std::string> bytes, int64_t offset)
    : bytes_(std::move(bytes)), offset_(offset) {
    auto* chunk = static_cast<unsigned char*>(av_malloc(kChunkBytes));
    if (!chunk) return;
    context_ = avio_alloc_context(chunk, kChunkBytes, 0, this, &MemoryInput::read, nullptr, &MemoryInput::seek);
    if (!context_) av_free(chunk);
}

MemoryInput::~MemoryInput() {
    if (!context_) return;
    av_freep(&context_->buffer);
    avio_context_free(&context_);
}

int MemoryInput::read(void* opaque, uint8_t* buffer, int size) {
    auto* self = static_cast<MemoryInput*>(opaque);
    const int64_t count = std::min<int64_t>(size, self->size() - self->position_);
    if (count <= 0) return AVERROR_EOF;
    std::memcpy(buffer, self->bytes_->data() + self->offset_ + self->position_, static_cast<size_t>(count));
    self->position_ += count;
    return static_cast<int>(count);
}

int64_t MemoryInput::seek(void* opaque, int64_t offset, int whence) {
    auto* self = static_cast<MemoryInput*>(opaque);
    const int64_t total = self->size();
    if (whence & AVSEEK_SIZE) return total;
    int64_t target = offset;
    switch (whence & ~AVSEEK_FORCE) {
        case SEEK_SET: break;
        case SEEK_CUR: target += self->position_; break;
        case SEEK_END: target += total; break;
        default: return AVERROR(EINVAL);
    }
    if (target < 0 || target > total) return AVERROR(EINVAL);
    self->position_ = target;
    return target;
}
