// Picture bursts over HTTPS with and without connection reuse, and the
// service engine's cost per call on loopback.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <string>

#include "RecordingServer.h"
#include "TestCertificates.h"
#include "net/HttpClient.h"
#include "net/HttpPictureEngine.h"

namespace {

constexpr int kPicturesPerPage = 100;

// A local HTTPS server handing out 4 KB pictures, trusted via MIVRA_CA_FILE.
struct PictureSite {
    TestCertificates certificates;
    RecordingServer server{&certificates};

    PictureSite() {
        setenv("MIVRA_CA_FILE", certificates.authorityFile().c_str(), 1);
        server.setHandler([](const RecordedRequest&) {
            return CannedReply{200, std::string(4096, 'p'), "image/jpeg", {}};
        });
    }
};

HttpRequest pictureRequest(int index) {
    static PictureSite site;
    HttpRequest request;
    request.url = site.server.url("/cover" + std::to_string(index) + ".jpg?param=140y140");
    return request;
}

void BM_PicturePageReusingConnections(benchmark::State& state) {
    for (auto _ : state) {
        for (int i = 0; i < kPicturesPerPage; ++i)
            benchmark::DoNotOptimize(HttpClient::fetchPicture(pictureRequest(i)));
    }
}
BENCHMARK(BM_PicturePageReusingConnections)->Unit(benchmark::kMillisecond);

void BM_PicturePageFreshConnections(benchmark::State& state) {
    for (auto _ : state) {
        for (int i = 0; i < kPicturesPerPage; ++i)
            benchmark::DoNotOptimize(fetchPictureWith(nullptr, pictureRequest(i)));
    }
}
BENCHMARK(BM_PicturePageFreshConnections)->Unit(benchmark::kMillisecond);

void BM_ServiceEngineCallOnLoopback(benchmark::State& state) {
    static RecordingServer server;
    server.setHandler([](const RecordedRequest&) {
        return CannedReply{200, "{\"code\":200}", "application/json", {}};
    });
    HttpRequest request;
    request.url = server.url("/search?keywords=x&type=1&limit=18");
    for (auto _ : state) benchmark::DoNotOptimize(HttpClient::fetchService(request));
}
BENCHMARK(BM_ServiceEngineCallOnLoopback)->Unit(benchmark::kMicrosecond);

void BM_ServiceEngineHttpsCallOnLoopback(benchmark::State& state) {
    HttpRequest request = pictureRequest(0);
    for (auto _ : state) benchmark::DoNotOptimize(HttpClient::fetchService(request));
}
BENCHMARK(BM_ServiceEngineHttpsCallOnLoopback)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    HttpClient::globalInit();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
