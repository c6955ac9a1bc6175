#include "audio/StreamBuffer.h"

#include "audio/Spectrum.h"

#include <algorithm>
#include <cstring>

StreamBuffer::StreamBuffer(int sampleRate, int channels)
    : channels_(channels),
      aheadFrames_(3 * static_cast<int64_t>(sampleRate)),
      historyFrames_(sampleRate),
      resumeFrames_(sampleRate / 2),
      ring_(channels, aheadFrames_ + historyFrames_) {
    positions_.startRun(0, 0);
}

StreamBuffer::Command StreamBuffer::takeCommand() {
    std::lock_guard lock(mutex_);
    if (closed_) return {Command::kClose};
    if (!seekPending_) return {};
    seekPending_ = false;
    return {Command::kSeek, seekFrame_, generation_};
}

StreamBuffer::Command StreamBuffer::waitForCommand() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return closed_ || seekPending_; });
    if (closed_) return {Command::kClose};
    seekPending_ = false;
    return {Command::kSeek, seekFrame_, generation_};
}

bool StreamBuffer::write(const int16_t* frames, int64_t count, int64_t sourceFrame, uint64_t generation) {
    std::unique_lock lock(mutex_);
    while (count > 0) {
        changed_.wait(lock,
                      [&] { return closed_ || generation != generation_ || ring_.end() - readIndex_ < aheadFrames_; });
        if (closed_ || generation != generation_) return false;
        const int64_t run = std::min(count, aheadFrames_ - (ring_.end() - readIndex_));
        if (!positions_.continuesAt(ring_.end(), sourceFrame)) positions_.startRun(ring_.end(), sourceFrame);
        ring_.append(frames, run);
        positions_.dropBefore(ring_.begin());
        frames += run * channels_;
        count -= run;
        sourceFrame += run;
    }
    return true;
}

void StreamBuffer::finish(uint64_t generation, bool clean) {
    std::lock_guard lock(mutex_);
    if (generation != generation_) return;
    finished_ = true;
    finishedCleanly_ = clean;
}

bool StreamBuffer::looping() const {
    std::lock_guard lock(mutex_);
    return looping_;
}

void StreamBuffer::setLoudness(const Loudness& loudness) {
    std::lock_guard lock(mutex_);
    loudness_ = loudness;
}

std::optional<Loudness> StreamBuffer::loudness() const {
    std::lock_guard lock(mutex_);
    return loudness_;
}

void StreamBuffer::setLooping(bool looping) {
    std::lock_guard lock(mutex_);
    looping_ = looping;
}

int64_t StreamBuffer::render(int16_t* out, int64_t frames) {
    int64_t real = 0;
    {
        std::lock_guard lock(mutex_);
        const int64_t available = ring_.end() - readIndex_;
        if (!stalled_ || available >= resumeFrames_ || finished_) {
            stalled_ = false;
            real = std::min(frames, available);
            ring_.copyOut(readIndex_, real, out);
            if (real < frames && !finished_) stalled_ = true;
        }
        timeline_.recordPull(readIndex_, real, frames);
        readIndex_ += real;
    }
    std::memset(out + real * channels_, 0, static_cast<size_t>((frames - real) * channels_) * sizeof(int16_t));
    if (real > 0) changed_.notify_all();
    return real;
}

void StreamBuffer::recordIdlePull(int64_t frames) {
    std::lock_guard lock(mutex_);
    timeline_.recordPull(readIndex_, 0, frames);
}

bool StreamBuffer::canRender(int64_t frames) const {
    std::lock_guard lock(mutex_);
    if (finished_ || closed_) return true;
    const int64_t needed = stalled_ ? std::max(frames, resumeFrames_) : frames;
    return ring_.end() - readIndex_ >= needed;
}

void StreamBuffer::seek(int64_t sourceFrame) {
    {
        std::lock_guard lock(mutex_);
        ++generation_;
        seekPending_ = true;
        seekFrame_ = sourceFrame;
        finished_ = false;
        finishedCleanly_ = false;
        readIndex_ = floorIndex_ = ring_.end();
        positions_.startRun(floorIndex_, sourceFrame);
        timeline_.restart(floorIndex_);
    }
    changed_.notify_all();
}

void StreamBuffer::rewindToHeard() {
    std::lock_guard lock(mutex_);
    readIndex_ = heardIndex();
    timeline_.restart(readIndex_);
}

void StreamBuffer::setOutputLatency(int64_t frames) {
    std::lock_guard lock(mutex_);
    timeline_.setLatency(std::clamp<int64_t>(frames, 0, historyFrames_ - kSpectrumFrames));
}

int64_t StreamBuffer::heardIndex() const { return std::max(timeline_.heardIndex(), floorIndex_); }

int64_t StreamBuffer::heardSourceFrame() const {
    std::lock_guard lock(mutex_);
    return positions_.sourceFrameAt(heardIndex());
}

void StreamBuffer::copyHeardTail(int64_t count, int16_t* out) const {
    std::lock_guard lock(mutex_);
    const int64_t end = heardIndex();
    const int64_t from = std::max({end - count, floorIndex_, ring_.begin()});
    const int64_t silent = std::min(count, from - (end - count));
    std::memset(out, 0, static_cast<size_t>(silent * channels_) * sizeof(int16_t));
    ring_.copyOut(from, count - silent, out + silent * channels_);
}

bool StreamBuffer::stalled() const {
    std::lock_guard lock(mutex_);
    return stalled_;
}

bool StreamBuffer::ended() const {
    std::lock_guard lock(mutex_);
    return finished_ && heardIndex() == ring_.end();
}

bool StreamBuffer::drained() const {
    std::lock_guard lock(mutex_);
    return finished_ && readIndex_ == ring_.end();
}

int64_t StreamBuffer::framesLeftToPull() const {
    std::lock_guard lock(mutex_);
    return finished_ ? ring_.end() - readIndex_ : -1;
}

bool StreamBuffer::endedCleanly() const {
    std::lock_guard lock(mutex_);
    return finishedCleanly_ && heardIndex() == ring_.end();
}

bool StreamBuffer::decodedToEnd() const {
    std::lock_guard lock(mutex_);
    return finishedCleanly_;
}

uint64_t StreamBuffer::generation() const {
    std::lock_guard lock(mutex_);
    return generation_;
}

void StreamBuffer::close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}
