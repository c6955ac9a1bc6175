#include "server/faults/FaultGate.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>

namespace {

constexpr int kPollMs = 200;
constexpr std::size_t kMaxHeadBytes = 64 * 1024;
constexpr int kHeadTimeoutMs = 10000;
constexpr std::size_t kMaxRelayedAnswer = 64 * 1024 * 1024;
constexpr std::size_t kHugeChunk = 1024 * 1024;
constexpr int kHugeChunks = 64;

std::string answerHead(const std::string& status, const std::string& contentType, const std::string& lengthLine) {
    return "HTTP/1.1 " + status + "\r\nContent-Type: " + contentType + "\r\n" + lengthLine +
           "Connection: close\r\n\r\n";
}

std::string withBody(const std::string& status, const std::string& contentType, const std::string& body) {
    return answerHead(status, contentType, "Content-Length: " + std::to_string(body.size()) + "\r\n") + body;
}

const std::string kJsonType = "application/json;charset=utf-8";

std::string errorPage() {
    return withBody("500 Internal Server Error", "text/html; charset=utf-8",
                    "<!DOCTYPE html><html><head><title>500 Internal Server Error</title></head>"
                    "<body><h1>500 Internal Server Error</h1><p>The server met an error.</p></body></html>");
}

// The request target: the second word of the request line.
std::string targetOf(const std::string& head) {
    const std::size_t start = head.find(' ');
    if (start == std::string::npos) return "";
    const std::size_t end = head.find(' ', start + 1);
    return head.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
}

bool containsJsonType(std::string_view head) {
    std::string lower(head);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    const std::size_t type = lower.find("\r\ncontent-type:");
    return type != std::string::npos && lower.find("json", type) < lower.find("\r\n", type + 2);
}

}  // namespace

FaultGate::FaultGate(FaultPlan plan, LogSink log) : plan_(std::move(plan)), log_(std::move(log)) {}

FaultGate::~FaultGate() { stop(); }

bool FaultGate::start(const std::string& host, int port, int backendPort) {
    backendPort_ = backendPort;
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) return false;
    const int yes = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    socklen_t length = sizeof address;
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1 ||
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 128) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(listener_);
        listener_ = -1;
        return false;
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { acceptConnections(); });
    return true;
}

void FaultGate::stop() {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || listener_ < 0) return;
        stopping_ = true;
        for (int socket : open_) ::shutdown(socket, SHUT_RDWR);
    }
    changed_.notify_all();
    ::shutdown(listener_, SHUT_RDWR);
    acceptor_.join();
    ::close(listener_);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return serving_ == 0; });
}

void FaultGate::acceptConnections() {
    pollfd ready{listener_, POLLIN, 0};
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return;
        }
        if (poll(&ready, 1, kPollMs) <= 0) continue;
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        std::lock_guard lock(mutex_);
        if (stopping_) {
            ::close(client);
            return;
        }
        open_.insert(client);
        ++serving_;
        // Each connection has a thread of its own: a stall must not hold up
        // the others. stop() waits for all of them.
        std::thread([this, client] {
            serve(client);
            std::lock_guard done(mutex_);
            open_.erase(client);
            ::close(client);
            --serving_;
            changed_.notify_all();
        }).detach();
    }
}

void FaultGate::serve(int client) {
    std::string head;
    char buffer[4096];
    pollfd readable{client, POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kHeadTimeoutMs);
    while (head.find("\r\n\r\n") == std::string::npos) {
        if (head.size() > kMaxHeadBytes || std::chrono::steady_clock::now() > deadline || pause(0)) return;
        if (poll(&readable, 1, kPollMs) <= 0) continue;
        const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
        if (got <= 0) return;
        head.append(buffer, std::size_t(got));
    }
    const std::uint64_t number = requestCount_++;
    const std::optional<FaultRule> fault = plan_.faultFor(targetOf(head), number);
    if (!fault) return passThrough(client, head, false);
    if (log_) log_(std::string("fault ") + std::string(faultModeName(fault->mode)) + " on " + targetOf(head));
    apply(*fault, client, head, number);
}

void FaultGate::apply(const FaultRule& rule, int client, const std::string& head, std::uint64_t number) {
    switch (rule.mode) {
        case FaultMode::Reset: {
            // A zero linger time makes the close send a reset instead of a FIN.
            const linger abort{1, 0};
            setsockopt(client, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
            return;
        }
        case FaultMode::Stall: return holdSilently(client);
        case FaultMode::Drip: {
            const std::string answer = withBody("200 OK", kJsonType, R"({"code":200,"dripped":true})");
            for (char byte : answer)
                if (!sendAll(client, std::string_view(&byte, 1)) || pause(1000)) return;
            return;
        }
        case FaultMode::Garbage: {
            std::string body(4096, '\0');
            for (std::size_t i = 0; i < body.size(); ++i) body[i] = char(plan_.draw(number + i * 7919, 256));
            sendAll(client, withBody("200 OK", kJsonType, body));
            return;
        }
        case FaultMode::Http500: sendAll(client, errorPage()); return;
        case FaultMode::CutJson: return passThrough(client, head, true);
        case FaultMode::Huge: {
            static const std::string chunk = [] {
                std::string text = "100000\r\n";
                text.append(kHugeChunk, 'a');
                return text + "\r\n";
            }();
            if (!sendAll(client, answerHead("200 OK", kJsonType, "Transfer-Encoding: chunked\r\n") +
                                     "14\r\n{\"code\":200,\"data\":\"\r\n"))
                return;
            for (int i = 0; i < kHugeChunks; ++i)
                if (!sendAll(client, chunk)) return;
            sendAll(client, "2\r\n\"}\r\n0\r\n\r\n");
            return;
        }
        case FaultMode::Slow:
            if (pause(int(plan_.draw(number, std::uint64_t(rule.slowMaxMs) + 1)))) return;
            return passThrough(client, head, false);
    }
}

// With `cutBody` the whole answer is read first and, when it is JSON, sent
// with its full length announced but only half of its body.
void FaultGate::passThrough(int client, const std::string& head, bool cutBody) {
    const int backend = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (backend < 0) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(backendPort_));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(backend, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || !sendAll(backend, head)) {
        ::close(backend);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        open_.insert(backend);
    }
    std::string answer;
    char buffer[64 * 1024];
    pollfd sockets[2] = {{backend, POLLIN, 0}, {client, POLLIN, 0}};
    for (;;) {
        if (pause(0) || poll(sockets, 2, kPollMs) < 0) break;
        if (sockets[1].revents != 0) {
            // The client sends nothing more on this connection; a read of
            // nothing means it has gone.
            const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
            if (got <= 0) break;
        }
        if (sockets[0].revents == 0) continue;
        const ssize_t got = ::recv(backend, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        if (!cutBody) {
            if (!sendAll(client, std::string_view(buffer, std::size_t(got)))) break;
        } else if (answer.size() < kMaxRelayedAnswer) {
            answer.append(buffer, std::size_t(got));
        }
    }
    {
        std::lock_guard lock(mutex_);
        open_.erase(backend);
    }
    ::close(backend);
    if (!cutBody) return;
    const std::size_t bodyStart = answer.find("\r\n\r\n");
    if (bodyStart == std::string::npos || !containsJsonType(std::string_view(answer).substr(0, bodyStart))) {
        sendAll(client, answer);
        return;
    }
    const std::size_t bodyLength = answer.size() - (bodyStart + 4);
    sendAll(client, std::string_view(answer).substr(0, bodyStart + 4 + bodyLength / 2));
}

bool FaultGate::sendAll(int socket, std::string_view bytes) {
    pollfd writable{socket, POLLOUT, 0};
    while (!bytes.empty()) {
        if (pause(0)) return false;
        if (poll(&writable, 1, kPollMs) <= 0) continue;
        const ssize_t sent = ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(std::size_t(sent));
    }
    return true;
}

bool FaultGate::pause(int ms) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_; });
}

void FaultGate::holdSilently(int client) {
    char buffer[4096];
    pollfd readable{client, POLLIN, 0};
    while (!pause(0)) {
        if (poll(&readable, 1, kPollMs) <= 0) continue;
        if (::recv(client, buffer, sizeof buffer, 0) <= 0) return;
    }
}
