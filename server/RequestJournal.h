#pragma once
// The requests the server has seen, newest last, for tests that check what a
// client sent (path, query in its order, headers). Keeps the latest
// kCapacity requests. Shared by the request threads.
#include <httplib.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

struct SeenRequest {
    std::string method;
    std::string target;  // path and query exactly as sent
    std::vector<std::pair<std::string, std::string>> headers;
    std::chrono::steady_clock::time_point received;  // before any added latency

    // The value of a header (name compared without regard to case); empty when absent.
    std::string header(const std::string& name) const;
};

class RequestJournal {
public:
    static constexpr std::size_t kCapacity = 10000;

    void record(const httplib::Request& request);
    std::vector<SeenRequest> all() const;
    void clear();

private:
    mutable std::mutex mutex_;  // guards seen_
    std::deque<SeenRequest> seen_;
};
