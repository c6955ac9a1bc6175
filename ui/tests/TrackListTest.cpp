// The song list as the view of a feed of songs: a newer load drops what an
// older one still delivers, and one page at a time is asked for through the
// list, only while more may follow. Its rows across the width, the covers
// it fetches for the rows in sight, and the filter typed into it.
#include "ui/lists/TrackList.h"
#include "ui/pictures/PicturePipeline.h"

#include "TestPictures.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <functional>
#include <future>
#include <mutex>

namespace {

std::vector<SongItem> songs(const std::string& prefix, int from, int count) {
    std::vector<SongItem> result;
    for (int i = from; i < from + count; ++i) {
        const std::string n = prefix + std::to_string(i);
        result.push_back({.id = n, .name = "song " + n, .artists = "artist " + n});
    }
    return result;
}

using PageFetcher = std::function<std::vector<SongItem>(int offset, int limit, ServiceStatus* status)>;

class TrackListTest : public ::testing::Test {
protected:
    TrackListTest() {
        list.setGeometry(0, 0, 950, 550);
        list.show(feed);
    }

    void load(PageFetcher fetch) {
        feed.load(
            [fetch](FeedWindow window, ServiceStatus* status) { return fetch(window.offset, window.limit, status); });
    }

    bool waitUntilLoaded() {
        return QTest::qWaitFor([&] { return !list.isLoading(); }, 5000);
    }

    Feed<SongItem> feed{200};
    TrackList list;
};

TEST_F(TrackListTest, ANewerLoadDropsThePagesOfAnOlderOne) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    load([released](int offset, int, ServiceStatus*) {
        released.wait();
        return songs("old", offset, 3);
    });
    EXPECT_FALSE(list.isEnabled());
    load([](int offset, int, ServiceStatus*) { return songs("new", offset, 2); });
    ASSERT_TRUE(waitUntilLoaded());
    release.set_value();
    QTest::qWait(100);

    EXPECT_EQ(list.itemCount(), 2);
    EXPECT_EQ(list.songIds(), (ItemIds{"new0", "new1"}));
    EXPECT_EQ(list.itemText(1, IconText::Main), "song new1");
    EXPECT_EQ(list.itemText(1, IconText::Second), "artist new1");
    EXPECT_TRUE(list.isEnabled());
}

TEST_F(TrackListTest, PagesComeOneAtATimeWhileTheLastOneCameFull) {
    std::mutex mutex;
    std::vector<std::pair<int, int>> asked;  // offset, limit
    // 450 songs in all.
    load([&](int offset, int limit, ServiceStatus*) {
        std::lock_guard lock(mutex);
        asked.emplace_back(offset, limit);
        return songs("s", offset, std::clamp(450 - offset, 0, limit));
    });
    QSignalSpy added(&list, &TrackList::rowsAdded);
    EXPECT_FALSE(list.loadMore());  // the first page is still on its way
    ASSERT_TRUE(waitUntilLoaded());
    EXPECT_TRUE(list.isEnabled());

    EXPECT_TRUE(list.loadMore());
    EXPECT_FALSE(list.loadMore());
    EXPECT_TRUE(list.isEnabled());  // rows already listed stay usable
    ASSERT_TRUE(waitUntilLoaded());
    EXPECT_TRUE(list.loadMore());
    ASSERT_TRUE(waitUntilLoaded());
    EXPECT_FALSE(list.loadMore());  // the last page was short

    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{0, 200}, {200, 200}, {400, 200}}));
    ASSERT_EQ(added.size(), 3);
    EXPECT_EQ(added.at(2).at(0).toInt(), 450);
    EXPECT_EQ(list.songIds().size(), 450u);
    EXPECT_EQ(list.songIds().at(449), "s449");
    EXPECT_EQ(list.itemText(449, IconText::Main), "song s449");
}

QStringList rowNames(const TrackList& list) {
    QStringList names;
    for (int row = 0; row < list.itemCount(); ++row) names << list.itemText(row, IconText::Main);
    return names;
}

std::vector<SongItem> namedSongs() {
    return {
        {.id = "1", .name = "晴天", .artists = "周野", .album = "叶惠美", .coverUrl = "", .durationMs = "269000"},
        {.id = "2", .name = "Rain", .artists = "林夏", .album = "Summer Letters", .coverUrl = "", .durationMs = ""},
        {.id = "3", .name = "夜曲", .artists = "周野", .album = "十一月", .coverUrl = "", .durationMs = "226000"},
        {.id = "4", .name = "Train", .artists = "Études", .album = "晴天集", .coverUrl = "", .durationMs = "61000"},
    };
}

TEST(TrackListDuration, LengthsReadAsMinutesAndSeconds) {
    const std::pair<std::string, QString> cases[] = {
        {"269000", "4:29"}, {"61999", "1:01"}, {"59000", "0:59"}, {"3600000", "60:00"},
        {"", ""},           {"0", ""},         {"-5", ""},        {"12ab", ""},
    };
    for (const auto& [milliseconds, text] : cases)
        EXPECT_EQ(TrackList::durationText(milliseconds), text) << milliseconds;
}

// The columns follow the list's width: the album goes first, then the cover,
// and a click anywhere along a row (its length too) answers for that row.
TEST(TrackListLayout, ColumnsFollowTheWidth) {
    QWidget window;
    auto& list = *new TrackList(&window);
    list.showSongs({}, namedSongs());
    window.show();
    struct Case {
        int width;
        bool album, cover;
    };
    for (const Case c : {Case{950, true, true}, Case{TrackList::kCoverMinWidth - 1, true, false},
                         Case{TrackList::kAlbumColumnMinWidth - 1, false, false}}) {
        SCOPED_TRACE(c.width);
        list.resize(c.width, 4 * TrackList::kRowHeight);
        EXPECT_EQ(!list.albumRect(1).isEmpty(), c.album);
        EXPECT_EQ(list.showsCovers(), c.cover);
        EXPECT_EQ(!list.itemTemplate().pictureRect.isEmpty(), c.cover);
        const QRect title = list.itemTemplate().mainText.rect, artist = list.itemTemplate().secondText->rect;
        EXPECT_LT(title.right(), artist.left());
        if (c.album) {
            EXPECT_LT(artist.right(), list.albumRect(0).left());
        }
        EXPECT_LE(list.durationRect(0).right(), c.width);
        EXPECT_EQ(list.itemAt(list.durationRect(2).center()), 2);
    }
}

// Typing filters the rows by title, artist or album, in any case; the ids
// follow the rows and each row keeps its number in the whole list.
TEST(TrackListFilter, TypingKeepsTheMatchingSongsAndEscBringsAllBack) {
    TrackList list;
    list.resize(950, 300);
    list.showSongs({}, namedSongs());
    QSignalSpy changed(&list, &TrackList::filterChanged);
    struct Case {
        QString filter;
        QStringList names;
        ItemIds ids;
        std::vector<int> numbers;
    };
    const Case cases[] = {
        {"周野", {"晴天", "夜曲"}, {"1", "3"}, {1, 3}},   // artist
        {"晴天", {"晴天", "Train"}, {"1", "4"}, {1, 4}},  // title, and an album
        {"rAIn", {"Rain", "Train"}, {"2", "4"}, {2, 4}},  // any case
        {"summer", {"Rain"}, {"2"}, {2}},                 // album
        {"nothing", {}, {}, {}},
        {"", {"晴天", "Rain", "夜曲", "Train"}, {"1", "2", "3", "4"}, {1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter.toStdString());
        list.setFilter(c.filter);
        EXPECT_EQ(rowNames(list), c.names);
        EXPECT_EQ(list.songIds(), c.ids);
        std::vector<int> numbers;
        for (int row = 0; row < list.itemCount(); ++row) numbers.push_back(list.numberAt(row));
        EXPECT_EQ(numbers, c.numbers);
        ASSERT_FALSE(changed.isEmpty());
        EXPECT_EQ(changed.last().at(1).toInt(), int(c.ids.size()));
        EXPECT_EQ(list.songCount(), 4);
    }
}

TEST(TrackListFilter, KeysEditTheFilterBeforeTheWindowsShortcuts) {
    QWidget window;
    window.resize(950, 400);
    auto* list = new TrackList(&window);
    list->setGeometry(0, 0, 950, 400);
    list->showSongs({}, namedSongs());
    // A window shortcut on a plain letter and one on the space bar: with the
    // list focused, letters type; a space with no filter yet goes to the window.
    int letterShortcuts = 0, spaceShortcuts = 0;
    QObject::connect(new QShortcut(QKeySequence("T"), &window), &QShortcut::activated, [&] { ++letterShortcuts; });
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_Space), &window), &QShortcut::activated,
                     [&] { ++spaceShortcuts; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    list->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->hasFocus(); }, 2000));

    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(spaceShortcuts, 1);
    EXPECT_EQ(list->filter(), "");
    QTest::keyClicks(list, "Tra");
    EXPECT_EQ(letterShortcuts, 0);
    EXPECT_EQ(list->filter(), "Tra");
    EXPECT_EQ(list->songIds(), ItemIds{"4"});
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(list->filter(), "Tra ");
    QTest::keyClick(list, Qt::Key_Backspace);
    QTest::keyClick(list, Qt::Key_Backspace);
    EXPECT_EQ(list->filter(), "Tr");
    EXPECT_EQ(list->songIds(), (ItemIds{"4"}));
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_EQ(list->filter(), "");
    EXPECT_EQ(list->itemCount(), 4);
    // Enter still plays the chosen row.
    QSignalSpy activated(list, &IconList::itemActivated);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_EQ(activated.size(), 1);
}

TEST_F(TrackListTest, PagesThatArriveWhileFilteredShowOnlyWhatMatchesAndANewLoadClearsTheFilter) {
    load([](int offset, int limit, ServiceStatus*) { return songs("s", offset, std::clamp(250 - offset, 0, limit)); });
    ASSERT_TRUE(waitUntilLoaded());
    list.setFilter("s20");  // s20, s200 … s209 so far
    EXPECT_EQ(list.itemCount(), 1);
    QSignalSpy added(&list, &TrackList::rowsAdded);
    ASSERT_TRUE(list.loadMore());
    ASSERT_TRUE(waitUntilLoaded());
    EXPECT_EQ(list.songIds(),
              (ItemIds{"s20", "s200", "s201", "s202", "s203", "s204", "s205", "s206", "s207", "s208", "s209"}));
    ASSERT_EQ(added.size(), 1);
    EXPECT_EQ(added.at(0).at(0).toInt(), 11);

    QSignalSpy changed(&list, &TrackList::filterChanged);
    load([](int offset, int, ServiceStatus*) { return songs("n", offset, 3); });
    ASSERT_TRUE(waitUntilLoaded());
    EXPECT_EQ(list.filter(), "");
    EXPECT_EQ(list.songIds(), (ItemIds{"n0", "n1", "n2"}));
    ASSERT_EQ(changed.size(), 1) << "the page hears that the filter is gone";
}

// Covers are fetched for the rows in sight (and a few beyond), not for the
// whole list, and land on their own songs even when the filter moved them.
TEST(TrackListCovers, RowsInSightGetTheirAlbumsCovers) {
    std::atomic<int> fetched{0};
    PicturePipeline pictures(
        [&](const std::string& url) {
            ++fetched;
            return pngOf(8, 8, url.ends_with("red") ? Qt::red : Qt::blue);
        },
        nullptr);
    std::vector<SongItem> many;
    for (int i = 0; i < 200; ++i)
        many.push_back({.id = std::to_string(i),
                        .name = "song " + std::to_string(i),
                        .artists = "a",
                        .album = "b",
                        .coverUrl = "http://p/" + std::to_string(i) + (i % 2 ? "red" : "blue"),
                        .durationMs = "1000"});
    QWidget window;
    window.resize(950, 300);
    auto* list = new TrackList(&window);
    list->setPictures(&pictures);
    list->setGeometry(0, 0, 950, 200 * TrackList::kRowHeight);
    list->showSongs({}, many);
    const QImage note = list->itemPicture(0);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->itemPicture(3).cacheKey() != note.cacheKey(); }, 5000));
    EXPECT_EQ(list->itemPicture(1).pixelColor(25, 25), QColor(Qt::red));
    EXPECT_LT(fetched.load(), 40) << "only the rows in sight and a few more";

    list->setFilter("song 19");  // song 19, 190 … 199
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->itemPicture(1).cacheKey() != note.cacheKey(); }, 5000));
    EXPECT_EQ(list->songIds().at(1), "190");
    EXPECT_EQ(list->itemPicture(1).pixelColor(25, 25), QColor(Qt::blue));
    EXPECT_EQ(list->itemPicture(0).pixelColor(25, 25), QColor(Qt::red));
}

}  // namespace
