#include "local/SongTags.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
}

#include <memory>
#include <mutex>

namespace {

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
using Input = std::unique_ptr<AVFormatContext, InputCloser>;

// FFmpeg would otherwise write every oddity of a file it reads to stderr.
void quietFfmpeg() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

// The file opened by FFmpeg's own file protocol (so no path is taken for
// another protocol), with its streams described.
Input open(const std::string& path) {
    quietFfmpeg();
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, ("file:" + path).c_str(), nullptr, nullptr) < 0) return nullptr;
    Input input(context);
    if (avformat_find_stream_info(context, nullptr) < 0) return nullptr;
    return input;
}

std::string tag(const AVDictionary* container, const AVDictionary* stream, const char* key) {
    // Ogg and Opus keep their comments on the stream, the others on the file.
    for (const AVDictionary* tags : {container, stream}) {
        if (const AVDictionaryEntry* entry = av_dict_get(tags, key, nullptr, 0); entry && *entry->value)
            return entry->value;
    }
    return {};
}

}  // namespace

std::optional<SongTags> readSongTags(const std::string& path) {
    Input input = open(path);
    if (!input) return std::nullopt;
    const int audio = av_find_best_stream(input.get(), AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (audio < 0) return std::nullopt;
    const AVStream* stream = input->streams[audio];
    SongTags tags;
    tags.title = tag(input->metadata, stream->metadata, "title");
    tags.artists = tag(input->metadata, stream->metadata, "artist");
    if (tags.artists.empty()) tags.artists = tag(input->metadata, stream->metadata, "album_artist");
    tags.album = tag(input->metadata, stream->metadata, "album");
    if (input->duration > 0) {
        tags.durationMs = input->duration / (AV_TIME_BASE / 1000);
    } else if (stream->duration > 0) {
        tags.durationMs =
            static_cast<std::int64_t>(static_cast<double>(stream->duration) * av_q2d(stream->time_base) * 1000);
    }
    return tags;
}

std::string readEmbeddedCover(const std::string& path) {
    Input input = open(path);
    if (!input) return {};
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        if ((stream->disposition & AV_DISPOSITION_ATTACHED_PIC) && stream->attached_pic.size > 0)
            return {reinterpret_cast<const char*>(stream->attached_pic.data),
                    static_cast<size_t>(stream->attached_pic.size)};
    }
    return {};
}
