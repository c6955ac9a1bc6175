// A scan in a process of its own, for the test that kills one midway:
// scan_child <index> <folder> prints "progress <done> <total>" after each
// committed batch and "finished" at the end.
#include "local/FolderScan.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const ScanResult result = scanFolders({argv[2]}, argv[1], [](const ScanProgress& progress) {
        std::printf("progress %d %d\n", progress.done, progress.total);
        std::fflush(stdout);
    });
    std::printf(result.finished ? "finished\n" : "stopped\n");
    return 0;
}
