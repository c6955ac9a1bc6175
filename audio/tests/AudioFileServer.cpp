#include "AudioFileServer.h"

#include <algorithm>
#include <chrono>
#include <optional>

namespace {

constexpr size_t kChunkBytes = 16 * 1024;

}  // namespace

AudioFileServer::AudioFileServer() {
    server_.Get(".*",
                [this](const httplib::Request& request, httplib::Response& response) { answer(request, response); });
    port_ = server_.bind_to_any_port("127.0.0.1");
    listener_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() only reaches a server already running.
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

AudioFileServer::~AudioFileServer() {
    release();
    server_.stop();
    listener_.join();
}

std::string AudioFileServer::urlFor(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

int AudioFileServer::requestsFor(const std::string& path) const {
    std::lock_guard lock(mutex_);
    const auto found = requests_.find(path);
    return found == requests_.end() ? 0 : found->second;
}

std::string AudioFileServer::serve(const std::string& path, std::string body, const std::string& contentType) {
    const size_t size = body.size();
    std::lock_guard lock(mutex_);
    entries_[path] = {std::make_shared<const std::string>(std::move(body)), contentType, size};
    return urlFor(path);
}

std::string AudioFileServer::serveHeldBack(const std::string& path, std::string body, size_t prefixBytes) {
    std::lock_guard lock(mutex_);
    entries_[path] = {std::make_shared<const std::string>(std::move(body)), "audio/mpeg", prefixBytes};
    return urlFor(path);
}

void AudioFileServer::release() {
    {
        std::lock_guard lock(mutex_);
        released_ = true;
    }
    releasedChanged_.notify_all();
}

void AudioFileServer::breakOff() {
    {
        std::lock_guard lock(mutex_);
        brokenOff_ = true;
    }
    releasedChanged_.notify_all();
}

void AudioFileServer::answer(const httplib::Request& request, httplib::Response& response) {
    Entry entry;
    {
        std::lock_guard lock(mutex_);
        ++requests_[request.path];
        const auto found = entries_.find(request.path);
        if (found == entries_.end() || brokenOff_) {
            response.status = 404;
            return;
        }
        entry = found->second;
    }
    // A response that starts before the hold stops there until release().
    response.set_content_provider(
        entry.body->size(), entry.contentType,
        [this, entry, startedBeforeHold = std::optional<bool>()](size_t offset, size_t length,
                                                                 httplib::DataSink& sink) mutable {
            if (!startedBeforeHold) startedBeforeHold = offset < entry.holdAt;
            size_t end = entry.body->size();
            if (*startedBeforeHold && offset < entry.holdAt) {
                end = entry.holdAt;
            } else if (*startedBeforeHold) {
                std::unique_lock lock(mutex_);
                releasedChanged_.wait(lock, [this] { return released_ || brokenOff_; });
                if (brokenOff_) return false;  // the connection closes mid-body
            }
            return sink.write(entry.body->data() + offset, std::min({length, kChunkBytes, end - offset}));
        });
}
