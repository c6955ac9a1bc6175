#include "download/AudioTagger.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

namespace {

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct OutputCloser {
    void operator()(AVFormatContext* context) const {
        if (context->pb) avio_closep(&context->pb);
        avformat_free_context(context);
    }
};
struct PacketFree {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFree {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct CodecContextFree {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
using Input = std::unique_ptr<AVFormatContext, InputCloser>;
using Output = std::unique_ptr<AVFormatContext, OutputCloser>;
using Packet = std::unique_ptr<AVPacket, PacketFree>;

void quietFfmpeg() {
    static std::once_flag once;
    // FFmpeg would otherwise write every oddity of a file it reads to stderr.
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

// FFmpeg's own protocol prefix, so no path is taken for another protocol.
std::string filePath(const std::string& path) { return "file:" + path; }

// The muxer that writes a file of this codec with the tags it can hold.
const char* muxerFor(AVCodecID codec) {
    switch (codec) {
        case AV_CODEC_ID_MP3: return "mp3";
        case AV_CODEC_ID_FLAC: return "flac";
        default: return nullptr;
    }
}

AVCodecID pictureCodec(std::string_view bytes) {
    if (bytes.starts_with("\x89PNG\r\n\x1A\n")) return AV_CODEC_ID_PNG;
    if (bytes.starts_with("\xFF\xD8\xFF")) return AV_CODEC_ID_MJPEG;
    return AV_CODEC_ID_NONE;
}

Packet packetOf(std::string_view bytes) {
    Packet packet(av_packet_alloc());
    if (!packet || av_new_packet(packet.get(), static_cast<int>(bytes.size())) < 0) return nullptr;
    std::memcpy(packet->data, bytes.data(), bytes.size());
    return packet;
}

// The picture's size, found by decoding it; nothing when it does not decode.
std::optional<std::pair<int, int>> pictureSize(AVCodecID codec, std::string_view bytes) {
    const AVCodec* decoder = avcodec_find_decoder(codec);
    std::unique_ptr<AVCodecContext, CodecContextFree> context(decoder ? avcodec_alloc_context3(decoder) : nullptr);
    Packet packet = packetOf(bytes);
    std::unique_ptr<AVFrame, FrameFree> frame(av_frame_alloc());
    if (!context || !packet || !frame || avcodec_open2(context.get(), decoder, nullptr) < 0) return std::nullopt;
    if (avcodec_send_packet(context.get(), packet.get()) < 0) return std::nullopt;
    avcodec_send_packet(context.get(), nullptr);
    if (avcodec_receive_frame(context.get(), frame.get()) < 0 || frame->width <= 0 || frame->height <= 0)
        return std::nullopt;
    return std::pair(frame->width, frame->height);
}

// Adds the cover as the output's attached picture; false when there is
// none that decodes.
bool addPictureStream(AVFormatContext* output, std::string_view picture) {
    const AVCodecID codec = pictureCodec(picture);
    if (codec == AV_CODEC_ID_NONE) return false;
    const std::optional<std::pair<int, int>> size = pictureSize(codec, picture);
    AVStream* stream = size ? avformat_new_stream(output, nullptr) : nullptr;
    if (!stream) return false;
    stream->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
    stream->codecpar->codec_id = codec;
    stream->codecpar->width = size->first;
    stream->codecpar->height = size->second;
    stream->disposition = AV_DISPOSITION_ATTACHED_PIC;
    stream->time_base = {1, 90000};
    av_dict_set(&stream->metadata, "comment", "Cover (front)", 0);
    return true;
}

bool writePicture(AVFormatContext* output, int streamIndex, std::string_view picture) {
    Packet packet = packetOf(picture);
    if (!packet) return false;
    packet->stream_index = streamIndex;
    packet->flags |= AV_PKT_FLAG_KEY;
    packet->pts = packet->dts = 0;
    return av_write_frame(output, packet.get()) >= 0;
}

// An empty value writes no tag at all.
void setTag(AVFormatContext* output, const char* key, const std::string& value) {
    if (!value.empty()) av_dict_set(&output->metadata, key, value.c_str(), 0);
}

// Every packet of the input's stream `from` goes to the output's stream
// `to`, unchanged but for its time base; true when the input was read to
// its end and everything was written.
bool copyPackets(AVFormatContext* input, int from, AVFormatContext* output, int to) {
    Packet packet(av_packet_alloc());
    if (!packet) return false;
    const AVRational inputBase = input->streams[from]->time_base;
    const AVRational outputBase = output->streams[to]->time_base;
    int read;
    while ((read = av_read_frame(input, packet.get())) >= 0) {
        bool written = true;
        if (packet->stream_index == from) {
            av_packet_rescale_ts(packet.get(), inputBase, outputBase);
            packet->stream_index = to;
            packet->pos = -1;
            written = av_write_frame(output, packet.get()) >= 0;
        }
        av_packet_unref(packet.get());
        if (!written) return false;
    }
    return read == AVERROR_EOF;
}

}  // namespace

bool writeTaggedCopy(const std::string& source, const std::string& target, const SongTags& tags) {
    quietFfmpeg();
    AVFormatContext* opened = nullptr;
    if (avformat_open_input(&opened, filePath(source).c_str(), nullptr, nullptr) < 0) return false;
    Input input(opened);
    if (avformat_find_stream_info(input.get(), nullptr) < 0) return false;
    const int audio = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (audio < 0) return false;
    const AVStream* audioIn = input->streams[audio];
    const char* muxer = muxerFor(audioIn->codecpar->codec_id);
    if (!muxer) return false;

    AVFormatContext* created = nullptr;
    if (avformat_alloc_output_context2(&created, nullptr, muxer, nullptr) < 0) return false;
    Output output(created);
    AVStream* audioOut = avformat_new_stream(output.get(), nullptr);
    if (!audioOut || avcodec_parameters_copy(audioOut->codecpar, audioIn->codecpar) < 0) return false;
    audioOut->codecpar->codec_tag = 0;
    audioOut->time_base = audioIn->time_base;
    const bool hasPicture = addPictureStream(output.get(), tags.picture);
    setTag(output.get(), "title", tags.title);
    setTag(output.get(), "artist", tags.artist);
    setTag(output.get(), "album", tags.album);

    if (avio_open(&output->pb, filePath(target).c_str(), AVIO_FLAG_WRITE) < 0) return false;
    if (avformat_write_header(output.get(), nullptr) < 0) return false;
    // Both muxers hold the audio back until the picture is in, so it goes first.
    if (hasPicture && !writePicture(output.get(), 1, tags.picture)) return false;
    if (!copyPackets(input.get(), audio, output.get(), audioOut->index)) return false;
    return av_write_trailer(output.get()) >= 0;
}
