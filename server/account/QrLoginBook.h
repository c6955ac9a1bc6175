#pragma once
// The QR login keys and where each one stands. A key waits to be scanned
// (801); the demo scan page marks it scanned, after which the next poll
// answers "waiting for confirmation" (802) and the one after that "logged
// in" (803), which uses the key up. Unknown, used-up and expired keys answer
// 800. Shared by the request threads.
#include <chrono>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <unordered_map>

enum class QrPollState { Expired = 800, WaitingScan = 801, WaitingConfirm = 802, Authorized = 803 };

class QrLoginBook {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit QrLoginBook(std::chrono::seconds lifetime, Clock clock = &std::chrono::steady_clock::now);

    std::string createKey();
    // False for an unknown or expired key.
    bool markScanned(const std::string& key);
    QrPollState poll(const std::string& key);

private:
    enum class Stage { Created, Scanned, Confirming };
    struct Entry {
        std::chrono::steady_clock::time_point created;
        Stage stage = Stage::Created;
    };

    // The live entry of a key, or nullptr; drops it when it has expired.
    Entry* liveEntry(const std::string& key);

    const std::chrono::seconds lifetime_;
    const Clock clock_;
    std::mutex mutex_;  // guards keys_ and random_
    std::unordered_map<std::string, Entry> keys_;
    std::mt19937_64 random_;
};
