// How soon a long playlist shows its songs and how smoothly it scrolls: a
// playlist loaded into the playlist page 200 songs at a time, each page
// timed from its answer (fetched and decoded on the task) to its rows
// painted; then the page scrolled through all its rows, one frame every 40
// pixels, each frame's repaint timed. Measured for the companion's 500-song
// playlist (the reference) and for a playlist of `rows` songs (default
// 10 000), whose pages are the 500-song playlist's answers one after
// another. Prints milliseconds; the goal for the scroll is a 99th
// percentile under 8 ms. Run it under Xvfb (QT_QPA_PLATFORM=xcb) to paint
// as on a desktop; it paints offscreen otherwise.
//   ui_track_list_bench [runs] [rows]
#include "api/CloudApiClient.h"
#include "browse/CatalogueFeeds.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"
#include "server/catalogue/DemoBuilders.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/PlaylistPage.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/windows/MainWindow.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct Spread {
    double median, p95, p99, max;
};

Spread spreadOf(std::vector<double> values) {
    if (values.empty()) return {0, 0, 0, 0};
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values[values.size() * 95 / 100], values[values.size() * 99 / 100],
            values.back()};
}

// The songs from `offset` on, up to `limit` of them and no further than
// `rows`, out of `playlistId` repeated end to end (it holds `playlistSize`).
std::vector<SongItem> repeatedTracks(const CloudApiClient& client, const std::string& playlistId, int playlistSize,
                                     int rows, int offset, int limit, ServiceStatus* status) {
    std::vector<SongItem> songs;
    const int wanted = std::min(limit, rows - offset);
    while (int(songs.size()) < wanted) {
        const int from = (offset + int(songs.size())) % playlistSize;
        const int count = std::min(wanted - int(songs.size()), playlistSize - from);
        std::vector<SongItem> part = client.fetchPlaylistTracks(playlistId, count, from, "", status);
        if (part.empty()) break;
        songs.insert(songs.end(), part.begin(), part.end());
    }
    return songs;
}

// Loads every page of `playlistId` into the page's song list, noting for each
// page how long its rows took from its answer to the screen.
using PageFetch = std::function<std::vector<SongItem>(int offset, int limit, ServiceStatus* status)>;

std::vector<double> loadAllPages(MainWindow& window, const PageFetch& fetchPage) {
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
        std::vector<SongItem> songs = fetchPage(window.offset, window.limit, status);
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

struct Measured {
    int rows = 0;
    std::vector<double> pages, frames;
};

Measured measure(MainWindow& window, const PageFetch& fetchPage, int runs) {
    Measured measured;
    for (int run = 0; run < runs; ++run) {
        const std::vector<double> runPages = loadAllPages(window, fetchPage);
        measured.pages.insert(measured.pages.end(), runPages.begin(), runPages.end());
        measured.rows = static_cast<PlaylistPage*>(window.page(Pages::kPlaylist))->trackList()->itemCount();
        const std::vector<double> runFrames = scrollThrough(window);
        measured.frames.insert(measured.frames.end(), runFrames.begin(), runFrames.end());
    }
    return measured;
}

void print(const char* name, const Measured& measured) {
    const Spread page = spreadOf(measured.pages), frame = spreadOf(measured.frames);
    std::printf("%s, %d rows:\n", name, measured.rows);
    std::printf("  answer to rows painted, per page of up to 200: median %.2f ms, p95 %.2f ms, max %.2f ms\n",
                page.median, page.p95, page.max);
    std::printf(
        "  scroll frame (move + repaint), %zu frames: median %.2f ms, p95 %.2f ms, p99 %.2f ms (goal < 8), "
        "max %.2f ms\n",
        measured.frames.size(), frame.median, frame.p95, frame.p99, frame.max);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const int rows = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10000;

    HttpClient::globalInit();
    DemoServer server;
    if (!server.start()) return 1;
    const CloudApiClient client(ServiceHosts::allAt(server.origin()));
    const std::string playlistId = std::to_string(demo::kFiveHundredPlaylist);
    constexpr int kPlaylistSize = 500;

    MainWindow window;
    window.setCatalogue(&client);
    window.show();
    window.showPage(Pages::kPlaylist);

    std::printf("%d runs on %s\n", runs, qPrintable(QGuiApplication::platformName()));
    print("the 500-song playlist (reference)", measure(
                                                   window,
                                                   [&](int offset, int limit, ServiceStatus* status) {
                                                       return client.fetchPlaylistTracks(playlistId, limit, offset, "",
                                                                                         status);
                                                   },
                                                   runs));
    print("the long playlist", measure(
                                   window,
                                   [&](int offset, int limit, ServiceStatus* status) {
                                       return repeatedTracks(client, playlistId, kPlaylistSize, rows, offset, limit,
                                                             status);
                                   },
                                   runs));
    return 0;
}
