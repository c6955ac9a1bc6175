// How soon a play shows its song and sounds: the real play flow against the
// companion server, in this process, with a delay before every answer. For
// each play it notes when the audio request reached the server and when the
// title, the cover and the lyrics were shown and the sound started, and
// prints the medians in milliseconds and in round trips.
//   player_start_bench [latency-ms] [plays]
#include "CompanionPlayer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const char* const kSongs[] = {"1900001001", "1900001002", "1900001003", "1900001004", "1900001005"};
const char* const kMilestones[] = {"audio request", "title", "cover", "lyrics", "sound"};

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const int latencyMs = argc > 1 ? std::atoi(argv[1]) : 50;
    const int plays = argc > 2 ? std::atoi(argv[2]) : 10;

    ServerOptions options = DemoServer::testOptions();
    options.latencyMs = latencyMs;
    const auto bench = CompanionPlayer::start(options);
    if (!bench) return 1;
    Player& player = bench->player();

    std::map<std::string, std::vector<double>> figures;
    for (int i = 0; i < plays; ++i) {
        std::map<std::string, Clock::time_point> seen;
        QEventLoop loop;
        auto note = [&](const char* milestone) {
            if (!seen.count(milestone)) seen[milestone] = Clock::now();
            if (seen.size() == 4) loop.quit();  // every milestone the player signals
        };
        QObject context;
        QObject::connect(&player, &Player::songChanged, &context, [&] { note("title"); });
        QObject::connect(&player, &Player::coverChanged, &context, [&] { note("cover"); });
        QObject::connect(&player, &Player::lyricsChanged, &context, [&] { note("lyrics"); });
        QObject::connect(&player, &Player::songStarted, &context, [&] { note("sound"); });
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);

        bench->server().clearSeenRequests();
        const Clock::time_point asked = Clock::now();
        player.play(kSongs[size_t(i) % std::size(kSongs)]);
        loop.exec();
        for (const SeenRequest& request : bench->server().seenRequests())
            if (request.target.starts_with("/media/audio/")) {
                seen.emplace("audio request", request.received);
                break;
            }
        for (const char* milestone : kMilestones)
            if (seen.count(milestone)) figures[milestone].push_back(millisecondsBetween(asked, seen[milestone]));
    }

    std::printf("play start at %d ms per answer, median of %d plays\n", latencyMs, plays);
    for (const char* milestone : kMilestones) {
        const double ms = median(figures[milestone]);
        std::printf("  %-14s %7.1f ms  %4.1f round trips  (%zu of %d)\n", milestone, ms,
                    latencyMs > 0 ? ms / latencyMs : 0.0, figures[milestone].size(), plays);
    }
    return 0;
}
