#include "audio/AudioStream.h"

#include "base/TaskStop.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <stop_token>
#include <vector>

std::unique_ptr<AudioStream> AudioStream::feed(MediaLocation location, FeedSettings settings,
                                               std::shared_ptr<ThreadReaper> reaper) {
    auto cancel = std::make_shared<CancelToken>();
    std::optional<FedStream> fed;
    {
        // A stop request of the task making the stream abandons the open at
        // once: it fires the stream's token, which FFmpeg's interrupt callback
        // reads while it connects and waits for data. The callback runs on
        // the thread asking for the stop, or here when that has happened
        // already. Once open, the stream answers to its own token only.
        std::stop_callback abandonOpen(TaskStop::current(), [token = cancel.get()] { token->cancel(); });
        fed = startFeeding(std::move(location), cancel, std::move(settings));
    }
    if (!fed) return nullptr;
    std::unique_ptr<AudioStream> stream(new AudioStream(*fed, cancel, std::move(reaper)));
    // A stop that came as the open ended has cancelled the stream's reads;
    // the stream and its decode thread end here.
    if (cancel->cancelled()) return nullptr;
    return stream;
}

std::unique_ptr<AudioStream> AudioStream::create(MediaLocation location, FeedSettings settings, AudioOutput& output,
                                                 AudioOutput& fallback, std::shared_ptr<ThreadReaper> reaper) {
    auto stream = feed(std::move(location), std::move(settings), std::move(reaper));
    if (!stream) return nullptr;
    stream->lane_ = OutputLane::open({stream->sampleRate_, stream->channels_}, output, fallback);
    if (!stream->lane_) return nullptr;
    stream->lane_->join(*stream);
    stream->buffer_->setOutputLatency(stream->lane_->latencyFrames());
    return stream;
}

std::unique_ptr<AudioStream> AudioStream::createFollower(MediaLocation location, FeedSettings settings,
                                                         AudioStream& leader, std::shared_ptr<ThreadReaper> reaper) {
    const SinkFormat& format = leader.lane_->format();
    settings.format = {format.sampleRate, format.channels};
    auto stream = feed(std::move(location), std::move(settings), std::move(reaper));
    if (!stream) return nullptr;
    stream->lane_ = leader.lane_;
    stream->buffer_->setOutputLatency(stream->lane_->latencyFrames());
    leader.setLooping(false);
    stream->lane_->join(*stream);
    return stream;
}

AudioStream::AudioStream(FedStream& fed, std::shared_ptr<CancelToken> cancel, std::shared_ptr<ThreadReaper> reaper)
    : sampleRate_(fed.sampleRate),
      channels_(fed.channels),
      lengthFrames_(fed.lengthFrames),
      buffer_(fed.buffer),
      cancel_(std::move(cancel)),
      reaper_(std::move(reaper)),
      decodeThread_(std::move(fed.thread)) {}

AudioStream::~AudioStream() {
    if (lane_) lane_->leave(*this);  // no renderFrames() runs after this
    cancel_->cancel();
    buffer_->close();
    reaper_->retire(std::move(decodeThread_));
}

void AudioStream::absorbTakeover() {
    if (tookOver_.exchange(false, std::memory_order_acq_rel)) state_ = State::kPlaying;
}

bool AudioStream::play(bool restart) {
    std::lock_guard lock(controlMutex_);
    absorbTakeover();
    if (restart && buffer_->heardSourceFrame() != 0) buffer_->seek(0);
    if (state_ == State::kPlaying) return true;
    if (!lane_->start(*this)) return false;
    state_ = State::kPlaying;
    return true;
}

bool AudioStream::pause() {
    std::lock_guard lock(controlMutex_);
    absorbTakeover();
    if (state_ != State::kPlaying) return false;
    haltOutput();
    state_ = State::kPaused;
    return true;
}

bool AudioStream::stop() {
    std::lock_guard lock(controlMutex_);
    absorbTakeover();
    if (state_ == State::kPlaying) haltOutput();
    state_ = State::kStopped;
    return true;
}

void AudioStream::haltOutput() {
    if (lane_->halt(*this)) buffer_->rewindToHeard();
}

int AudioStream::activity() const {
    State state;
    {
        std::lock_guard lock(controlMutex_);
        state = tookOver_.load(std::memory_order_acquire) ? State::kPlaying : state_;
    }
    switch (state) {
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

bool AudioStream::nearEnd(int64_t leadFrames) const {
    const int now = activity();
    if (now != StreamActivity::kPlaying && now != StreamActivity::kStalled) return false;
    if (buffer_->looping()) return false;
    if (buffer_->decodedToEnd()) return true;
    return lengthFrames_ >= 0 && lengthFrames_ - positionFrames() <= leadFrames;
}

std::array<float, kSpectrumBins> AudioStream::spectrum() const {
    std::vector<int16_t> frames(static_cast<size_t>(kSpectrumFrames * channels_));
    buffer_->copyHeardTail(kSpectrumFrames, frames.data());
    return spectrumOf(frames.data(), channels_);
}

int64_t AudioStream::renderFrames(float* out, int64_t frames) {
    // One render for the whole pull, as for 16-bit outputs: the frames that
    // are real come first. The scratch grows to the device's period once.
    const auto samples = static_cast<size_t>(frames * channels_);
    if (floatScratch_.size() < samples) floatScratch_.resize(samples);
    const int64_t real = buffer_->render(floatScratch_.data(), frames);
    const float gain = gain_.load(std::memory_order_relaxed) * loudnessGain_.load(std::memory_order_relaxed);
    const float scale = gain / 32768.0f;
    for (size_t i = 0; i < samples; ++i) out[i] = std::clamp(floatScratch_[i] * scale, -1.0f, 1.0f);
    return real;
}

int64_t AudioStream::renderFrames(int16_t* out, int64_t frames) {
    const int64_t real = buffer_->render(out, frames);
    const float gain = gain_.load(std::memory_order_relaxed) * loudnessGain_.load(std::memory_order_relaxed);
    if (gain != 1.0f) {
        for (int64_t i = 0; i < real * channels_; ++i)
            out[i] = static_cast<int16_t>(std::clamp(std::lrintf(out[i] * gain), -32768L, 32767L));
    }
    return real;
}
