#include "audio/StreamDecoder.h"

#include "audio/MemoryInput.h"
#include "audio/RecordingInput.h"

#include <algorithm>
#include <cstring>
#include <mutex>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libavutil/time.h>
#include <libswresample/swresample.h>
}

namespace {

// A network read that gets no data for this long fails, so a dead server ends
// the stream instead of stalling it for ever.
constexpr int64_t kNetworkTimeoutMicroseconds = 15'000'000;
constexpr int64_t kAnalyzeMicroseconds = 100'000;
// Opening a source (connecting, the answer's head, the first packets) ends
// within this even when a server keeps each read alive with a trickle of
// bytes. Once open, a stream is bounded only by the read time-out above: a
// song may play for an hour.
constexpr int64_t kOpeningBoundMicroseconds = 20'000'000;

void initFfmpegOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        // FFmpeg would otherwise write every damaged frame and failed request to stderr.
        av_log_set_level(AV_LOG_QUIET);
        avformat_network_init();
    });
}

}  // namespace

// What FFmpeg's interrupt callback reads, on the thread that opens and
// decodes: the owner's cancel token, and while the source opens, the moment
// the opening is given up (0: no bound).
struct StreamDecoder::Interrupt {
    const CancelToken* cancel = nullptr;
    int64_t giveUpAt = 0;

    static int check(void* opaque) {
        const auto& interrupt = *static_cast<const Interrupt*>(opaque);
        const bool late = interrupt.giveUpAt != 0 && av_gettime_relative() > interrupt.giveUpAt;
        return interrupt.cancel->cancelled() || late ? 1 : 0;
    }
};

// FFmpeg state for one opening of the source. `memory` and `recorded`
// outlive `format`, which reads through them.
struct StreamDecoder::Input {
    Interrupt interrupt;
    std::unique_ptr<MemoryInput> memory;
    std::unique_ptr<RecordingInput> recorded;
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int streamIndex = -1;
    // The resampler and the frame shape it was made for; rebuilt when decoded
    // frames change shape.
    SwrContext* resampler = nullptr;
    int resamplerRate = 0;
    int resamplerFormat = -1;
    AVChannelLayout resamplerLayout{};

    ~Input() {
        swr_free(&resampler);
        av_channel_layout_uninit(&resamplerLayout);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    AVStream* stream() const { return format->streams[streamIndex]; }
    int64_t startTime() const { return stream()->start_time == AV_NOPTS_VALUE ? 0 : stream()->start_time; }
};

std::unique_ptr<StreamDecoder::Input> StreamDecoder::openInput(const MediaLocation& location,
                                                               const CancelToken& cancel) {
    initFfmpegOnce();
    auto input = std::make_unique<Input>();
    input->format = avformat_alloc_context();
    if (!input->format) return nullptr;
    input->interrupt = {&cancel, av_gettime_relative() + kOpeningBoundMicroseconds};
    input->format->interrupt_callback = {&Interrupt::check, &input->interrupt};

    AVDictionary* options = nullptr;
    std::string url;
    std::string protocols;
    switch (location.kind) {
        case MediaLocation::Kind::kFile:
            url = "file:" + location.path;  // a colon in the name must not pick a protocol
            protocols = "file";
            break;
        case MediaLocation::Kind::kMemory:
            if (location.offset > static_cast<int64_t>(location.bytes->size())) return nullptr;
            input->memory = std::make_unique<MemoryInput>(location.bytes, location.offset);
            if (!input->memory->context()) return nullptr;
            input->format->pb = input->memory->context();
            input->format->flags |= AVFMT_FLAG_CUSTOM_IO;
            protocols = "none";
            break;
        case MediaLocation::Kind::kUrl:
            url = location.path;
            protocols = "http,https,tcp,tls";
            av_dict_set_int(&options, "rw_timeout", kNetworkTimeoutMicroseconds, 0);
            av_dict_set_int(&options, "reconnect", 1, 0);
            av_dict_set_int(&options, "reconnect_delay_max", 4, 0);
            if (location.recording && location.offset == 0) {
                av_dict_set(&options, "protocol_whitelist", protocols.c_str(), 0);
                input->recorded = std::make_unique<RecordingInput>(url, location.recording, options, &Interrupt::check,
                                                                   &input->interrupt);
                av_dict_free(&options);
                if (!input->recorded->open()) return nullptr;
                input->format->pb = input->recorded->context();
                input->format->flags |= AVFMT_FLAG_CUSTOM_IO;
                url.clear();
                protocols = "none";
            }
            break;
    }
    if (location.offset > 0 && location.kind != MediaLocation::Kind::kMemory) {
        // The source as seen from `offset` on, seeks included.
        url = "subfile,,start," + std::to_string(location.offset) + ",end,0,,:" + url;
        protocols = "subfile," + protocols;
    }
    av_dict_set(&options, "protocol_whitelist", protocols.c_str(), 0);
    const int opened = avformat_open_input(&input->format, url.empty() ? nullptr : url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) return nullptr;  // the format context is already freed
    // Only the sample format is needed from the first packets; reading more
    // would delay the start, and a stream that trickles in might not have it.
    input->format->max_analyze_duration = kAnalyzeMicroseconds;
    if (avformat_find_stream_info(input->format, nullptr) < 0) return nullptr;

    const AVCodec* codec = nullptr;
    input->streamIndex = av_find_best_stream(input->format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (input->streamIndex < 0 || !codec) return nullptr;
    for (unsigned i = 0; i < input->format->nb_streams; ++i) {
        if (static_cast<int>(i) != input->streamIndex) input->format->streams[i]->discard = AVDISCARD_ALL;
    }
    input->codec = avcodec_alloc_context3(codec);
    if (!input->codec || avcodec_parameters_to_context(input->codec, input->stream()->codecpar) < 0) return nullptr;
    input->codec->pkt_timebase = input->stream()->time_base;
    if (avcodec_open2(input->codec, codec, nullptr) < 0) return nullptr;
    if (input->codec->sample_rate <= 0 || input->codec->ch_layout.nb_channels <= 0) return nullptr;
    input->packet = av_packet_alloc();
    input->frame = av_frame_alloc();
    if (!input->packet || !input->frame) return nullptr;
    input->interrupt.giveUpAt = 0;
    return input;
}

std::unique_ptr<StreamDecoder> StreamDecoder::open(MediaLocation location, std::shared_ptr<const CancelToken> cancel,
                                                   DecodedFormat format) {
    auto input = openInput(location, *cancel);
    if (!input) return nullptr;
    return std::unique_ptr<StreamDecoder>(
        new StreamDecoder(std::move(location), std::move(cancel), std::move(input), format));
}

StreamDecoder::StreamDecoder(MediaLocation location, std::shared_ptr<const CancelToken> cancel,
                             std::unique_ptr<Input> input, DecodedFormat format)
    : location_(std::move(location)), cancel_(std::move(cancel)), input_(std::move(input)) {
    sampleRate_ = format.sampleRate > 0 ? format.sampleRate : input_->codec->sample_rate;
    channels_ = format.channels > 0 ? format.channels : input_->codec->ch_layout.nb_channels;
    const AVStream* stream = input_->stream();
    if (stream->duration != AV_NOPTS_VALUE) {
        lengthFrames_ = av_rescale_q(stream->duration, stream->time_base, AVRational{1, sampleRate_});
    } else if (input_->format->duration != AV_NOPTS_VALUE) {
        lengthFrames_ = av_rescale(input_->format->duration, sampleRate_, AV_TIME_BASE);
    }
}

StreamDecoder::~StreamDecoder() = default;

StreamDecoder::Step StreamDecoder::decode(Block& block) {
    Input& in = *input_;
    for (;;) {
        int result = avcodec_receive_frame(in.codec, in.frame);
        if (result == 0) {
            const bool converted = convert(block);
            av_frame_unref(in.frame);
            if (!converted) return Step::kFailed;
            if (block.frames > 0) return Step::kDecoded;
            continue;
        }
        if (result == AVERROR_EOF) return drainResampler(block) ? Step::kDecoded : Step::kEnd;
        if (result != AVERROR(EAGAIN)) return Step::kFailed;

        result = av_read_frame(in.format, in.packet);
        if (result < 0) {
            const bool cleanEnd = result == AVERROR_EOF || (avio_feof(in.format->pb) && in.format->pb->error == 0);
            if (cancel_->cancelled() || !cleanEnd) return Step::kFailed;
            avcodec_send_packet(in.codec, nullptr);  // hand back the frames the codec still holds
            continue;
        }
        // A damaged packet is skipped; the codec resynchronises on the next.
        if (in.packet->stream_index == in.streamIndex) avcodec_send_packet(in.codec, in.packet);
        av_packet_unref(in.packet);
    }
}

bool StreamDecoder::convert(Block& block) {
    Input& in = *input_;
    const AVFrame& frame = *in.frame;
    if (!in.resampler || frame.sample_rate != in.resamplerRate || frame.format != in.resamplerFormat ||
        av_channel_layout_compare(&frame.ch_layout, &in.resamplerLayout) != 0) {
        swr_free(&in.resampler);
        av_channel_layout_uninit(&in.resamplerLayout);
        if (av_channel_layout_copy(&in.resamplerLayout, &frame.ch_layout) < 0) return false;
        AVChannelLayout from{};
        AVChannelLayout to{};
        if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
            av_channel_layout_default(&from, frame.ch_layout.nb_channels);
        } else if (av_channel_layout_copy(&from, &frame.ch_layout) < 0) {
            return false;
        }
        av_channel_layout_default(&to, channels_);
        const int made = swr_alloc_set_opts2(&in.resampler, &to, AV_SAMPLE_FMT_S16, sampleRate_, &from,
                                             static_cast<AVSampleFormat>(frame.format), frame.sample_rate, 0, nullptr);
        av_channel_layout_uninit(&from);
        av_channel_layout_uninit(&to);
        if (made < 0 || swr_init(in.resampler) < 0) {
            swr_free(&in.resampler);
            return false;
        }
        in.resamplerRate = frame.sample_rate;
        in.resamplerFormat = frame.format;
    }

    const int capacity = swr_get_out_samples(in.resampler, frame.nb_samples);
    if (capacity < 0) return false;
    block.samples.resize(static_cast<size_t>(capacity) * channels_);
    auto* out = reinterpret_cast<uint8_t*>(block.samples.data());
    const int got =
        swr_convert(in.resampler, &out, capacity, const_cast<const uint8_t**>(frame.extended_data), frame.nb_samples);
    if (got < 0) return false;

    int64_t first = nextFrame_;
    if (frameFromTimestamp_) {
        frameFromTimestamp_ = false;
        if (frame.best_effort_timestamp != AV_NOPTS_VALUE) {
            first = av_rescale_q(frame.best_effort_timestamp - in.startTime(), in.stream()->time_base,
                                 AVRational{1, sampleRate_});
        }
    }
    placeBlock(block, first, got);
    return true;
}

bool StreamDecoder::drainResampler(Block& block) {
    Input& in = *input_;
    if (!in.resampler) return false;
    const int64_t held = swr_get_delay(in.resampler, sampleRate_);
    if (held <= 0) return false;
    const int capacity = static_cast<int>(held) + 16;
    block.samples.resize(static_cast<size_t>(capacity) * channels_);
    auto* out = reinterpret_cast<uint8_t*>(block.samples.data());
    const int got = swr_convert(in.resampler, &out, capacity, nullptr, 0);
    if (got <= 0) return false;
    placeBlock(block, nextFrame_, got);
    return block.frames > 0;
}

void StreamDecoder::placeBlock(Block& block, int64_t first, int64_t count) {
    const int64_t skipped = std::clamp<int64_t>(skipUntil_ - first, 0, count);
    std::memmove(block.samples.data(), block.samples.data() + skipped * channels_,
                 static_cast<size_t>((count - skipped) * channels_) * sizeof(int16_t));
    block.frames = count - skipped;
    block.firstFrame = first + skipped;
    nextFrame_ = first + count;
}

bool StreamDecoder::seek(int64_t frame) {
    skipUntil_ = frame;
    Input& in = *input_;
    const int64_t timestamp = av_rescale_q(frame, AVRational{1, sampleRate_}, in.stream()->time_base) + in.startTime();
    if (avformat_seek_file(in.format, in.streamIndex, INT64_MIN, timestamp, timestamp, 0) >= 0) {
        avcodec_flush_buffers(in.codec);
        swr_free(&in.resampler);  // drop what it held from before the seek
        nextFrame_ = frame;
        frameFromTimestamp_ = true;
        return true;
    }
    if (cancel_->cancelled()) return false;
    auto reopened = openInput(location_, *cancel_);
    if (!reopened) return false;
    input_ = std::move(reopened);
    nextFrame_ = 0;
    frameFromTimestamp_ = false;
    return true;
}
