#pragma once
// The one way every list and picture box of the program gets its pictures.
// Pictures are fetched side by side (at most a few transfers at a time
// across the program, over the picture engine's reused connections),
// decoded and shaped off the UI thread, and kept twice: shaped, in a memory
// cache bounded in bytes, and as fetched bytes in a disk cache, so a second
// start shows them without fetching. Safe on any thread; the blocking calls
// belong on background tasks.
#include "ui/pictures/PictureMemoryCache.h"

#include <QImage>
#include <QSize>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <semaphore>
#include <string>
#include <vector>

class DiskCache;

// The bytes at a picture URL; empty when they cannot be fetched.
using PictureFetcher = std::function<std::string(const std::string& url)>;

// How a picture is shown: scaled to fill `size` (logical pixels), its
// corners rounded by `rounding`, made for the screen's pixel ratio. An empty
// size keeps the decoded picture as it is.
struct PictureShape {
    QSize size;
    int rounding = 0;
    qreal devicePixelRatio = 1.0;
};

class PicturePipeline {
public:
    struct Limits {
        std::int64_t memoryBytes = 96LL << 20;
        int parallelFetches = 8;
    };

    // `disk` may be null (nothing kept on disk).
    PicturePipeline(PictureFetcher fetch, std::shared_ptr<DiskCache> disk, Limits limits);
    PicturePipeline(PictureFetcher fetch, std::shared_ptr<DiskCache> disk)
        : PicturePipeline(std::move(fetch), std::move(disk), Limits{}) {}
    ~PicturePipeline();

    // The picture at `url` in `shape` (on a dense screen the service is asked
    // for it at the screen's pixels); a null image for an empty URL or a
    // picture that cannot be fetched or decoded. Blocks while fetching.
    QImage load(const std::string& url, const PictureShape& shape);

    // Loads the pictures at `urls` side by side and calls `ready(i, picture)`
    // on the calling thread in list order: picture i as soon as it and every
    // picture before it are in. Gives up (no more calls) once `stopped`
    // returns true or the calling task is asked to stop; `stopped` is called
    // from the workers' threads too.
    void loadInOrder(const std::vector<std::string>& urls, const PictureShape& shape,
                     const std::function<void(std::size_t, QImage)>& ready, const std::function<bool()>& stopped = {});

    // Pictures fetched from the network since start (not from a cache).
    int networkFetches() const { return networkFetches_.load(); }

private:
    std::string fetchBytes(const std::string& url);

    const PictureFetcher fetch_;
    const std::shared_ptr<DiskCache> disk_;
    const int parallelFetches_;
    PictureMemoryCache memory_;
    std::counting_semaphore<> fetchSlots_;  // transfers under way across all callers
    std::atomic<int> networkFetches_{0};
};
