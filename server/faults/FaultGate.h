#pragma once
// Stands in front of the companion when faults are asked for. It accepts the
// connections on the public address, reads each request's head and then
// either misbehaves as the plan says (resets, stalls, drips, garbage, an
// error page, a cut or a huge answer) or passes the connection through to
// the real server behind it, after a delay for "slow". Working at the socket
// gives every fault its true shape: a reset is a TCP reset, a stall sends no
// byte at all. The server behind it closes each connection after one answer,
// so every request comes through the gate on a connection of its own.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "server/faults/FaultPlan.h"

class FaultGate {
public:
    using LogSink = std::function<void(const std::string& line)>;

    // `log`, when set, hears one line for each fault applied.
    FaultGate(FaultPlan plan, LogSink log);
    ~FaultGate();  // stops the gate
    FaultGate(const FaultGate&) = delete;
    FaultGate& operator=(const FaultGate&) = delete;

    // Listens on `host`:`port` (0: any free port) and passes requests on to
    // the server on 127.0.0.1:`backendPort`; false when it cannot listen.
    bool start(const std::string& host, int port, int backendPort);
    // Ends every connection (stalls and drips included) and waits for them.
    void stop();
    int port() const { return port_; }

private:
    void acceptConnections();
    void serve(int client);
    void apply(const FaultRule& rule, int client, const std::string& head, std::uint64_t number);
    void passThrough(int client, const std::string& head, bool cutBody);
    // Sends all of `bytes`; false once the peer has gone or the gate stops.
    bool sendAll(int socket, std::string_view bytes);
    // Waits up to `ms` or until the gate stops; true when it stops.
    bool pause(int ms);
    // Holds the connection without answering until the client leaves or the gate stops.
    void holdSilently(int client);

    const FaultPlan plan_;
    const LogSink log_;
    int listener_ = -1;
    int port_ = 0;
    int backendPort_ = 0;
    std::atomic<std::uint64_t> requestCount_{0};
    std::thread acceptor_;

    std::mutex mutex_;  // guards the members below
    std::condition_variable changed_;
    bool stopping_ = false;
    std::set<int> open_;  // client sockets being served
    int serving_ = 0;     // connection threads still running
};
