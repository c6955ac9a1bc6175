// Plays the demo songs in List mode for a long time, in this process against
// the companion, and prints the memory the process holds at the start, every
// few minutes and at the end: a leak per song shows as steady growth.
//   playback_soak_bench [minutes]   (default 60)
#include "CompanionPlayer.h"
#include "base/AllocatorArenas.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

const char* const kSongs[] = {"1900001001", "1900001002", "1900001003", "1900001004",
                              "1900001005", "1900001006", "1900001008", "1900001009"};
constexpr int kReportEveryMinutes = 5;

// The resident memory of this process, in kilobytes.
long residentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmRSS:")) return std::atol(line.c_str() + 6);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    limitAllocatorArenas();  // as the program does
    QCoreApplication application(argc, argv);
    const int minutes = argc > 1 ? std::atoi(argv[1]) : 60;

    const auto bench = CompanionPlayer::start(DemoServer::testOptions());
    if (!bench) return 1;
    Player& player = bench->player();

    // The queue takes the songs as they are played; List mode then goes
    // round them for as long as the soak lasts.
    int started = 0, failed = 0;
    QObject::connect(&player, &Player::songStarted, [&](const std::string&) { ++started; });
    QObject::connect(&player, &Player::songFailed, [&](const std::string&) { ++failed; });
    player.setMode(PlayMode::List);
    player.appendToQueue({std::begin(kSongs), std::end(kSongs)});
    player.play(kSongs[0]);

    long startKb = 0;
    int elapsedMinutes = 0;
    QTimer minute;
    QObject::connect(&minute, &QTimer::timeout, [&] {
        ++elapsedMinutes;
        if (elapsedMinutes == 1) startKb = residentKb();  // once the first songs have warmed everything up
        if (elapsedMinutes % kReportEveryMinutes == 0 || elapsedMinutes == minutes)
            std::printf("%3d min: %6ld kB resident, %d songs started, %d failed\n", elapsedMinutes, residentKb(),
                        started, failed);
        std::fflush(stdout);
        if (elapsedMinutes >= minutes) application.quit();
    });
    minute.start(60 * 1000);
    application.exec();

    const long endKb = residentKb();
    std::printf("after %d min of List-mode playback: %ld kB at 1 min, %ld kB at the end, growth %ld kB\n", minutes,
                startKb, endKb, endKb - startKb);
    return 0;
}
