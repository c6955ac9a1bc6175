#pragma once
// An HTTP or HTTPS server on 127.0.0.1 (a free port) for tests: it records
// every request it receives and answers each through a handler, by default
// with 200 "ok". Runs on its own threads until destroyed.
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace httplib {
class Server;
}
class TestCertificates;

using HeaderFields = std::vector<std::pair<std::string, std::string>>;

struct RecordedRequest {
    std::string method;
    std::string target;    // path and query exactly as on the request line
    HeaderFields headers;  // sorted by name (ignoring case), as the server library keeps them
    std::string body;
    int remotePort = 0;  // tells the client's connections apart

    // The first value of the header `name` (ignoring case); empty when absent.
    std::string header(std::string_view name) const;
};

struct CannedReply {
    int status = 200;
    std::string body = "ok";
    std::string contentType = "text/plain";  // no Content-Type line when empty
    HeaderFields headers;                    // sent in this order, names may repeat
};

class RecordingServer {
public:
    using Handler = std::function<CannedReply(const RecordedRequest&)>;

    // Serves HTTPS with the server certificate of `certificates`, plain HTTP
    // without.
    explicit RecordingServer(const TestCertificates* certificates = nullptr);
    ~RecordingServer();
    RecordingServer(const RecordingServer&) = delete;
    RecordingServer& operator=(const RecordingServer&) = delete;

    void setHandler(Handler handler);
    // "http://127.0.0.1:<port>" (or https) followed by `pathAndQuery`.
    std::string url(std::string_view pathAndQuery = "/") const;
    std::vector<RecordedRequest> requests() const;

private:
    void serve(const RecordedRequest& request, CannedReply& reply);

    std::unique_ptr<httplib::Server> server_;
    std::string origin_;
    mutable std::mutex mutex_;
    Handler handler_;                        // guarded by mutex_
    std::vector<RecordedRequest> requests_;  // guarded by mutex_
    std::atomic<bool> listenEnded_ = false;  // set by thread_ when the accept loop returns
    std::thread thread_;                     // runs the server's accept loop
};
