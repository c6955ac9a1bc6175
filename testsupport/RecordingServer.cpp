#include "RecordingServer.h"

#include <httplib.h>

#include <chrono>
#include <stdexcept>

#include "TestCertificates.h"

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

}  // namespace

std::string RecordedRequest::header(std::string_view name) const {
    for (const auto& [key, value] : headers)
        if (equalsIgnoringCase(key, name)) return value;
    return "";
}

RecordingServer::RecordingServer(const TestCertificates* certificates)
    : server_(certificates
                  ? std::make_unique<httplib::SSLServer>(certificates->serverCertificate(), certificates->serverKey())
                  : std::make_unique<httplib::Server>()),
      handler_([](const RecordedRequest&) { return CannedReply(); }) {
    if (!server_->is_valid()) throw std::runtime_error("test server: cannot set up");
    server_->set_tcp_nodelay(true);
    server_->set_keep_alive_max_count(1000);
    // Stopping waits for idle kept-alive connections to time out.
    server_->set_keep_alive_timeout(1);
    auto handle = [this](const httplib::Request& in, httplib::Response& out) {
        RecordedRequest request{in.method, in.target, HeaderFields(in.headers.begin(), in.headers.end()), in.body,
                                in.remote_port};
        CannedReply reply;
        serve(request, reply);
        out.status = reply.status;
        for (const auto& [name, value] : reply.headers) out.set_header(name, value);
        if (reply.contentType.empty())
            out.body = reply.body;
        else
            out.set_content(reply.body, reply.contentType);
    };
    const char* anyPath = ".*";
    server_->Get(anyPath, handle).Post(anyPath, handle).Put(anyPath, handle).Delete(anyPath, handle);
    server_->Options(anyPath, handle).Patch(anyPath, handle);

    int port = server_->bind_to_any_port("127.0.0.1");
    if (port <= 0) throw std::runtime_error("test server: cannot bind");
    origin_ = std::string(certificates ? "https" : "http") + "://127.0.0.1:" + std::to_string(port);
    thread_ = std::thread([this] {
        server_->listen_after_bind();
        listenEnded_ = true;
    });
    // stop() only reaches a server that is already listening.
    while (!server_->is_running() && !listenEnded_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (listenEnded_) {
        thread_.join();
        throw std::runtime_error("test server: cannot listen");
    }
}

RecordingServer::~RecordingServer() {
    server_->stop();
    thread_.join();
}

void RecordingServer::serve(const RecordedRequest& request, CannedReply& reply) {
    Handler handler;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        handler = handler_;
    }
    reply = handler(request);
}

void RecordingServer::setHandler(Handler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

std::string RecordingServer::url(std::string_view pathAndQuery) const { return origin_ + std::string(pathAndQuery); }

std::vector<RecordedRequest> RecordingServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}
