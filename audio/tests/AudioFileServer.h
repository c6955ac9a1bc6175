#pragma once
// A local HTTP server for test audio, on 127.0.0.1 and a free port. Bodies go
// out with Content-Length and honour byte ranges; a held-back body stops
// after a prefix until release(), like a network that cannot keep up.
// Bodies may be added while the server answers requests.
#include <httplib.h>

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class AudioFileServer {
public:
    AudioFileServer();
    ~AudioFileServer();

    // Serves `body` at `path`; returns its URL.
    std::string serve(const std::string& path, std::string body, const std::string& contentType = "audio/mpeg");
    // Serves `body` at `path`, but a response that reaches byte `prefixBytes`
    // waits there until release(). Ranges starting past the prefix are served
    // at once. Returns the URL.
    std::string serveHeldBack(const std::string& path, std::string body, size_t prefixBytes);
    // Lets every held-back response go on.
    void release();
    // Held-back responses break off where they are and every later request
    // is refused, like a server that went away mid-song.
    void breakOff();
    // A URL on this server's port that nothing answers once the server is gone.
    std::string urlFor(const std::string& path) const;
    // How many requests for `path` arrived so far.
    int requestsFor(const std::string& path) const;

private:
    struct Entry {
        std::shared_ptr<const std::string> body;
        std::string contentType;
        size_t holdAt;  // the body's size when nothing is held back
    };
    void answer(const httplib::Request& request, httplib::Response& response);

    mutable std::mutex mutex_;  // guards every field below; server threads read them
    std::condition_variable releasedChanged_;
    bool released_ = false;
    bool brokenOff_ = false;
    std::map<std::string, Entry> entries_;
    std::map<std::string, int> requests_;

    httplib::Server server_;
    int port_ = 0;
    std::thread listener_;
};
