#pragma once
// A plain TCP server on 127.0.0.1 (a free port) for answers no well-behaved
// server gives. For each connection it reads one request (the head, and a
// body announced by Content-Length), records it byte for byte, plays its
// script of writes and pauses, and then closes the connection, or holds it
// open without a word until the server is destroyed.
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

class ScriptedSocketServer {
public:
    struct Step {
        std::string bytes;
        std::chrono::milliseconds pauseAfter{0};
    };

    explicit ScriptedSocketServer(std::vector<Step> script, bool holdOpen = false);
    ~ScriptedSocketServer();
    ScriptedSocketServer(const ScriptedSocketServer&) = delete;
    ScriptedSocketServer& operator=(const ScriptedSocketServer&) = delete;

    // "http://127.0.0.1:<port>" followed by `pathAndQuery`.
    std::string url(std::string_view pathAndQuery = "/") const;
    // Each request received, head and body, exactly as it arrived.
    std::vector<std::string> requests() const;

private:
    void run();
    void serve(int connection);
    bool readRequest(int connection, std::string& request);

    const std::vector<Step> script_;
    const bool holdOpen_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_ = false;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;  // guarded by mutex_
    std::thread thread_;                 // accepts and serves one connection at a time
};
