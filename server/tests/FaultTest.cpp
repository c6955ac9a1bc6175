// The companion's faults on request: how rules and chance pick them, and
// what a client sees of each at the socket, where a reset is a reset and a
// stall sends nothing at all.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "ServerTestSupport.h"
#include "server/faults/FaultPlan.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(FaultPlanTest, ReadsModesPrefixesAndSlowDelays) {
    struct Case {
        const char* text;
        bool valid;
        FaultMode mode;
        const char* prefix;
        int slowMaxMs;
    };
    const Case cases[] = {
        {"reset", true, FaultMode::Reset, "", 2000},
        {"cutjson@/playlist/", true, FaultMode::CutJson, "/playlist/", 2000},
        {"slow:300@/search", true, FaultMode::Slow, "/search", 300},
        {"huge", true, FaultMode::Huge, "", 2000},
        {"", false, {}, "", 0},
        {"explode", false, {}, "", 0},
        {"slow:abc", false, {}, "", 0},
        {"slow:0", false, {}, "", 0},
        {"reset:5", false, {}, "", 0},
        {"stall@search", false, {}, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<FaultRule> rule = parseFaultRule(c.text);
        ASSERT_EQ(rule.has_value(), c.valid);
        if (!rule) continue;
        EXPECT_EQ(rule->mode, c.mode);
        EXPECT_EQ(rule->pathPrefix, c.prefix);
        EXPECT_EQ(rule->slowMaxMs, c.slowMaxMs);
        EXPECT_EQ(parseFaultRule(std::string(faultModeName(c.mode)))->mode, c.mode);
    }
}

TEST(FaultPlanTest, TheFirstMatchingRuleWinsAndTheQueryIsNotPartOfThePath) {
    const FaultPlan plan({*parseFaultRule("stall@/search"), *parseFaultRule("drip@/"), *parseFaultRule("reset")}, 0, 1);
    EXPECT_EQ(plan.faultFor("/search?keywords=a", 0)->mode, FaultMode::Stall);
    EXPECT_EQ(plan.faultFor("/lyric?id=/search", 1)->mode, FaultMode::Drip);
    const FaultPlan searchOnly({*parseFaultRule("http500@/search")}, 0, 1);
    EXPECT_FALSE(searchOnly.faultFor("/toplist", 2));
    EXPECT_FALSE(searchOnly.faultFor("/lyric?x=/search", 3));
}

// The same seed gives the same faults to the same requests; the share of
// requests with a fault follows the rate.
TEST(FaultPlanTest, ChanceIsReproducibleFromItsSeedAndFollowsTheRate) {
    auto picks = [](double rate, std::uint64_t seed) {
        const FaultPlan plan({}, rate, seed);
        std::vector<int> modes;
        for (std::uint64_t n = 0; n < 2000; ++n) {
            const std::optional<FaultRule> fault = plan.faultFor("/toplist", n);
            modes.push_back(fault ? int(fault->mode) : -1);
        }
        return modes;
    };
    EXPECT_EQ(picks(0.3, 7), picks(0.3, 7));
    EXPECT_NE(picks(0.3, 7), picks(0.3, 8));
    struct Case {
        double rate;
        int least, most;  // requests with a fault, of 2000
    };
    for (const Case c : {Case{0, 0, 0}, Case{0.3, 500, 700}, Case{1, 2000, 2000}}) {
        const std::vector<int> modes = picks(c.rate, 3);
        const int faulted = int(std::count_if(modes.begin(), modes.end(), [](int m) { return m >= 0; }));
        EXPECT_GE(faulted, c.least) << c.rate;
        EXPECT_LE(faulted, c.most) << c.rate;
    }
    const std::vector<int> all = picks(1, 3);
    for (int mode = 0; mode <= int(FaultMode::Slow); ++mode)
        EXPECT_NE(std::find(all.begin(), all.end(), mode), all.end()) << "mode " << mode << " is picked too";
}

// What came back on one connection within a time.
struct Seen {
    std::string bytes;
    bool reset = false;   // the connection was reset
    bool closed = false;  // the server closed it
};

// Sends a GET for `target` on a fresh connection and reads for up to `wait`.
Seen exchange(int port, const std::string& target, std::chrono::milliseconds wait) {
    Seen seen;
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(s);
        return seen;
    }
    const std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    ::send(s, request.data(), request.size(), MSG_NOSIGNAL);
    const auto end = Clock::now() + wait;
    char buffer[1 << 16];
    pollfd readable{s, POLLIN, 0};
    while (Clock::now() < end) {
        if (poll(&readable, 1, 50) <= 0) continue;
        const ssize_t got = ::recv(s, buffer, sizeof buffer, 0);
        if (got < 0) {
            seen.reset = errno == ECONNRESET;
            break;
        }
        if (got == 0) {
            seen.closed = true;
            break;
        }
        seen.bytes.append(buffer, std::size_t(got));
    }
    ::close(s);
    return seen;
}

std::size_t announcedLength(const std::string& answer) {
    const std::size_t at = answer.find("Content-Length: ");
    return at == std::string::npos ? 0 : std::stoul(answer.substr(at + 16));
}

std::string bodyOf(const std::string& answer) {
    const std::size_t at = answer.find("\r\n\r\n");
    return at == std::string::npos ? "" : answer.substr(at + 4);
}

class FaultServerTest : public ServerTest {
protected:
    void SetUp() override {
        for (const char* rule : {"reset@/reset", "stall@/stall", "drip@/drip", "garbage@/garbage", "http500@/error",
                                 "huge@/huge", "slow:400@/slow", "cutjson@/toplist"})
            options.faults.push_back(*parseFaultRule(rule));
        ServerTest::SetUp();
    }
    int port() const { return server->port(); }
};

TEST_F(FaultServerTest, EachFaultLooksAtTheSocketAsItsNameSays) {
    const Seen reset = exchange(port(), "/reset", 2s);
    EXPECT_TRUE(reset.reset);
    EXPECT_EQ(reset.bytes, "");

    const Seen stall = exchange(port(), "/stall", 1500ms);
    EXPECT_FALSE(stall.closed || stall.reset);
    EXPECT_EQ(stall.bytes, "");

    const Seen drip = exchange(port(), "/drip", 2500ms);
    EXPECT_GE(drip.bytes.size(), 2u);
    EXPECT_LE(drip.bytes.size(), 4u);
    EXPECT_EQ(drip.bytes, std::string("HTTP/1.1 200 OK").substr(0, drip.bytes.size()));

    const Seen garbage = exchange(port(), "/garbage", 2s);
    EXPECT_TRUE(garbage.bytes.starts_with("HTTP/1.1 200 OK\r\n"));
    EXPECT_EQ(bodyOf(garbage.bytes).size(), 4096u);
    EXPECT_FALSE(Json::accept(bodyOf(garbage.bytes)));

    const Seen error = exchange(port(), "/error", 2s);
    EXPECT_TRUE(error.bytes.starts_with("HTTP/1.1 500 "));
    EXPECT_NE(error.bytes.find("Content-Type: text/html"), std::string::npos);
    EXPECT_NE(bodyOf(error.bytes).find("<html>"), std::string::npos);

    const Seen huge = exchange(port(), "/huge", 20s);
    EXPECT_TRUE(huge.closed);
    EXPECT_NE(huge.bytes.find("Transfer-Encoding: chunked"), std::string::npos);
    EXPECT_GT(huge.bytes.size(), 64u * 1024 * 1024);
}

TEST_F(FaultServerTest, ACutAnswerStopsHalfWayThroughItsBodyAndOtherPathsAreServed) {
    const Seen cut = exchange(port(), "/toplist", 5s);
    EXPECT_TRUE(cut.closed);
    const std::size_t length = announcedLength(cut.bytes);
    ASSERT_GT(length, 100u);
    EXPECT_EQ(bodyOf(cut.bytes).size(), length / 2);
    EXPECT_FALSE(Json::accept(bodyOf(cut.bytes)));

    const Seen whole = exchange(port(), "/personalized?limit=3", 5s);
    EXPECT_TRUE(whole.bytes.starts_with("HTTP/1.1 200 OK"));
    EXPECT_EQ(bodyOf(whole.bytes).size(), announcedLength(whole.bytes));
    EXPECT_EQ(Json::parse(bodyOf(whole.bytes))["code"], 200);

    const auto started = Clock::now();
    const Seen slow = exchange(port(), "/slow", 5s);
    EXPECT_LE(Clock::now() - started, 2s);
    EXPECT_TRUE(slow.bytes.starts_with("HTTP/1.1 404"));  // the path itself is unknown, but answered
}

// Connections that are stalled or dripping do not hold up the server's stop.
TEST_F(FaultServerTest, StoppingEndsStallsAndDripsAtOnce) {
    std::vector<std::thread> clients;
    for (const char* target : {"/stall", "/drip", "/stall"})
        clients.emplace_back([this, target] { exchange(port(), target, 30s); });
    std::this_thread::sleep_for(300ms);
    const auto started = Clock::now();
    server->stop();
    EXPECT_LT(Clock::now() - started, 3s);
    for (std::thread& client : clients) client.join();
}

}  // namespace
