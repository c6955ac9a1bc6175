// Throughput of the text encoders on 1 MB inputs.
#include "text/TextCodec.h"
#include "text/TextUtils.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr std::size_t kInputBytes = 1 << 20;

std::string repeated(const std::string& sample) {
    std::string text;
    while (text.size() + sample.size() <= kInputBytes) text += sample;
    return text;
}

// 1 MB of song titles and artist names: Chinese, ASCII and a few characters
// (Korean, emoji) that GBK cannot hold.
std::string mixedText() { return repeated("晴天 - 周杰伦 (Jay Chou) / Love Story 아이유 🎵 & friends; "); }

void runUrlEncode(benchmark::State& state, bool keepUnreserved, bool asUtf8) {
    const std::string text = mixedText();
    for (auto _ : state) benchmark::DoNotOptimize(urlEncode(text, keepUnreserved, asUtf8));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void urlEncodeUtf8(benchmark::State& state) { runUrlEncode(state, false, true); }
void urlEncodeGbkKeepingUnreserved(benchmark::State& state) { runUrlEncode(state, true, false); }

void runUtf8ToGbk(benchmark::State& state, const std::string& text) {
    for (auto _ : state) benchmark::DoNotOptimize(TextCodec::utf8ToGbk(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void utf8ToGbk(benchmark::State& state) { runUtf8ToGbk(state, mixedText()); }

// Every character is one that GBK cannot hold (the slowest case for iconv).
void utf8ToGbkNothingInGbk(benchmark::State& state) { runUtf8ToGbk(state, repeated("아이유")); }

}  // namespace

BENCHMARK(urlEncodeUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(urlEncodeGbkKeepingUnreserved)->Unit(benchmark::kMillisecond);
BENCHMARK(utf8ToGbk)->Unit(benchmark::kMillisecond);
BENCHMARK(utf8ToGbkNothingInGbk)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
