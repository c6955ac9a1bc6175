#include "audio/RecordingInput.h"

#include "audio/SourceRecording.h"

#include <algorithm>

extern "C" {
#include <libavformat/avio.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/mem.h>
}

namespace {

constexpr int kChunkBytes = 64 * 1024;

}  // namespace

RecordingInput::RecordingInput(std::string url, std::shared_ptr<SourceRecording> recording, const AVDictionary* options,
                               int (*interruptCheck)(void*), void* interruptOpaque)
    : url_(std::move(url)),
      recording_(std::move(recording)),
      interruptCheck_(interruptCheck),
      interruptOpaque_(interruptOpaque) {
    av_dict_copy(&options_, options, 0);
    auto* chunk = static_cast<unsigned char*>(av_malloc(kChunkBytes));
    if (!chunk) return;
    context_ = avio_alloc_context(chunk, kChunkBytes, 0, this, &RecordingInput::read, nullptr, &RecordingInput::seek);
    if (!context_) av_free(chunk);
}

RecordingInput::~RecordingInput() {
    avio_closep(&network_);
    av_dict_free(&options_);
    if (!context_) return;
    av_freep(&context_->buffer);
    avio_context_free(&context_);
}

bool RecordingInput::open() {
    if (!context_) return false;
    if (recording_->complete()) return true;
    return connect();
}

bool RecordingInput::connect() {
    AVDictionary* options = nullptr;
    av_dict_copy(&options, options_, 0);
    const AVIOInterruptCB interrupt{interruptCheck_, interruptOpaque_};
    const int opened = avio_open2(&network_, url_.c_str(), AVIO_FLAG_READ, &interrupt, &options);
    av_dict_free(&options);
    if (opened < 0) return false;
    recording_->setSize(avio_size(network_));
    return true;
}

int RecordingInput::readSome(uint8_t* buffer, int size) {
    if (recording_->size() > 0 && position_ >= recording_->size()) return AVERROR_EOF;
    if (const int64_t kept = recording_->keptFrom(position_); kept > 0) {
        const int count = static_cast<int>(std::min<int64_t>(size, kept));
        if (!recording_->read(position_, buffer, count)) return AVERROR(EIO);
        position_ += count;
        return count;
    }
    // Fetch up to the next piece already kept, and keep what comes.
    if (const int64_t next = recording_->nextKeptAfter(position_); next > 0)
        size = static_cast<int>(std::min<int64_t>(size, next - position_));
    if (!network_ && !connect()) return AVERROR(EIO);
    if (avio_tell(network_) != position_) {
        const int64_t moved = avio_seek(network_, position_, SEEK_SET);
        if (moved < 0) return static_cast<int>(moved);
    }
    const int got = avio_read_partial(network_, buffer, size);
    if (got == 0 || got == AVERROR_EOF) {
        // An answer that ends before its announced size was cut off.
        const bool cut = recording_->size() > 0 && position_ < recording_->size();
        return cut ? AVERROR(EIO) : AVERROR_EOF;
    }
    if (got < 0) return got;
    recording_->write(position_, buffer, got);
    position_ += got;
    return got;
}

int RecordingInput::read(void* opaque, uint8_t* buffer, int size) {
    return static_cast<RecordingInput*>(opaque)->readSome(buffer, size);
}

int64_t RecordingInput::seek(void* opaque, int64_t offset, int whence) {
    auto* self = static_cast<RecordingInput*>(opaque);
    const int64_t total = self->recording_->size();
    if (whence & AVSEEK_SIZE) return total > 0 ? total : AVERROR(ENOSYS);
    int64_t target = offset;
    switch (whence & ~AVSEEK_FORCE) {
        case SEEK_SET: break;
        case SEEK_CUR: target += self->position_; break;
        case SEEK_END:
            if (total <= 0) return AVERROR(ENOSYS);
            target += total;
            break;
        default: return AVERROR(EINVAL);
    }
    if (target < 0 || (total > 0 && target > total)) return AVERROR(EINVAL);
    self->position_ = target;
    return target;
}
