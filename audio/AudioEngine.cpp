#include "audio/AudioEngine.h"

#include "audio/AudioStream.h"
#include "audio/NullOutput.h"
#include "audio/PortAudioOutput.h"
#include "audio/StreamDecoder.h"
#include "audio/ThreadReaper.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <optional>
#include <vector>

namespace {

// How often the event thread looks at the streams: an end is told this soon
// after it is heard.
constexpr auto kEventPoll = std::chrono::milliseconds(20);

int64_t bytesPerFrame(const AudioStream& stream) { return static_cast<int64_t>(stream.channels()) * 2; }

// Where a source's bytes are read from, or nullopt when it names none;
// `loop` tells whether the stream loops.
std::optional<MediaLocation> locate(const StreamSource& source, bool& loop) {
    if (source.offset < 0) return std::nullopt;
    MediaLocation location;
    location.offset = source.offset;
    loop = false;
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
        location.recording = source.recording;
        loop = !source.playOnce;
    } else {
        return std::nullopt;
    }
    return location;
}

}  // namespace

AudioEngine::AudioEngine() : AudioEngine(nullptr) {}

AudioEngine::AudioEngine(std::shared_ptr<AudioOutput> output)
    : reaper_(std::make_shared<ThreadReaper>()),
      equalizer_(std::make_shared<EqualizerControl>()),
      output_(std::move(output)),
      fallback_(std::make_shared<NullOutput>()) {}

AudioEngine::~AudioEngine() {
    std::jthread events;
    {
        std::lock_guard lock(mutex_);
        events = std::move(events_);
    }
    events = {};  // asks the event thread to stop and joins it
    std::unordered_map<Handle, std::shared_ptr<AudioStream>> streams;
    {
        std::lock_guard lock(mutex_);
        streams.swap(streams_);
    }
    // The streams go here, each handing its decode thread to the reaper,
    // which joins them all as the last member goes.
}

bool AudioEngine::init(int device) {
    std::lock_guard lock(mutex_);
    if (output_) return true;
    if (device != 0) output_ = PortAudioOutput::create(device < 0 ? -1 : device - 1);
    if (!output_) output_ = fallback_;
    return true;
}

bool AudioEngine::useDevice(int device) {
    std::shared_ptr<AudioOutput> output = fallback_;
    if (device != 0) output = PortAudioOutput::create(device < 0 ? -1 : device - 1);
    return output && useOutput(std::move(output));
}

bool AudioEngine::useOutput(std::shared_ptr<AudioOutput> output) {
    std::vector<std::shared_ptr<AudioStream>> streams;
    {
        std::lock_guard lock(mutex_);
        output_ = output;
        for (const auto& [handle, stream] : streams_) streams.push_back(stream);
    }
    // Streams that follow one another share a lane: each lane moves once.
    std::vector<OutputLane*> moved;
    bool allMoved = true;
    for (const auto& stream : streams) {
        OutputLane* lane = &stream->lane();
        if (std::find(moved.begin(), moved.end(), lane) != moved.end()) continue;
        moved.push_back(lane);
        allMoved = lane->moveTo(*output, *fallback_) && allMoved;
    }
    return allMoved;
}

AudioEngine::Handle AudioEngine::createStream(const StreamSource& source) {
    bool loop = false;
    std::optional<MediaLocation> location = locate(source, loop);
    if (!location) return 0;

    std::shared_ptr<AudioOutput> output;
    std::shared_ptr<AudioOutput> fallback;
    {
        std::lock_guard lock(mutex_);
        output = output_;
        fallback = fallback_;
    }
    if (!output) return 0;
    return keep(AudioStream::create(std::move(*location), {loop, {}, source.measureLoudness, equalizer_}, *output,
                                    *fallback, reaper_));
}

AudioEngine::Handle AudioEngine::createFollower(Handle leader, const StreamSource& source) {
    bool loopIgnored = false;  // a follower never loops
    std::optional<MediaLocation> location = locate(source, loopIgnored);
    const auto leading = find(leader);
    if (!location || !leading) return 0;
    return keep(AudioStream::createFollower(std::move(*location), {false, {}, source.measureLoudness, equalizer_},
                                            *leading, reaper_));
}

AudioEngine::Handle AudioEngine::keep(std::shared_ptr<AudioStream> stream) {
    if (!stream) return 0;
    std::lock_guard lock(mutex_);
    if (++lastHandle_ == 0) ++lastHandle_;
    streams_.emplace(lastHandle_, std::move(stream));
    return lastHandle_;
}

void AudioEngine::setEventListener(EventListener listener) {
    {
        std::lock_guard lock(listenerMutex_);
        listener_ = std::move(listener);
    }
    std::lock_guard lock(mutex_);
    if (!events_.joinable()) events_ = std::jthread([this](std::stop_token stop) { watchEvents(stop); });
}

void AudioEngine::tell(Handle handle, StreamEvent event) {
    std::lock_guard lock(listenerMutex_);
    if (listener_) listener_(handle, event);
}

void AudioEngine::watchEvents(const std::stop_token& stop) {
    struct Told {
        uint64_t generation = 0;
        bool aboutToEnd = false;
        bool ended = false;
    };
    std::unordered_map<Handle, Told> told;  // this thread's own
    std::mutex sleepMutex;
    std::condition_variable_any wake;
    std::unique_lock sleeping(sleepMutex);
    for (;;) {
        wake.wait_for(sleeping, stop, kEventPoll, [] { return false; });  // sleeps one poll, less when stopped
        if (stop.stop_requested()) return;
        std::vector<std::pair<Handle, std::shared_ptr<AudioStream>>> streams;
        {
            std::lock_guard lock(mutex_);
            streams.assign(streams_.begin(), streams_.end());
        }
        std::unordered_map<Handle, Told> stillThere;
        for (const auto& [handle, stream] : streams) {
            Told& already = told[handle];
            const uint64_t generation = stream->playGeneration();
            if (generation != already.generation) already = {generation};
            const auto lead = static_cast<int64_t>(kAboutToEndSeconds * stream->sampleRate());
            if (!already.aboutToEnd && stream->nearEnd(lead)) {
                already.aboutToEnd = true;
                tell(handle, StreamEvent::kAboutToEnd);
            }
            if (!already.ended && stream->endedCleanly()) {
                already.ended = true;
                tell(handle, StreamEvent::kEnded);
            }
            stillThere.emplace(handle, already);
        }
        told.swap(stillThere);
    }
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

void AudioEngine::setEqualizer(const EqualizerSetting& setting) { equalizer_->set(setting); }

EqualizerSetting AudioEngine::equalizer() const { return equalizer_->setting(); }

bool AudioEngine::setLoudnessGain(Handle handle, double decibels) {
    const auto stream = find(handle);
    if (!stream || !std::isfinite(decibels)) return false;
    stream->setLoudnessGain(static_cast<float>(std::pow(10.0, decibels / 20.0)));
    return true;
}

std::optional<Loudness> AudioEngine::measuredLoudness(Handle handle) const {
    const auto stream = find(handle);
    return stream ? stream->measuredLoudness() : std::nullopt;
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
