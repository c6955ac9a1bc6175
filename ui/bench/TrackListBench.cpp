// How soon a long playlist shows its songs and how smoothly it scrolls: the
// companion's 500-song playlist loaded into the playlist page 200 songs at a
// time, each page timed from its answer (fetched and decoded on the task) to
// its rows painted; then the page scrolled through all 500 rows, one frame
// every 40 pixels, each frame's repaint timed. Prints milliseconds.
//   ui_track_list_bench [runs]
#include "api/CloudApiClient.h"
#include "browse/CatalogueFeeds.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"
#include "server/catalogue/DemoBuilders.h"
#include "ui/MainWindow.h"
#include "ui/ScrollPane.h"
#include "ui/TrackList.h"
#include "ui/pages/PlaylistPage.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Spread {
    double median, p95, max;
};

Spread spreadOf(std::vector<double> values) {
    if (values.empty()) return {0, 0, 0};
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values[values.size() * 95 / 100], values.back()};
}

// Loads every page of `playlistId` into the page's song list, noting for each
// page how long its rows took from its answer to the screen.
std::vector<double> loadAllPages(MainWindow& window, const CloudApiClient& client, const std::string& playlistId) {
    auto& page = *static_cast<PlaylistPage*>(window.page(Pages::kPlaylist));
    TrackList& list = *page.trackList();
    std::atomic<Clock::time_point> answered{};
    std::vector<double> answerToPainted;
    const auto connection = QObject::connect(&list, &TrackList::rowsAdded, [&] {
        window.repaint();
        answerToPainted.push_back(millisecondsBetween(answered.load(), Clock::now()));
    });
    Feed<SongItem> feed(CatalogueFeeds::kPlaylistPageSize);
    list.show(feed);
    feed.load([&](FeedWindow window, ServiceStatus* status) {
        std::vector<SongItem> songs = client.fetchPlaylistTracks(playlistId, window.limit, window.offset, "", status);
        answered = Clock::now();
        return songs;
    });
    do {
        if (!QTest::qWaitFor([&] { return !list.isLoading(); }, 20000)) break;
    } while (list.loadMore());
    QObject::disconnect(connection);
    return answerToPainted;
}

// Scrolls the page from top to bottom, 40 pixels a frame, timing each repaint.
std::vector<double> scrollThrough(MainWindow& window) {
    ScrollPane& pane = *window.page(Pages::kPlaylist)->scrollPane();
    std::vector<double> frames;
    for (int position = 0; position <= pane.scrollBar()->maximum(); position += 40) {
        const Clock::time_point start = Clock::now();
        pane.moveSlideBox(-position);
        window.repaint();
        frames.push_back(millisecondsBetween(start, Clock::now()));
    }
    return frames;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    HttpClient::globalInit();
    DemoServer server;
    if (!server.start()) return 1;
    const CloudApiClient client(ServiceHosts::allAt(server.origin()));
    const std::string playlistId = std::to_string(demo::kFiveHundredPlaylist);

    MainWindow window;
    window.setCatalogue(&client);
    window.show();
    window.showPage(Pages::kPlaylist);

    std::vector<double> pages, frames;
    int rows = 0;
    for (int run = 0; run < runs; ++run) {
        const std::vector<double> runPages = loadAllPages(window, client, playlistId);
        pages.insert(pages.end(), runPages.begin(), runPages.end());
        rows = static_cast<PlaylistPage*>(window.page(Pages::kPlaylist))->trackList()->itemCount();
        const std::vector<double> runFrames = scrollThrough(window);
        frames.insert(frames.end(), runFrames.begin(), runFrames.end());
    }

    const Spread page = spreadOf(pages), frame = spreadOf(frames);
    std::printf("%d runs, %d rows each\n", runs, rows);
    std::printf("answer to rows painted, per page of up to 200: median %.2f ms, p95 %.2f ms, max %.2f ms\n",
                page.median, page.p95, page.max);
    std::printf("scroll frame (move + repaint), %zu frames: median %.2f ms, p95 %.2f ms, max %.2f ms\n",
                frames.size(), frame.median, frame.p95, frame.max);
    return 0;
}
