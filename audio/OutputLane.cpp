#include "audio/OutputLane.h"

#include <algorithm>

#include "audio/AudioStream.h"

#include <cstring>

std::shared_ptr<OutputLane> OutputLane::open(const SinkFormat& format, AudioOutput& output, AudioOutput& fallback) {
    std::shared_ptr<OutputLane> lane(new OutputLane(format));
    lane->sink_ = output.open(format, *lane);
    if (!lane->sink_) lane->sink_ = fallback.open(format, *lane);
    if (!lane->sink_) return nullptr;
    lane->latency_.store(lane->sink_->latencyFrames(), std::memory_order_release);
    return lane;
}

OutputLane::~OutputLane() { sink_.reset(); }  // no render() runs after this

void OutputLane::join(AudioStream& stream) {
    std::lock_guard lock(renderMutex_);
    if (!current_) {
        current_ = &stream;
    } else if (current_ != &stream) {
        queued_ = &stream;
    }
}

void OutputLane::leave(AudioStream& stream) {
    std::lock_guard control(controlMutex_);
    bool wasCurrent = false;
    {
        std::lock_guard lock(renderMutex_);
        if (current_ == &stream) {
            current_ = nullptr;
            wasCurrent = true;
        }
        if (queued_ == &stream) queued_ = nullptr;
        if (finishing_ == &stream) finishing_ = nullptr;
    }
    if (wasCurrent && running_) {
        sink_->stop();
        running_ = false;
    }
}

bool OutputLane::start(AudioStream& stream) {
    std::lock_guard control(controlMutex_);
    {
        std::lock_guard lock(renderMutex_);
        if (queued_ == &stream) {
            if (current_) finishing_ = current_;
            current_ = &stream;
            queued_ = nullptr;
        }
        if (!current_) current_ = &stream;
        if (current_ != &stream) return false;
    }
    if (running_) return true;
    running_ = sink_->start();
    return running_;
}

bool OutputLane::halt(AudioStream& stream) {
    std::lock_guard control(controlMutex_);
    {
        std::lock_guard lock(renderMutex_);
        if (current_ != &stream) return false;
    }
    if (running_) {
        sink_->stop();
        running_ = false;
    }
    return true;
}

bool OutputLane::moveTo(AudioOutput& output, AudioOutput& fallback) {
    std::lock_guard control(controlMutex_);
    std::unique_ptr<AudioSink> sink = output.open(format_, *this);
    if (!sink) sink = fallback.open(format_, *this);
    if (!sink) return false;
    const bool wasRunning = running_;
    if (running_) {
        sink_->stop();
        running_ = false;
    }
    sink_ = std::move(sink);  // the old sink closes; no render() runs now
    latency_.store(sink_->latencyFrames(), std::memory_order_release);
    {
        std::lock_guard lock(renderMutex_);
        for (AudioStream* stream : {current_, queued_, finishing_}) {
            if (!stream) continue;
            // Where it was heard counts by the old output's latency.
            if (stream == current_) stream->buffer().rewindToHeard();
            stream->buffer().setOutputLatency(sink_->latencyFrames());
        }
    }
    if (wasRunning) running_ = sink_->start();
    return true;
}

int64_t OutputLane::render(int16_t* out, int64_t frames) { return pull(out, frames); }

int64_t OutputLane::renderFloat(float* out, int64_t frames) { return pull(out, frames); }

template <typename Sample>
int64_t OutputLane::pull(Sample* out, int64_t frames) {
    std::lock_guard lock(renderMutex_);
    if (finishing_) {
        finishing_->buffer().recordIdlePull(frames);
        if (finishing_->buffer().ended()) finishing_ = nullptr;
    }
    if (!current_) {
        std::fill_n(out, frames * format_.channels, Sample{});
        return 0;
    }
    int64_t real = current_->renderFrames(out, frames);
    if (real < frames && queued_ && current_->buffer().drained()) {
        // The current stream has given its last frame: the queued one goes
        // on in the same pull. A stream still finishing from a handover
        // before (a song shorter than the device's latency) counts as heard.
        if (finishing_) finishing_->buffer().recordIdlePull(latencyFrames());
        finishing_ = current_;
        current_ = queued_;
        queued_ = nullptr;
        current_->takeOverOutput();
        const int64_t channels = format_.channels;
        real += current_->renderFrames(out + real * channels, frames - real);
    }
    return real;
}

bool OutputLane::canRender(int64_t frames) const {
    std::lock_guard lock(renderMutex_);
    if (!current_) return true;
    // A pull that runs past the current stream's end goes on with the queued one.
    const int64_t left = current_->buffer().framesLeftToPull();
    if (queued_ && left >= 0 && left < frames) return queued_->buffer().canRender(frames - left);
    return current_->buffer().canRender(frames);
}
