// The song list as the view of a feed of songs: a newer load drops what an
// older one still delivers, and one page at a time is asked for through the
// list, only while more may follow.
#include "ui/lists/TrackList.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <future>
#include <mutex>

namespace {

std::vector<SongItem> songs(const std::string& prefix, int from, int count) {
    std::vector<SongItem> result;
    for (int i = from; i < from + count; ++i) {
        const std::string n = prefix + std::to_string(i);
        result.push_back({n, "song " + n, "artist " + n});
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

}  // namespace
