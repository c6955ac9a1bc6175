// The picture pipeline with a fetcher made for the test: pictures come back
// in list order however the fetches finish, side by side but never more at
// once than the bound, and from its caches without fetching again.
#include "TaskWait.h"
#include "ui/pictures/PicturePipeline.h"

#include "TempDir.h"
#include "TestPictures.h"
#include "base/BackgroundTask.h"
#include "base/TaskStop.h"
#include "net/DiskCache.h"

#include <gtest/gtest.h>

#include <QColor>
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Serves a PNG of a colour named by the URL ("red", "green", ...), slower
// for the first URLs so they finish last; "broken" is not a picture.
class FakeHost {
public:
    std::string fetch(const std::string& url) {
        const int now = ++running_;
        int seen = maxRunning_.load();
        while (now > seen && !maxRunning_.compare_exchange_weak(seen, now)) {
        }
        {
            std::lock_guard lock(mutex_);
            ++fetches_[url];
        }
        std::this_thread::sleep_for(delayFor(url));
        --running_;
        if (url == "broken") return "not a picture";
        return pngOf(40, 20, QColor(QString::fromStdString(url)));
    }
    int fetchesOf(const std::string& url) const {
        std::lock_guard lock(mutex_);
        auto found = fetches_.find(url);
        return found == fetches_.end() ? 0 : found->second;
    }
    int maxRunning() const { return maxRunning_.load(); }
    PictureFetcher fetcher() {
        return [this](const std::string& url) { return fetch(url); };
    }

private:
    static std::chrono::milliseconds delayFor(const std::string& url) {
        return url == "red" ? 120ms : url == "green" ? 60ms : 10ms;
    }

    std::atomic<int> running_{0};
    std::atomic<int> maxRunning_{0};
    mutable std::mutex mutex_;
    std::map<std::string, int> fetches_;
};

const PictureShape kAsFetched{};

QColor centre(const QImage& picture) { return picture.pixelColor(picture.width() / 2, picture.height() / 2); }

TEST(PicturePipelineTest, PicturesArriveInListOrderFetchedSideBySideWithinTheBound) {
    FakeHost host;
    PicturePipeline pipeline(host.fetcher(), nullptr, {.parallelFetches = 3});
    const std::vector<std::string> urls = {"red", "green", "", "blue", "broken", "yellow", "cyan", "magenta"};
    std::vector<std::size_t> order;
    std::vector<QImage> pictures(urls.size());
    pipeline.loadInOrder(urls, kAsFetched, [&](std::size_t i, QImage picture) {
        order.push_back(i);
        pictures[i] = std::move(picture);
    });

    EXPECT_EQ(order, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(centre(pictures[0]), QColor("red"));
    EXPECT_EQ(centre(pictures[3]), QColor("blue"));
    EXPECT_EQ(centre(pictures[7]), QColor("magenta"));
    EXPECT_TRUE(pictures[2].isNull()) << "no URL, no picture";
    EXPECT_TRUE(pictures[4].isNull()) << "bytes that are no picture give none";
    EXPECT_EQ(host.fetchesOf(""), 0);
    EXPECT_GT(host.maxRunning(), 1) << "fetched side by side";
    EXPECT_LE(host.maxRunning(), 3) << "never more at once than the bound";
}

TEST(PicturePipelineTest, ShapedPicturesComeFromMemoryAndBytesFromDisk) {
    TempDir dir;
    FakeHost host;
    auto disk = std::make_shared<DiskCache>(dir.file("pictures"), 1 << 20);
    const PictureShape round{{30, 30}, 30, 1.0};
    {
        PicturePipeline pipeline(host.fetcher(), disk);
        const QImage first = pipeline.load("blue", round);
        ASSERT_FALSE(first.isNull());
        EXPECT_EQ(first.size(), QSize(30, 30));
        EXPECT_EQ(qAlpha(first.pixel(0, 0)), 0) << "shaped: the corner is cut";
        EXPECT_EQ(pipeline.load("blue", round), first);
        EXPECT_EQ(pipeline.load("blue", kAsFetched).size(), QSize(40, 20)) << "another shape, made from the kept bytes";
        EXPECT_TRUE(pipeline.load("broken", round).isNull());
        EXPECT_EQ(pipeline.networkFetches(), 2);
    }
    EXPECT_EQ(host.fetchesOf("blue"), 1);

    // A new pipeline on the same folder, as at the next start of the program.
    PicturePipeline next(host.fetcher(), disk);
    EXPECT_EQ(centre(next.load("blue", round)), QColor("blue"));
    EXPECT_TRUE(next.load("broken", round).isNull());
    EXPECT_EQ(host.fetchesOf("blue"), 1) << "the disk cache had it";
    EXPECT_EQ(host.fetchesOf("broken"), 2) << "what made no picture was never kept";
}

TEST(PicturePipelineTest, ADenseScreenAsksTheServiceForThePictureAtItsPixels) {
    std::vector<std::string> asked;
    PicturePipeline pipeline(
        [&](const std::string& url) {
            asked.push_back(url);
            return pngOf(40, 20, QColor("red"));
        },
        nullptr);
    const std::string url = "http://p.example/a.jpg?param=250y250";
    const QImage dense = pipeline.load(url, {{180, 180}, 20, 2.0});
    EXPECT_EQ(dense.size(), QSize(360, 360));
    EXPECT_EQ(dense.devicePixelRatio(), 2.0);
    pipeline.load(url, {{180, 180}, 20, 1.0});
    EXPECT_EQ(asked, (std::vector<std::string>{"http://p.example/a.jpg?param=500y500", url}));
}

TEST(PicturePipelineTest, TheMemoryCacheStaysWithinItsBytes) {
    PictureMemoryCache cache(3 * 100 * 100 * 4);
    for (const char* key : {"a", "b", "c", "d"}) cache.insert(key, imageOf({100, 100}, Qt::red));
    EXPECT_LE(cache.usedBytes(), 3 * 100 * 100 * 4);
    EXPECT_FALSE(cache.find("a")) << "the oldest went first";
    ASSERT_TRUE(cache.find("b"));  // used, so "c" is now the oldest
    cache.insert("e", imageOf({100, 100}, Qt::red));
    EXPECT_TRUE(cache.find("b"));
    EXPECT_FALSE(cache.find("c"));
    cache.insert("huge", imageOf({1000, 1000}, Qt::red));
    EXPECT_FALSE(cache.find("huge")) << "a picture larger than the bound is not kept";
    EXPECT_TRUE(cache.find("e"));
}

TEST(PicturePipelineTest, AStoppedLoadGivesUpWithoutWaitingForTheRest) {
    FakeHost host;
    PicturePipeline pipeline(host.fetcher(), nullptr, {.parallelFetches = 1});
    std::vector<std::size_t> delivered;
    TaskOwner owner;
    BackgroundTask::Handle task = owner.start([&] {
        pipeline.loadInOrder({"green", "red", "red", "red", "red", "red"}, kAsFetched,
                             [&](std::size_t i, QImage) { delivered.push_back(i); });
    });
    std::this_thread::sleep_for(90ms);
    task->requestStop();
    ASSERT_TRUE(waitForTask(task, 5000));
    EXPECT_LT(delivered.size(), 6u);
    EXPECT_LT(host.fetchesOf("red"), 5);
}

}  // namespace
