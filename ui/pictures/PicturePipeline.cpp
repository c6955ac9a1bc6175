#include "ui/pictures/PicturePipeline.h"

#include "api/PictureDensity.h"
#include "base/TaskStop.h"
#include "net/DiskCache.h"
#include "ui/pictures/PictureDecoder.h"
#include "ui/widgets/RoundedPicture.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::string memoryKey(const std::string& url, const PictureShape& shape) {
    return url + '\n' + std::to_string(shape.size.width()) + 'x' + std::to_string(shape.size.height()) + '/' +
           std::to_string(shape.rounding) + '@' + std::to_string(shape.devicePixelRatio);
}

QImage shaped(const std::string& bytes, const PictureShape& shape) {
    if (shape.size.isEmpty()) return decodePicture(bytes);
    const QImage decoded = decodePicture(bytes, shape.size * shape.devicePixelRatio);
    return makeRoundedPicture(decoded, shape.size, shape.rounding, shape.devicePixelRatio);
}

// What the workers of one loadInOrder call share with its caller.
struct OrderedLoad {
    std::mutex mutex;  // guards `pictures` and `next`
    std::condition_variable arrived;
    std::vector<std::optional<QImage>> pictures;  // filled by the workers in any order
    std::size_t next = 0;                         // the next index a worker takes
};

}  // namespace

PicturePipeline::PicturePipeline(PictureFetcher fetch, std::shared_ptr<DiskCache> disk, Limits limits)
    : fetch_(std::move(fetch)),
      disk_(std::move(disk)),
      parallelFetches_(std::max(1, limits.parallelFetches)),
      memory_(limits.memoryBytes),
      fetchSlots_(parallelFetches_) {}

PicturePipeline::~PicturePipeline() = default;

// The disk cache first, then the network, waiting for a free transfer slot
// while watching for a stop request.
std::string PicturePipeline::fetchBytes(const std::string& url) {
    if (disk_) {
        if (std::optional<std::string> kept = disk_->read(url)) return std::move(*kept);
    }
    if (!fetch_) return {};
    while (!fetchSlots_.try_acquire_for(50ms)) {
        if (TaskStop::requested()) return {};
    }
    std::string bytes = fetch_(url);
    fetchSlots_.release();
    ++networkFetches_;
    return bytes;
}

QImage PicturePipeline::load(const std::string& url, const PictureShape& shape) {
    if (url.empty()) return {};
    const std::string key = memoryKey(url, shape);
    if (std::optional<QImage> kept = memory_.find(key)) return *kept;
    const std::string source = pictureUrlForDensity(url, shape.devicePixelRatio);
    const std::string bytes = fetchBytes(source);
    QImage picture = shaped(bytes, shape);
    if (picture.isNull()) return {};
    // Only bytes that made a picture are kept, never an error page.
    if (disk_) disk_->write(source, bytes);
    memory_.insert(key, picture);
    return picture;
}

void PicturePipeline::loadInOrder(const std::vector<std::string>& urls, const PictureShape& shape,
                                  const std::function<void(std::size_t, QImage)>& ready,
                                  const std::function<bool()>& stopped) {
    const std::stop_token stopToken = TaskStop::current();
    const auto giveUp = [&] { return stopToken.stop_requested() || (stopped && stopped()); };
    OrderedLoad shared;
    shared.pictures.resize(urls.size());

    auto work = [&] {
        const TaskStop::Scope scope(stopToken);
        for (;;) {
            std::size_t index;
            {
                const std::lock_guard lock(shared.mutex);
                if (shared.next >= urls.size()) return;
                index = shared.next++;
            }
            QImage picture = giveUp() ? QImage() : load(urls[index], shape);
            const std::lock_guard lock(shared.mutex);
            shared.pictures[index] = std::move(picture);
            shared.arrived.notify_all();
        }
    };
    const std::size_t workerCount = std::min<std::size_t>(urls.size(), std::size_t(parallelFetches_));
    std::vector<std::jthread> workers;
    workers.reserve(workerCount);
    for (std::size_t w = 0; w < workerCount; ++w) workers.emplace_back(work);

    for (std::size_t i = 0; i < urls.size(); ++i) {
        QImage picture;
        {
            std::unique_lock lock(shared.mutex);
            while (!shared.pictures[i]) {
                if (giveUp()) return;  // the workers see it too and end; the jthreads join
                shared.arrived.wait_for(lock, 50ms);
            }
            picture = std::move(*shared.pictures[i]);
        }
        if (giveUp()) return;
        ready(i, std::move(picture));
    }
}
