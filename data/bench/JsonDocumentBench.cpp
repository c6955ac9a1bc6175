// Parsing and reading a playlist answer of about 2 MB (1000 songs), next to
// a plain nlohmann parse of the same text, and reading one deep path.
#include <benchmark/benchmark.h>

#include <string>

#include <nlohmann/json.hpp>

#include "data/JsonDocument.h"

namespace {

constexpr int kSongs = 1000;

std::string songJson(int i) {
    const std::string n = std::to_string(i);
    std::string quality;
    for (const char* level : {"h", "m", "l", "sq", "hr"}) {
        quality +=
            std::string("\"") + level + R"(":{"br":320000,"fid":0,"size":10)" + n + R"(234,"vd":-53432.0,"sr":44100},)";
    }
    return R"({"name":"第)" + n + R"(首歌 Song Title )" + n + R"(","id":)" + std::to_string(1901371647 + i) +
           R"(,"pst":0,"t":0,"ar":[{"id":6452,"name":"周杰伦","tns":[],"alias":[]},{"id":12138,"name":"Guest )" + n +
           R"(","tns":[],"alias":["别名"]}],"alia":["电视剧《某某》插曲"],"pop":100,"st":0,"rt":"","fee":8,"v":42,"crbt":null,"cf":"","al":{"id":)" +
           std::to_string(2263164 + i) + R"(,"name":"叶惠美 )" + n +
           R"(","picUrl":"https://p1.music.126.net/Dq-lJmA8TVw0dCWdWqJf0A==/109951165671182684.jpg","tns":[],"pic_str":"109951165671182684","pic":109951165671182684},"dt":269)" +
           n + R"(,)" + quality +
           R"("a":null,"cd":"01","no":3,"rtUrl":null,"ftype":0,"rtUrls":[],"djId":0,"copyright":1,"s_id":0,"mark":8192,"originCoverType":1,"originSongSimpleData":null,"tagPicList":null,"resourceState":true,"version":42,"songJumpInfo":null,"privilege":{"id":)" +
           n +
           R"(,"fee":8,"payed":0,"st":0,"pl":320000,"dl":0,"sp":7,"cp":1,"subp":1,"cs":false,"maxbr":999000,"fl":320000,"toast":false,"flag":4,"preSell":false,"playMaxbr":999000,"downloadMaxbr":999000,"maxBrLevel":"hires","playMaxBrLevel":"hires","downloadMaxBrLevel":"hires","plLevel":"exhigh","dlLevel":"none","flLevel":"exhigh"},"entertainmentTags":null,"single":0,"noCopyrightRcmd":null,"rtype":0,"rurl":null,"mst":9,"cp":1007,"mv":0,"publishTime":1059580800000,"description":"A fairly long description text that pads every song to about two kilobytes, as real answers are padded by their many quality and privilege fields. )" +
           n +
           R"( Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor incididunt ut labore et dolore magna aliqua. Ut enim ad minim veniam, quis nostrud exercitation ullamco laboris nisi ut aliquip ex ea commodo consequat. Duis aute irure dolor in reprehenderit in voluptate velit esse cillum dolore eu fugiat nulla pariatur. Excepteur sint occaecat cupidatat non proident, sunt in culpa qui officia deserunt mollit anim id est laborum."})";
}

const std::string& playlistAnswer() {
    static const std::string text = [] {
        std::string text =
            R"({"code":200,"relatedVideos":null,"playlist":{"id":3778678,"name":"热歌榜","coverImgUrl":"https://p1.music.126.net/x.jpg","trackCount":1000,"playCount":12345678901,"tracks":[)";
        for (int i = 0; i < kSongs; ++i) {
            if (i > 0) text += ',';
            text += songJson(i);
        }
        text += R"(]},"urls":null,"privileges":[]})";
        return text;
    }();
    return text;
}

std::string trackPath(int i, const char* rest) { return "playlist.tracks[" + std::to_string(i) + "]." + rest; }

void BM_PlainNlohmannParse(benchmark::State& state) {
    const std::string& text = playlistAnswer();
    for (auto _ : state) {
        auto value = nlohmann::ordered_json::parse(text, nullptr, false);
        benchmark::DoNotOptimize(value);
    }
    state.SetLabel(std::to_string(text.size() / 1024) + " KiB answer");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_PlainNlohmannParse)->Unit(benchmark::kMillisecond);

void BM_JsonDocumentParse(benchmark::State& state) {
    const std::string& text = playlistAnswer();
    for (auto _ : state) {
        JsonDocument doc;
        benchmark::DoNotOptimize(doc.parse(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_JsonDocumentParse)->Unit(benchmark::kMillisecond);

// What a playlist page does: parse once, then read name, first artist and
// cover of every song.
void BM_JsonDocumentParseAndReadThreePathsPerSong(benchmark::State& state) {
    const std::string& text = playlistAnswer();
    for (auto _ : state) {
        JsonDocument doc;
        doc.parse(text);
        const int count = doc.count("playlist.tracks");
        for (int i = 0; i < count; ++i) {
            benchmark::DoNotOptimize(doc.getText(trackPath(i, "name")));
            benchmark::DoNotOptimize(doc.getText(trackPath(i, "ar[0].name")));
            benchmark::DoNotOptimize(doc.getText(trackPath(i, "al.picUrl")));
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_JsonDocumentParseAndReadThreePathsPerSong)->Unit(benchmark::kMillisecond);

void BM_JsonDocumentGetTextDeepPath(benchmark::State& state) {
    JsonDocument doc;
    doc.parse(playlistAnswer());
    for (auto _ : state) {
        benchmark::DoNotOptimize(doc.getText("playlist.tracks[999].ar[1].alias[0]"));
    }
}
BENCHMARK(BM_JsonDocumentGetTextDeepPath);

}  // namespace

BENCHMARK_MAIN();
