// Scans 2 000 short tagged MP3 and FLAC files made with ffmpeg in a
// temporary folder into a fresh index, then again unchanged, and prints
// each scan's time and files per second beside its goal.
//   local_scan_bench [files]
#include "SongFiles.h"
#include "TempDir.h"
#include "local/FolderScan.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>

namespace {

double processSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Timed {
    ScanResult result;
    double wallSeconds = 0, cpuSeconds = 0;
};

Timed timedScan(const std::string& folder, const std::string& index) {
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = processSeconds();
    Timed timed;
    timed.result = scanFolders({folder}, index, {});
    timed.cpuSeconds = processSeconds() - cpuStart;
    timed.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return timed;
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::stoi(argv[1]) : 2000;
    TempDir dir;
    const std::string music = dir.file("music");
    std::filesystem::create_directories(music);
    std::printf("making %d songs with ffmpeg in %s ...\n", files, music.c_str());
    constexpr int kPerRun = 100;
    for (int first = 0; first < files; first += kPerRun) {
        std::vector<SongFileSpec> batch;
        for (int i = first; i < std::min(files, first + kPerRun); ++i) {
            const std::string n = std::to_string(i);
            batch.push_back({"song" + n + (i % 2 ? ".flac" : ".mp3"), "Title " + n, "Artist " + std::to_string(i % 37),
                             "Album " + std::to_string(i % 101), 1.0, i % 10 == 0});
        }
        makeSongFiles(music, batch);
    }

    const std::string index = dir.file("index.sqlite");
    const Timed first = timedScan(music, index);
    const Timed again = timedScan(music, index);
    std::printf(
        "first scan:      %d files read in %.3f s (%.3f s CPU): %.0f files/s (goal: at least 200 files/s on one "
        "core)\n",
        first.result.read, first.wallSeconds, first.cpuSeconds, first.result.read / first.wallSeconds);
    std::printf("unchanged scan:  %d files skipped in %.3f s (%.3f s CPU): %.0f files/s (goal: under 1 s)\n",
                again.result.unchanged, again.wallSeconds, again.cpuSeconds,
                again.result.unchanged / again.wallSeconds);
    return first.result.finished && again.result.finished && again.result.read == 0 ? 0 : 1;
}
