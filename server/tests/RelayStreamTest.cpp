// A successful answer's body goes on to the client while the upstream still
// sends it, and a body the upstream breaks off reaches the client broken off,
// never as a complete answer.
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "ServerTestSupport.h"

namespace {

// An upstream whose /stream answer sends a first piece, then waits until the
// test lets it go on (or five seconds pass) before the rest; its /cut answer
// stops after its first piece.
class StreamingUpstream {
public:
    StreamingUpstream() {
        server_.Get("/stream", [this](const httplib::Request&, httplib::Response& response) {
            response.set_chunked_content_provider("application/json", [this](std::size_t offset,
                                                                             httplib::DataSink& sink) {
                if (offset == 0) return sink.write(kFirst.data(), kFirst.size());
                releasedInTime_ = released_.get_future().wait_for(std::chrono::seconds(5)) == std::future_status::ready;
                sink.write(kRest.data(), kRest.size());
                sink.done();
                return true;
            });
        });
        server_.Get("/cut", [](const httplib::Request&, httplib::Response& response) {
            response.set_chunked_content_provider("application/json", [](std::size_t offset, httplib::DataSink& sink) {
                if (offset == 0) return sink.write(kFirst.data(), kFirst.size());
                return false;  // the connection closes mid-body
            });
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~StreamingUpstream() {
        server_.stop();
        thread_.join();
    }
    std::string origin() const { return "http://127.0.0.1:" + std::to_string(port_); }
    void release() { released_.set_value(); }
    bool releasedInTime() const { return releasedInTime_; }

    static inline const std::string kFirst = R"({"code":200,"first":")";
    static inline const std::string kRest = R"(rest"})";

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    std::promise<void> released_;
    std::atomic<bool> releasedInTime_ = false;  // written by the answering thread before its body ends
};

class RelayStreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        ServerOptions options = testServerOptions();
        options.upstream = upstream.origin();
        options.upstreamTimeoutSeconds = 10;
        relay = std::make_unique<DemoServer>(options, [](const std::string&) {});
        ASSERT_TRUE(relay->start());
    }
    StreamingUpstream upstream;
    std::unique_ptr<DemoServer> relay;
};

TEST_F(RelayStreamTest, TheBodyReachesTheClientWhileTheUpstreamStillSendsIt) {
    httplib::Client client(relay->origin());
    std::string body;
    bool released = false;
    const httplib::Result result = client.Get("/stream", [&](const char* data, std::size_t length) {
        body.append(data, length);
        if (!released && body.size() >= StreamingUpstream::kFirst.size()) {
            released = true;
            upstream.release();
        }
        return true;
    });
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->get_header_value("Content-Type"), "application/json");
    EXPECT_EQ(body, StreamingUpstream::kFirst + StreamingUpstream::kRest);
    EXPECT_TRUE(upstream.releasedInTime()) << "the first piece waited for the whole body";
}

TEST_F(RelayStreamTest, ABodyTheUpstreamBreaksOffArrivesBrokenOff) {
    httplib::Client client(relay->origin());
    const httplib::Result result = client.Get("/cut");
    EXPECT_FALSE(result && result->body == StreamingUpstream::kFirst + StreamingUpstream::kRest);
    EXPECT_FALSE(result) << "a body cut off mid-way is no complete answer";
}

}  // namespace
