// Plays a URL stream through the engine for a while and reports what it
// cost: the process's CPU seconds, the time from createStream + play to the
// first decoded frame reaching the output, and the peak resident memory.
//   audio_stream_bench serve <file>        serves the file over HTTP on
//                                          127.0.0.1 and prints its URL
//   audio_stream_bench play <url> <seconds>
#include "audio/AudioEngine.h"
#include "audio/AudioOutput.h"
#include "audio/NullOutput.h"
#include "audio/PortAudioOutput.h"

#include <httplib.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Wraps an output so the moment the first decoded frame is pulled is known.
// Threads: `firstFrameAt_` is written by the sink's thread and read by main.
class FirstFrameProbe final : public AudioOutput {
public:
    explicit FirstFrameProbe(std::shared_ptr<AudioOutput> inner) : inner_(std::move(inner)) {}

    std::unique_ptr<AudioSink> open(const SinkFormat& format, FrameSource& source) override {
        auto sink = std::make_unique<ProbedSink>(*this, source);
        sink->inner = inner_->open(format, *sink);
        return sink->inner ? std::move(sink) : nullptr;
    }

    // Waits for the first decoded frame to be pulled and tells when it was.
    Clock::time_point waitForFirstFrame() const {
        while (firstFrameAt_.load() == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
        return Clock::time_point(Clock::duration(firstFrameAt_.load()));
    }

private:
    struct ProbedSink final : AudioSink, FrameSource {
        ProbedSink(FirstFrameProbe& probe, FrameSource& source) : probe(probe), source(source) {}
        ~ProbedSink() override { inner.reset(); }
        bool start() override { return inner->start(); }
        void stop() override { inner->stop(); }
        int64_t latencyFrames() const override { return inner->latencyFrames(); }
        bool canRender(int64_t frames) const override { return source.canRender(frames); }
        int64_t render(int16_t* out, int64_t frames) override { return noteFirstFrame(source.render(out, frames)); }
        int64_t renderFloat(float* out, int64_t frames) override {
            return noteFirstFrame(source.renderFloat(out, frames));
        }
        int64_t noteFirstFrame(int64_t real) {
            if (real > 0 && probe.firstFrameAt_.load() == 0) {
                probe.firstFrameAt_.store(Clock::now().time_since_epoch().count());
            }
            return real;
        }
        FirstFrameProbe& probe;
        FrameSource& source;
        std::unique_ptr<AudioSink> inner;
    };

    std::shared_ptr<AudioOutput> inner_;
    std::atomic<Clock::rep> firstFrameAt_{0};
};

int serve(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string body{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    httplib::Server server;
    // A provider hands out slices of the one body instead of copying it per request.
    server.Get("/song.mp3", [&body](const httplib::Request&, httplib::Response& response) {
        response.set_content_provider(body.size(), "audio/mpeg",
                                      [&body](size_t offset, size_t length, httplib::DataSink& sink) {
                                          return sink.write(body.data() + offset, std::min<size_t>(length, 64 * 1024));
                                      });
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::printf("http://127.0.0.1:%d/song.mp3\n", port);
    std::fflush(stdout);
    return server.listen_after_bind() ? 0 : 1;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The resident memory now, from the kernel's status of this process.
long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
}

long peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int play(const std::string& url, double seconds) {
    std::shared_ptr<AudioOutput> device = PortAudioOutput::create(-1);
    const char* outputName = device ? "sound device" : "no device (real-time null output)";
    if (!device) device = std::make_shared<NullOutput>();
    auto probe = std::make_shared<FirstFrameProbe>(device);
    AudioEngine engine(probe);

    const long residentBefore = residentKilobytes();
    const double cpuBefore = cpuSeconds();
    const auto started = Clock::now();
    const auto handle = engine.createStream(StreamSource::fromUrl(url));
    if (handle == 0 || !engine.play(handle)) {
        std::fprintf(stderr, "cannot play %s\n", url.c_str());
        return 1;
    }
    const auto firstFrame = probe->waitForFirstFrame();
    std::this_thread::sleep_until(started + std::chrono::duration<double>(seconds));
    const double position = engine.bytesToSeconds(handle, engine.getPosition(handle));
    const int activity = engine.isActive(handle);
    engine.freeStream(handle);

    std::printf("output            %s\n", outputName);
    std::printf("played            %.2f s (position %.2f s, state %d)\n", seconds, position, activity);
    std::printf("cpu               %.3f s\n", cpuSeconds() - cpuBefore);
    std::printf("first frame       %.1f ms after createStream + play\n",
                std::chrono::duration<double, std::milli>(firstFrame - started).count());
    std::printf("peak resident     %ld KiB (%ld KiB before the stream)\n", peakResidentKilobytes(), residentBefore);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "serve" && argc == 3) return serve(argv[2]);
    if (mode == "play" && argc == 4) return play(argv[2], std::stod(argv[3]));
    std::fprintf(stderr, "usage: %s serve <file> | play <url> <seconds>\n", argv[0]);
    return 2;
}
