// What the desktop spectrum costs: the whole program started against the
// hosts of the MIVRA_* variables (with its data under the user's documents
// folder, as the program keeps it), playing one song, its processor time
// measured with the spectrum switched off and then on.
//   spectrum_cpu_bench [song-id] [seconds]
#include "api/ServiceHosts.h"
#include "app/Application.h"
#include "app/tests/StartedApplication.h"
#include "net/HttpClient.h"
#include "player/Player.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/SpectrumWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

namespace {

// Processor seconds this process has used, all threads together.
double processSeconds() {
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return double(used.tv_sec) + double(used.tv_nsec) / 1e9;
}

void pumpFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// The share of one core used while events run for `seconds`, in percent.
double coreShareOver(int seconds) {
    QElapsedTimer wall;
    wall.start();
    const double before = processSeconds();
    pumpFor(seconds * 1000);
    return (processSeconds() - before) / (double(wall.nsecsElapsed()) / 1e9) * 100.0;
}

}  // namespace

int main(int argc, char** argv) {
    HttpClient::globalInit();
    QApplication qtApp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const std::string song = argc > 1 ? argv[1] : "1900001001";
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;

    // Where the program keeps its data, as the program itself finds it.
    Application app(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString(),
                    QCoreApplication::applicationDirPath().toStdString(), ServiceHosts::fromEnvironment());
    startAndWait(app);
    app.player()->play(song);
    QElapsedTimer waited;
    waited.start();
    while (!app.player()->isPlaying() && waited.elapsed() < 20000) pumpFor(50);
    if (!app.player()->isPlaying()) {
        std::fprintf(stderr, "the song did not start playing\n");
        return 1;
    }
    pumpFor(1000);  // past the start of the song

    const double hidden = coreShareOver(seconds);
    app.spectrumWindow()->setSwitchedOn(true);
    delete MessageBoxWindow::dialog();
    const double shown = coreShareOver(seconds);
    app.spectrumWindow()->setSwitchedOn(false);

    // The worst case: loud noise in every band, so every bar and cap moves
    // and the whole strip is drawn again on every frame.
    std::minstd_rand noise(7);
    SpectrumWindow busy([&noise](std::array<float, kSpectrumBins>& magnitudes) {
        for (float& magnitude : magnitudes) magnitude = float(noise() % 1000) / 1000.0f * 0.02f;
    });
    busy.setColours(app.storedSettings().color1, app.storedSettings().color2);
    busy.setSwitchedOn(true);
    delete MessageBoxWindow::dialog();
    const double everyBar = coreShareOver(seconds);
    busy.setSwitchedOn(false);

    std::printf("song %s playing, %d s each, share of one core:\n", song.c_str(), seconds);
    std::printf("  spectrum hidden: %6.2f %%\n", hidden);
    std::printf("  spectrum shown:  %6.2f %%\n", shown);
    std::printf("  the spectrum adds %.2f %% of one core\n", shown - hidden);
    std::printf("  with every bar moving on every frame it adds %.2f %%\n", everyBar - hidden);
    std::fflush(stdout);
    std::_Exit(0);
}
