#pragma once
// Counts the copies of the app online: the client addresses whose last
// heartbeat is younger than twice the heartbeat period. Shared by the
// request threads.
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

class OnlineCounter {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit OnlineCounter(std::chrono::seconds window = std::chrono::seconds(340),
                           Clock clock = &std::chrono::steady_clock::now);

    // Notes a heartbeat from `clientAddress`; returns how many are online.
    int recordHeartbeat(const std::string& clientAddress);

private:
    const std::chrono::seconds window_;
    const Clock clock_;
    std::mutex mutex_;  // guards lastSeen_
    std::unordered_map<std::string, std::chrono::steady_clock::time_point> lastSeen_;
};
