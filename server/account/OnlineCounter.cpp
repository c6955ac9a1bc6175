#include "server/account/OnlineCounter.h"

OnlineCounter::OnlineCounter(std::chrono::seconds window, Clock clock) : window_(window), clock_(std::move(clock)) {}

int OnlineCounter::recordHeartbeat(const std::string& clientAddress) {
    std::lock_guard lock(mutex_);
    const auto now = clock_();
    lastSeen_[clientAddress] = now;
    std::erase_if(lastSeen_, [&](const auto& entry) { return now - entry.second >= window_; });
    return static_cast<int>(lastSeen_.size());
}
