// How the program's memory holds up over a long session: the whole program,
// started against the hosts of the MIVRA_* variables, is taken round every
// page again and again (discover, charts, a search and its artists, an
// artist and its MVs, an album, all MVs, login, library, settings, the
// play list), opens `playlists` playlists and plays `songs` of their songs,
// spread evenly over `minutes`. Every `interval` minutes it prints its
// resident size beside the reference, the size after the first `reference`
// minutes; the goal is growth under 5 MB after the reference, and under
// 150 MB in all.
//   memory_tour_bench [minutes] [interval-minutes] [reference-minutes] [playlists] [songs]
#include "api/CloudApiClient.h"
#include "api/ServiceHosts.h"
#include "app/Application.h"
#include "app/CoverMenuActions.h"
#include "app/tests/StartedApplication.h"
#include "net/HttpClient.h"
#include "player/Player.h"
#include "server/catalogue/DemoBuilders.h"
#include "ui/pages/ArtistPage.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

// The resident size of this process in megabytes, from /proc.
double residentMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:")) return std::atof(line.c_str() + 6) / 1024.0;
    }
    return 0;
}

void pumpFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs `step` from the event loop (a step may wait in an event loop of its
// own), then lets the program settle for a moment; a notice it raised goes.
void runStep(const std::function<void()>& step) {
    bool done = false;
    QTimer::singleShot(0, [&] {
        step();
        done = true;
    });
    while (!done) pumpFor(20);
    pumpFor(1500);
    delete MessageBoxWindow::dialog();
}

std::vector<std::function<void(MainWindow&, Application&)>> pageVisits() {
    return {
        [](MainWindow& window, Application&) { window.runToolbarAction(ToolbarPage::Discover); },
        [](MainWindow& window, Application&) { window.runToolbarAction(ToolbarPage::Charts); },
        [](MainWindow& window, Application&) {
            QLineEdit* box = window.toolbar()->searchBox();
            box->setText("夏");
            QTest::keyClick(box, Qt::Key_Return);
        },
        [](MainWindow& window, Application&) {
            if (auto* more = window.findChild<FlatButton*>("标签按钮_查看搜索艺人"))
                QTest::mouseClick(more, Qt::LeftButton);
        },
        [](MainWindow& window, Application&) {
            window.router().openArtist(std::to_string(demo::kZhouYe), Place::Home);
        },
        [](MainWindow& window, Application&) {
            static_cast<ArtistPage*>(window.page(Pages::kArtist))->openArtistMvs();
        },
        [](MainWindow& window, Application&) { window.router().openAlbum("150001", Place::Home); },
        [](MainWindow& window, Application&) {
            window.router().open({Place::AllMvs, ""}, Place::Home);
        },
        [](MainWindow& window, Application&) { window.toolbar()->loginLabel()->click(); },
        [](MainWindow& window, Application&) { window.runToolbarAction(ToolbarPage::Library); },
        [](MainWindow& window, Application&) { window.showPage(Pages::kSettings); },
        [](MainWindow&, Application& app) {
            app.coverMenu()->openPlayList();
            pumpFor(500);
            if (QWidget* list = QApplication::activeWindow(); list && list != app.mainWindow()) list->close();
        },
        [](MainWindow& window, Application&) { window.runToolbarAction(ToolbarPage::Home); },
    };
}

// The playlists the catalogue offers and the songs they hold, asked for by
// the bench itself, before the program starts.
struct TourCatalogue {
    std::vector<std::string> playlists;
    std::vector<std::string> songs;
};

TourCatalogue readCatalogue() {
    const CloudApiClient client(ServiceHosts::fromEnvironment());
    TourCatalogue catalogue;
    for (const CoverItem& item : client.fetchHighQualityPlaylists()) catalogue.playlists.push_back(item.id);
    for (const CoverItem& item : client.fetchToplists()) catalogue.playlists.push_back(item.id);
    for (size_t i = 0; i < catalogue.playlists.size() && catalogue.songs.size() < 200; ++i) {
        for (const SongItem& song : client.fetchPlaylistTracks(catalogue.playlists[i], 20, 0, ""))
            catalogue.songs.push_back(song.id);
    }
    return catalogue;
}

int argument(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::max(1, std::atoi(argv[index])) : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    HttpClient::globalInit();
    QApplication qtApp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int minutes = argument(argc, argv, 1, 60);
    const int interval = argument(argc, argv, 2, 5);
    const int reference = argument(argc, argv, 3, 10);
    const int playlists = argument(argc, argv, 4, 50);
    const int songs = argument(argc, argv, 5, 30);

    const TourCatalogue catalogue = readCatalogue();
    if (catalogue.playlists.empty() || catalogue.songs.empty()) {
        std::fprintf(stderr, "the service lists no playlists or songs\n");
        return 1;
    }

    Application app(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString(),
                    QCoreApplication::applicationDirPath().toStdString(), ServiceHosts::fromEnvironment());
    app.setExitHandler([] {});
    startAndWait(app);
    MainWindow& window = *app.mainWindow();
    std::printf("start-up: %.1f MB resident\n", residentMegabytes());
    std::printf("%8s %12s %14s\n", "minute", "resident MB", "vs reference");
    std::fflush(stdout);

    const auto visits = pageVisits();
    const qint64 totalMs = qint64(minutes) * 60'000;
    const qint64 playlistEveryMs = totalMs / playlists;
    const qint64 songEveryMs = totalMs / songs;
    QElapsedTimer clock;
    clock.start();
    int visited = 0, playlistsOpened = 0, songsPlayed = 0, reported = 0, songsStarted = 0;
    bool pageVisitDue = false;  // every playlist or song is followed by a page
    QObject::connect(app.player(), &Player::songStarted, [&songsStarted] { ++songsStarted; });
    double referenceMb = 0, highestMb = 0, highestAfterReferenceMb = 0;
    while (clock.elapsed() < totalMs) {
        const qint64 now = clock.elapsed();
        if (pageVisitDue) {
            runStep([&] { visits[size_t(visited) % visits.size()](window, app); });
            ++visited;
            pageVisitDue = false;
        } else if (playlistsOpened < playlists && now >= playlistsOpened * playlistEveryMs) {
            const std::string& id = catalogue.playlists[size_t(playlistsOpened) % catalogue.playlists.size()];
            runStep([&] { window.router().openPlaylist(id, Place::Home); });
            ++playlistsOpened;
            pageVisitDue = true;
        } else if (songsPlayed < songs && now >= songsPlayed * songEveryMs) {
            const std::string& id = catalogue.songs[size_t(songsPlayed) * 7 % catalogue.songs.size()];
            runStep([&] { window.router().play(id); });
            ++songsPlayed;
            pageVisitDue = true;
        } else {
            runStep([&] { visits[size_t(visited) % visits.size()](window, app); });
            ++visited;
        }

        const double resident = residentMegabytes();
        highestMb = std::max(highestMb, resident);
        const qint64 elapsedMinutes = clock.elapsed() / 60'000;
        if (referenceMb == 0 && elapsedMinutes >= reference) referenceMb = resident;
        if (referenceMb > 0) highestAfterReferenceMb = std::max(highestAfterReferenceMb, resident);
        if (elapsedMinutes >= qint64(reported + 1) * interval) {
            reported = int(elapsedMinutes / interval);
            if (referenceMb > 0)
                std::printf("%8lld %12.1f %+13.1f\n", static_cast<long long>(elapsedMinutes), resident,
                            resident - referenceMb);
            else
                std::printf("%8lld %12.1f %14s\n", static_cast<long long>(elapsedMinutes), resident, "(before it)");
            std::fflush(stdout);
        }
    }
    std::printf("pages visited %d, playlists opened %d, songs asked for %d (%d started)\n", visited, playlistsOpened,
                songsPlayed, songsStarted);
    std::printf("reference (after %d min): %.1f MB; highest after it: %.1f MB, growth %+.1f MB (goal under 5 MB)\n",
                reference, referenceMb, highestAfterReferenceMb, highestAfterReferenceMb - referenceMb);
    std::printf("highest resident: %.1f MB (goal under 150 MB)\n", highestMb);
    return 0;
}
