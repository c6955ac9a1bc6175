// The song list's pages: a newer load drops what an older one still
// delivers, and one page at a time is asked for, only while more may follow.
#include "ui/TrackList.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
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

class TrackListTest : public ::testing::Test {
protected:
    TrackListTest() { list.setGeometry(0, 0, 950, 550); }

    bool waitUntilLoaded() {
        return QTest::qWaitFor([&] { return !list.isLoading(); }, 5000);
    }

    TrackList list;
};

TEST_F(TrackListTest, ANewerLoadDropsThePagesOfAnOlderOne) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    list.load({}, [released](int offset, int, ServiceStatus*) {
        released.wait();
        return songs("old", offset, 3);
    });
    EXPECT_FALSE(list.isEnabled());
    list.load({}, [](int offset, int, ServiceStatus*) { return songs("new", offset, 2); });
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
    list.load({}, [&](int offset, int limit, ServiceStatus*) {
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
