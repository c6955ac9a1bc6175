#include "audio/AudioStream.h"

#include "audio/StreamFeeder.h"
#include "base/TaskStop.h"

#include <cmath>
#include <optional>
#include <stop_token>
#include <vector>

std::unique_ptr<AudioStream> AudioStream::create(MediaLocation location, bool loop, AudioOutput& output,
                                                 AudioOutput& fallback) {
    auto cancel = std::make_shared<CancelToken>();
    std::optional<FedStream> fed;
    {
        // A stop request of the task making the stream abandons the open at
        // once: it fires the stream's token, which FFmpeg's interrupt callback
        // reads while it connects and waits for data. The callback runs on
        // the thread asking for the stop, or here when that has happened
        // already. Once open, the stream answers to its own token only.
        std::stop_callback abandonOpen(TaskStop::current(), [token = cancel.get()] { token->cancel(); });
        fed = startFeeding(std::move(location), loop, cancel);
    }
    if (!fed) return nullptr;
    std::unique_ptr<AudioStream> stream(
        new AudioStream(fed->sampleRate, fed->channels, fed->lengthFrames, fed->buffer, cancel));
    // A stop that came as the open ended has cancelled the stream's reads;
    // the stream and its decode thread end here.
    if (cancel->cancelled()) return nullptr;
    const SinkFormat format{fed->sampleRate, fed->channels};
    stream->sink_ = output.open(format, *stream);
    if (!stream->sink_) stream->sink_ = fallback.open(format, *stream);
    if (!stream->sink_) return nullptr;
    stream->buffer_->setOutputLatency(stream->sink_->latencyFrames());
    return stream;
}

AudioStream::AudioStream(int sampleRate, int channels, int64_t lengthFrames, std::shared_ptr<StreamBuffer> buffer,
                         std::shared_ptr<CancelToken> cancel)
    : sampleRate_(sampleRate),
      channels_(channels),
      lengthFrames_(lengthFrames),
      buffer_(std::move(buffer)),
      cancel_(std::move(cancel)) {}

AudioStream::~AudioStream() {
    sink_.reset();  // no render() runs after this
    cancel_->cancel();
    buffer_->close();
}

bool AudioStream::play(bool restart) {
    std::lock_guard lock(controlMutex_);
    if (restart && buffer_->heardSourceFrame() != 0) buffer_->seek(0);
    if (state_ == State::kPlaying) return true;
    if (!sink_->start()) return false;
    state_ = State::kPlaying;
    return true;
}

bool AudioStream::pause() {
    std::lock_guard lock(controlMutex_);
    if (state_ != State::kPlaying) return false;
    haltSink();
    state_ = State::kPaused;
    return true;
}

bool AudioStream::stop() {
    std::lock_guard lock(controlMutex_);
    if (state_ == State::kPlaying) haltSink();
    state_ = State::kStopped;
    return true;
}

void AudioStream::haltSink() {
    sink_->stop();
    buffer_->rewindToHeard();
}

int AudioStream::activity() const {
    std::lock_guard lock(controlMutex_);
    switch (state_) {
    case State::kStopped: return StreamActivity::kStopped;
    case State::kPaused: return StreamActivity::kPaused;
    case State::kPlaying: break;
    }
    if (buffer_->ended()) return StreamActivity::kStopped;
    return buffer_->stalled() ? StreamActivity::kStalled : StreamActivity::kPlaying;
}

int64_t AudioStream::positionFrames() const { return buffer_->heardSourceFrame(); }

bool AudioStream::setPositionFrames(int64_t frame) {
    if (frame < 0 || (lengthFrames_ >= 0 && frame > lengthFrames_)) return false;
    std::lock_guard lock(controlMutex_);
    buffer_->seek(frame);
    return true;
}

std::array<float, kSpectrumBins> AudioStream::spectrum() const {
    std::vector<int16_t> frames(static_cast<size_t>(kSpectrumFrames * channels_));
    buffer_->copyHeardTail(kSpectrumFrames, frames.data());
    return spectrumOf(frames.data(), channels_);
}

int64_t AudioStream::render(int16_t* out, int64_t frames) {
    const int64_t real = buffer_->render(out, frames);
    const float gain = gain_.load(std::memory_order_relaxed);
    if (gain != 1.0f) {
        for (int64_t i = 0; i < real * channels_; ++i) out[i] = static_cast<int16_t>(std::lrintf(out[i] * gain));
    }
    return real;
}
