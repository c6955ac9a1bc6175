#include "audio/StreamFeeder.h"

#include <future>
#include <optional>
#include <thread>

namespace {

// Runs on the decode thread only; owns the decoder outright.
class FeedLoop {
public:
    FeedLoop(StreamDecoder& decoder, StreamBuffer& buffer, const FeedSettings& settings)
        : decoder_(decoder),
          buffer_(buffer),
          equalizerControl_(settings.equalizer),
          equalizer_(decoder.sampleRate(), decoder.channels()) {
        if (settings.measureLoudness) meter_.emplace(decoder.sampleRate(), decoder.channels());
    }

    void run() {
        StreamDecoder::Block block;
        for (;;) {
            if (!follow(buffer_.takeCommand())) return;
            switch (decoder_.decode(block)) {
                case StreamDecoder::Step::kDecoded:
                    atStart_ = false;
                    measure(block);
                    if (equalizerControl_) {
                        equalizer_.follow(*equalizerControl_);
                        if (equalizer_.on()) equalizer_.process(block.samples.data(), block.frames);
                    }
                    buffer_.write(block.samples.data(), block.frames, block.firstFrame, generation_);
                    break;
                case StreamDecoder::Step::kEnd:
                    if (meter_) {
                        if (const auto loudness = meter_->result()) buffer_.setLoudness(*loudness);
                        meter_.reset();
                    }
                    // A source that yields nothing from its start must not spin.
                    if (buffer_.looping() && !atStart_ && decoder_.seek(0)) {
                        atStart_ = true;
                        break;
                    }
                    buffer_.finish(generation_, true);
                    if (!follow(buffer_.waitForCommand())) return;
                    break;
                case StreamDecoder::Step::kFailed:
                    buffer_.finish(generation_, false);
                    if (!follow(buffer_.waitForCommand())) return;
                    break;
            }
        }
    }

private:
    // Adds the block to the measure while the source has been decoded
    // without a break from its start; anything else ends the measure.
    void measure(const StreamDecoder::Block& block) {
        if (!meter_) return;
        if (block.firstFrame != measuredFrames_) {
            meter_.reset();
            return;
        }
        meter_->add(block.samples.data(), block.frames);
        measuredFrames_ += block.frames;
    }

    // Carries out seeks until one succeeds; a failed seek finishes the stream
    // until the next command. False once the buffer is closed.
    bool follow(StreamBuffer::Command command) {
        while (command.kind == StreamBuffer::Command::kSeek) {
            generation_ = command.generation;
            atStart_ = false;
            if (decoder_.seek(command.frame)) return true;
            buffer_.finish(generation_, false);
            command = buffer_.waitForCommand();
        }
        return command.kind != StreamBuffer::Command::kClose;
    }

    StreamDecoder& decoder_;
    StreamBuffer& buffer_;
    uint64_t generation_ = 0;  // of the seek the decoder last followed
    bool atStart_ = true;      // nothing decoded since the loop went back to the start
    const std::shared_ptr<const EqualizerControl> equalizerControl_;
    Equalizer equalizer_;
    std::optional<LoudnessMeter> meter_;  // while the whole source is being measured
    int64_t measuredFrames_ = 0;          // frames measured, from the start
};

}  // namespace

std::optional<FedStream> startFeeding(MediaLocation location, std::shared_ptr<CancelToken> cancel,
                                      FeedSettings settings) {
    std::promise<std::optional<FedStream>> opened;
    auto result = opened.get_future();
    std::thread thread([location = std::move(location), cancel = std::move(cancel), settings = std::move(settings),
                        opened = std::move(opened)]() mutable {
        auto decoder = StreamDecoder::open(std::move(location), cancel, settings.format);
        if (!decoder) {
            opened.set_value(std::nullopt);
            return;
        }
        auto buffer = std::make_shared<StreamBuffer>(decoder->sampleRate(), decoder->channels());
        buffer->setLooping(settings.loop);
        opened.set_value(FedStream{decoder->sampleRate(), decoder->channels(), decoder->lengthFrames(), buffer, {}});
        FeedLoop(*decoder, *buffer, settings).run();
    });
    std::optional<FedStream> fed = result.get();
    if (!fed) {
        thread.join();  // it has handed over its answer and is leaving
        return std::nullopt;
    }
    fed->thread = std::move(thread);
    return fed;
}
