// How late a lyric line changes against the audio position: demo songs with
// word-timed lyrics played whole by the real player against the companion.
// Each time the player shows a new line, the audio position is read and
// compared with the moment the line is due (the line's start for
// word-timed lyrics, the whole second that names it for line lyrics). The
// reference, from the same run: a timer ticking every 500 ms beside it, which
// shows a new line at the first tick after it is due.
//   lyric_lateness_bench [songs]
#include "CompanionPlayer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

const char* const kSongs[] = {"1900001001", "1900001002", "1900001003"};
constexpr int kReferenceTickMs = 500;

struct Figures {
    std::vector<double> lateMs;

    void add(double ms) { lateMs.push_back(ms); }
    double percentile(double share) const {
        if (lateMs.empty()) return 0;
        std::vector<double> sorted = lateMs;
        std::sort(sorted.begin(), sorted.end());
        return sorted[std::min(sorted.size() - 1,
                               static_cast<std::size_t>(share * static_cast<double>(sorted.size())))];
    }
    void print(const char* name) const {
        std::printf("  %-34s median %6.1f ms  95th %6.1f ms  worst %6.1f ms  (%zu changes)\n", name, percentile(0.5),
                    percentile(0.95), lateMs.empty() ? 0.0 : *std::max_element(lateMs.begin(), lateMs.end()),
                    lateMs.size());
    }
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int songs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2;
    const auto bench = CompanionPlayer::start(DemoServer::testOptions());
    if (!bench) return 1;
    Player& player = bench->player();
    AudioEngine& engine = bench->engine();

    const auto positionMs = [&]() -> std::optional<double> {
        const int64_t bytes = engine.getPosition(player.currentStream());
        if (bytes < 0) return std::nullopt;
        return engine.bytesToSeconds(player.currentStream(), bytes) * 1000.0;
    };

    Figures words, lines, reference;
    for (int i = 0; i < songs; ++i) {
        QEventLoop loop;
        QObject context;
        int shownWordLine = -1, shownItem = -1, referenceLine = -1;
        QObject::connect(&player, &Player::wordFillChanged, &context, [&](int line, double) {
            if (line == shownWordLine) return;
            shownWordLine = line;
            if (const auto at = positionMs()) words.add(*at - player.wordLyrics().lines()[size_t(line)].startMs);
        });
        QObject::connect(&player, &Player::lyricSelected, &context, [&](int item) {
            if (item == shownItem) return;
            shownItem = item;
            if (const auto at = positionMs()) lines.add(*at - static_cast<int>(*at / 1000) * 1000.0);
        });
        QTimer referenceTick;
        QObject::connect(&referenceTick, &QTimer::timeout, &context, [&] {
            const auto at = positionMs();
            if (!at) return;
            const std::optional<int> line = player.wordLyrics().lineAt(static_cast<int>(*at));
            if (!line || *line == referenceLine) return;
            referenceLine = *line;
            reference.add(*at - player.wordLyrics().lines()[size_t(*line)].startMs);
        });
        QObject::connect(&player, &Player::songStarted, &context, [&] { referenceTick.start(kReferenceTickMs); });
        // The song has played whole when its stream stops.
        QTimer endCheck;
        QObject::connect(&endCheck, &QTimer::timeout, &context, [&] {
            if (player.currentStream() && player.elapsedSeconds() > 0 && !player.isPlaying()) loop.quit();
            if (player.lengthSeconds() > 0 && player.elapsedSeconds() >= player.lengthSeconds()) loop.quit();
        });
        endCheck.start(200);
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        player.play(kSongs[size_t(i) % std::size(kSongs)]);
        loop.exec();
    }

    std::printf("lyric line changes against the audio position, %d demo songs (goal: within 50 ms)\n", songs);
    words.print("word-timed lines, by the clock");
    lines.print("line lyrics, by the clock");
    reference.print("word-timed lines, 500 ms tick");
    return 0;
}
