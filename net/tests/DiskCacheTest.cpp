// The disk cache of fetched bytes: what it keeps, across instances, and what
// it lets go when the folder passes its bound.
#include "net/DiskCache.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::vector<std::string> filesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

TEST(DiskCacheTest, KeepsBytesByKeyAcrossInstances) {
    TempDir dir;
    const std::string folder = dir.file("pictures/nested");
    const std::string picture("\x89PNG\0binary", 11);
    {
        DiskCache cache(folder, 1 << 20);
        EXPECT_EQ(cache.read("http://host/a.png"), std::nullopt);
        cache.write("http://host/a.png", picture);
        cache.write("http://host/empty.png", "");  // nothing worth keeping
        EXPECT_EQ(cache.read("http://host/a.png"), picture);
        EXPECT_EQ(cache.read("http://host/a.png?param=1"), std::nullopt) << "keys match whole";
    }
    DiskCache reopened(folder, 1 << 20);
    EXPECT_EQ(reopened.read("http://host/a.png"), picture);
    EXPECT_EQ(reopened.read("http://host/empty.png"), std::nullopt);
    const auto names = filesIn(folder);
    ASSERT_EQ(names.size(), 1u) << "one entry, no temporary files left behind";
    EXPECT_TRUE(names[0].ends_with(".bin"));
}

TEST(DiskCacheTest, WithoutAFolderItKeepsNothing) {
    DiskCache cache("", 1 << 20);
    cache.write("k", "bytes");
    EXPECT_EQ(cache.read("k"), std::nullopt);
}

TEST(DiskCacheTest, PastItsBoundTheEntriesUsedLongestAgoGoFirst) {
    TempDir dir;
    DiskCache cache(dir.file("c"), 250);
    const std::string hundred(100, 'x');
    cache.write("first", hundred);
    std::this_thread::sleep_for(20ms);  // file times must tell the entries apart
    cache.write("second", hundred);
    std::this_thread::sleep_for(20ms);
    ASSERT_TRUE(cache.read("first"));  // now used more recently than "second"
    std::this_thread::sleep_for(20ms);
    cache.write("third", hundred);

    EXPECT_TRUE(cache.read("first"));
    EXPECT_EQ(cache.read("second"), std::nullopt);
    EXPECT_TRUE(cache.read("third"));

    // A cache opened on a folder already past a smaller bound trims on its first write.
    DiskCache smaller(dir.file("c"), 150);
    std::this_thread::sleep_for(20ms);
    smaller.write("fourth", hundred);
    EXPECT_EQ(filesIn(dir.file("c")).size(), 1u);
    EXPECT_TRUE(smaller.read("fourth"));
}

}  // namespace
