#include "ScriptedSocketServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <stdexcept>

namespace {

constexpr int kPollMilliseconds = 20;

// The Content-Length of a request head; 0 without one.
size_t contentLength(std::string_view head) {
    std::string lower(head);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t at = lower.find("\r\ncontent-length:");
    return at == std::string::npos ? 0 : std::stoul(lower.substr(at + 17));
}

}  // namespace

ScriptedSocketServer::ScriptedSocketServer(std::vector<Step> script, bool holdOpen)
    : script_(std::move(script)), holdOpen_(holdOpen) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 16) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener_ >= 0) close(listener_);
        throw std::runtime_error("scripted server: cannot listen");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { run(); });
}

ScriptedSocketServer::~ScriptedSocketServer() {
    stopping_ = true;
    thread_.join();
    close(listener_);
}

std::string ScriptedSocketServer::url(std::string_view pathAndQuery) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(pathAndQuery);
}

std::vector<std::string> ScriptedSocketServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void ScriptedSocketServer::run() {
    pollfd waiting{listener_, POLLIN, 0};
    while (!stopping_) {
        if (poll(&waiting, 1, kPollMilliseconds) <= 0) continue;
        int connection = accept(listener_, nullptr, nullptr);
        if (connection < 0) continue;
        ++connections_;
        serve(connection);
        close(connection);
    }
}

void ScriptedSocketServer::serve(int connection) {
    std::string request;
    if (!readRequest(connection, request)) return;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    for (const Step& step : script_) {
        for (size_t round = 0; round < step.repeat; ++round) {
            if (!sendAll(connection, step.bytes)) return;
        }
        for (auto waited = std::chrono::milliseconds(0); waited < step.pauseAfter && !stopping_;
             waited += std::chrono::milliseconds(kPollMilliseconds))
            std::this_thread::sleep_for(std::chrono::milliseconds(kPollMilliseconds));
    }
    while (holdOpen_ && !stopping_) std::this_thread::sleep_for(std::chrono::milliseconds(kPollMilliseconds));
}

// Sends all of `bytes`, waiting while the client's window is full; false
// once the client has gone or the server is stopping.
bool ScriptedSocketServer::sendAll(int connection, std::string_view bytes) {
    pollfd writable{connection, POLLOUT, 0};
    while (!bytes.empty()) {
        if (stopping_) return false;
        if (poll(&writable, 1, kPollMilliseconds) <= 0) continue;
        ssize_t sent = send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
        if (sent <= 0) return false;
        bytesSent_ += static_cast<size_t>(sent);
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

// Reads the head and the announced body; false when the client goes away
// first or the server is stopping.
bool ScriptedSocketServer::readRequest(int connection, std::string& request) {
    pollfd readable{connection, POLLIN, 0};
    size_t wanted = std::string::npos;
    while (!stopping_ && request.size() < wanted) {
        if (poll(&readable, 1, kPollMilliseconds) <= 0) continue;
        char buffer[4096];
        ssize_t got = recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0) return false;
        request.append(buffer, got);
        size_t headEnd = request.find("\r\n\r\n");
        if (wanted == std::string::npos && headEnd != std::string::npos)
            wanted = headEnd + 4 + contentLength(std::string_view(request).substr(0, headEnd));
    }
    return request.size() >= wanted;
}
