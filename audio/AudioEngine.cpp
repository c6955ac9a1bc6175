#include "audio/AudioEngine.h"

#include "audio/AudioStream.h"
#include "audio/NullOutput.h"
#include "audio/PortAudioOutput.h"
#include "audio/StreamDecoder.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {

int64_t bytesPerFrame(const AudioStream& stream) { return static_cast<int64_t>(stream.channels()) * 2; }

}  // namespace

AudioEngine::AudioEngine() : fallback_(std::make_shared<NullOutput>()) {}

AudioEngine::AudioEngine(std::shared_ptr<AudioOutput> output)
    : output_(std::move(output)), fallback_(std::make_shared<NullOutput>()) {}

AudioEngine::~AudioEngine() = default;

bool AudioEngine::init(int device) {
    std::lock_guard lock(mutex_);
    if (output_) return true;
    if (device != 0) output_ = PortAudioOutput::create(device < 0 ? -1 : device - 1);
    if (!output_) output_ = fallback_;
    return true;
}

AudioEngine::Handle AudioEngine::createStream(const StreamSource& source) {
    if (source.offset < 0) return 0;
    MediaLocation location;
    location.offset = source.offset;
    bool loop = false;
    std::error_code ignored;
    if (!source.filePath.empty() && std::filesystem::is_regular_file(source.filePath, ignored)) {
        location.kind = MediaLocation::Kind::kFile;
        location.path = source.filePath;
    } else if (!source.bytes.empty()) {
        location.kind = MediaLocation::Kind::kMemory;
        location.bytes = std::make_shared<const std::string>(source.bytes);
    } else if (!source.url.empty()) {
        location.kind = MediaLocation::Kind::kUrl;
        location.path = source.url;
        loop = true;
    } else {
        return 0;
    }

    std::shared_ptr<AudioOutput> output;
    std::shared_ptr<AudioOutput> fallback;
    {
        std::lock_guard lock(mutex_);
        output = output_;
        fallback = fallback_;
    }
    if (!output) return 0;
    std::shared_ptr<AudioStream> stream = AudioStream::create(std::move(location), loop, *output, *fallback);
    if (!stream) return 0;

    std::lock_guard lock(mutex_);
    if (++lastHandle_ == 0) ++lastHandle_;
    streams_.emplace(lastHandle_, std::move(stream));
    return lastHandle_;
}

std::shared_ptr<AudioStream> AudioEngine::find(Handle handle) const {
    std::lock_guard lock(mutex_);
    const auto found = streams_.find(handle);
    return found == streams_.end() ? nullptr : found->second;
}

bool AudioEngine::play(Handle handle, bool restart) {
    const auto stream = find(handle);
    return stream && stream->play(restart);
}

bool AudioEngine::pause(Handle handle) {
    const auto stream = find(handle);
    return stream && stream->pause();
}

bool AudioEngine::stop(Handle handle) {
    const auto stream = find(handle);
    return stream && stream->stop();
}

int64_t AudioEngine::getPosition(Handle handle) const {
    const auto stream = find(handle);
    return stream ? stream->positionFrames() * bytesPerFrame(*stream) : -1;
}

bool AudioEngine::setPosition(Handle handle, int64_t bytes) {
    const auto stream = find(handle);
    return stream && bytes >= 0 && stream->setPositionFrames(bytes / bytesPerFrame(*stream));
}

int32_t AudioEngine::getLength(Handle handle) const {
    const auto stream = find(handle);
    if (!stream || stream->lengthFrames() < 0) return -1;
    const auto bytes = static_cast<uint64_t>(stream->lengthFrames() * bytesPerFrame(*stream));
    return static_cast<int32_t>(static_cast<uint32_t>(bytes));
}

int AudioEngine::isActive(Handle handle) const {
    const auto stream = find(handle);
    return stream ? stream->activity() : StreamActivity::kStopped;
}

bool AudioEngine::freeStream(Handle handle) {
    std::shared_ptr<AudioStream> stream;
    {
        std::lock_guard lock(mutex_);
        const auto found = streams_.find(handle);
        if (found == streams_.end()) return false;
        stream = std::move(found->second);
        streams_.erase(found);
    }
    return true;  // the stream stops as `stream` goes, outside the table's lock
}

int AudioEngine::getFftData(Handle handle, std::array<float, kSpectrumBins>& bins) const {
    const auto stream = find(handle);
    if (!stream) return -1;
    bins = stream->spectrum();
    return static_cast<int>(kSpectrumFrames * bytesPerFrame(*stream));
}

bool AudioEngine::setVolume(Handle handle, int volume) {
    const auto stream = find(handle);
    if (!stream) return false;
    stream->setGain(static_cast<float>(std::clamp(volume, 0, 100)) / 100.0f);
    return true;
}

double AudioEngine::bytesToSeconds(Handle handle, int64_t bytes) const {
    const auto stream = find(handle);
    if (!stream) return -1.0;
    return static_cast<double>(bytes) / (static_cast<double>(stream->sampleRate()) * bytesPerFrame(*stream));
}

int64_t AudioEngine::secondsToBytes(Handle handle, double seconds) const {
    const auto stream = find(handle);
    if (!stream) return -1;
    const double frames = std::floor(seconds * stream->sampleRate());
    // Beyond this a byte count no longer fits 64 bits.
    if (!std::isfinite(frames) || std::fabs(frames) > 1e15) return -1;
    return static_cast<int64_t>(frames) * bytesPerFrame(*stream);
}
