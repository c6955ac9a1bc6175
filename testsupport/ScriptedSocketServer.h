#pragma once
// A plain TCP server on 127.0.0.1 (a free port) for answers no well-behaved
// server gives. For each connection it reads one request (the head, and a
// body announced by Content-Length), records it byte for byte, plays its
// script of writes and pauses, and then closes the connection, or holds it
// open without a word until the server is destroyed. A step may repeat its
// bytes, so a long body is generated as it goes out instead of held whole.
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
        size_t repeat = 1;  // `bytes` goes out this many times in a row before the pause
    };

    explicit ScriptedSocketServer(std::vector<Step> script, bool holdOpen = false);
    ~ScriptedSocketServer();
    ScriptedSocketServer(const ScriptedSocketServer&) = delete;
    ScriptedSocketServer& operator=(const ScriptedSocketServer&) = delete;

    // "http://127.0.0.1:<port>" followed by `pathAndQuery`.
    std::string url(std::string_view pathAndQuery = "/") const;
    // Each request received, head and body, exactly as it arrived.
    std::vector<std::string> requests() const;
    // Connections accepted so far, whether or not a request came on them.
    int connections() const { return connections_.load(); }
    // Script bytes the client has taken, over all connections; a write the
    // client refuses (it closed the connection) ends that connection's script.
    size_t bytesSent() const { return bytesSent_.load(); }

private:
    void run();
    void serve(int connection);
    bool readRequest(int connection, std::string& request);
    bool sendAll(int connection, std::string_view bytes);

    const std::vector<Step> script_;
    const bool holdOpen_;
    int listener_ = -1;                   // set in the constructor; read-only after
    int port_ = 0;                        // set in the constructor; read-only after
    std::atomic<bool> stopping_ = false;  // set by the destructor, read by thread_
    std::atomic<int> connections_ = 0;    // written by thread_, read by any thread
    std::atomic<size_t> bytesSent_ = 0;   // written by thread_, read by any thread
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;  // guarded by mutex_
    std::thread thread_;                 // accepts and serves one connection at a time
};
