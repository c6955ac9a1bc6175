// What all three engines share through their one transfer routine: only
// http and https are spoken, redirects included; a body over the engine's
// limit fails without being read to its end; a stop request of the task
// running a transfer ends it at once.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "HttpTestHelpers.h"
#include "RecordingServer.h"
#include "ScriptedSocketServer.h"
#include "TaskWait.h"
#include "base/BackgroundTask.h"
#include "base/TaskStop.h"
#include "net/BodyBudget.h"
#include "net/HttpClient.h"

namespace {

using namespace std::chrono_literals;
using Step = ScriptedSocketServer::Step;

struct Engine {
    const char* name;
    HttpResponse (*fetch)(const HttpRequest&);
    size_t bodyLimit;
    bool numberedFailures;
};

HttpResponse service(const HttpRequest& request) { return HttpClient::fetchService(request); }
HttpResponse picture(const HttpRequest& request) { return HttpClient::fetchPicture(request); }
HttpResponse lyric(const HttpRequest& request) { return HttpClient::fetchLyric(request); }

const Engine kEngines[] = {
    {"service", &service, HttpClient::kServiceBodyLimit, true},
    {"picture", &picture, HttpClient::kPictureBodyLimit, false},
    {"lyric", &lyric, HttpClient::kLyricBodyLimit, false},
};

// A failed call: no body, no head; the service engine names the failure.
void expectFailure(const Engine& engine, const HttpResponse& response, const std::string& serviceStatus) {
    EXPECT_EQ(response.bodyBytes.size(), 0u);
    EXPECT_EQ(response.bodyText.size(), 0u);
    EXPECT_EQ(response.headers, "");
    EXPECT_EQ(response.statusCode, 0);
    EXPECT_EQ(response.status, engine.numberedFailures ? serviceStatus : "");
}

HttpRequest requestFor(const std::string& url) {
    HttpRequest request;
    request.url = url;
    request.addDefaultHeaders = false;
    return request;
}

using SharedRulesTest = HttpTest;

TEST_F(SharedRulesTest, RedirectToAnotherSchemeIsNotFollowed) {
    ScriptedSocketServer ftpServer({{"220 ready\r\n"}}, true);
    const std::string ftpUrl = "ftp://" + hostOf(ftpServer.url()) + "/song.lrc";
    RecordingServer server;
    server.setHandler([&](const RecordedRequest& request) {
        if (request.target == "/to-ftp") return CannedReply{302, "", "text/plain", {{"Location", ftpUrl}}};
        if (request.target == "/to-file")
            return CannedReply{302, "", "text/plain", {{"Location", "file:///etc/passwd"}}};
        return CannedReply{200, "plain", "text/plain", {}};
    });
    for (const Engine& engine : kEngines) {
        for (const char* path : {"/to-ftp", "/to-file"}) {
            SCOPED_TRACE(std::string(engine.name) + " " + path);
            expectFailure(engine, engine.fetch(requestFor(server.url(path))), "711 发送请求失败!");
        }
    }
    EXPECT_EQ(ftpServer.connections(), 0);
}

// Bodies of one repeated block, generated as they go out.
constexpr size_t kBlockSize = 64 * 1024;
constexpr size_t kHugeBody = 64 * 1024 * 1024;
const std::string kBlock(kBlockSize, 'm');

std::vector<Step> bodyWithLength(size_t size) {
    std::vector<Step> script{{"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n"},
                             {kBlock, 0ms, size / kBlockSize}};
    if (size % kBlockSize) script.push_back({kBlock.substr(0, size % kBlockSize)});
    return script;
}

std::vector<Step> chunkedBody(size_t size) {
    std::string chunk = "10000\r\n" + kBlock + "\r\n";
    return {{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"}, {chunk, 0ms, size / kBlockSize}, {"0\r\n\r\n"}};
}

TEST_F(SharedRulesTest, BodyUpToTheLimitArrivesWhole) {
    for (const Engine& engine : kEngines) {
        SCOPED_TRACE(engine.name);
        ScriptedSocketServer server(bodyWithLength(engine.bodyLimit));
        HttpResponse response = engine.fetch(requestFor(server.url("/")));
        EXPECT_EQ(response.bodyBytes.size(), engine.bodyLimit);
        EXPECT_EQ(response.bodyBytes.find_first_not_of('m'), std::string::npos);
        if (engine.numberedFailures) {
            EXPECT_EQ(response.status, "200 OK");
        }
    }
}

TEST_F(SharedRulesTest, BodyOverTheLimitFailsWithoutBeingReadToItsEnd) {
    // The kernel's socket buffers on both ends take some megabytes that the
    // client never reads; anything near the whole body means it kept reading.
    constexpr size_t kBufferedMargin = 16 * 1024 * 1024;
    struct Answer {
        const char* name;
        std::vector<Step> (*script)(size_t);
        bool huge;  // 64 MB, else one byte over the limit
    };
    const Answer answers[] = {
        {"one byte over, with a length", &bodyWithLength, false},
        {"64 MB with a length", &bodyWithLength, true},
        {"64 MB chunked", &chunkedBody, true},
    };
    for (const Engine& engine : kEngines) {
        for (const Answer& answer : answers) {
            SCOPED_TRACE(std::string(engine.name) + ", " + answer.name);
            ScriptedSocketServer server(answer.script(answer.huge ? kHugeBody : engine.bodyLimit + 1));
            expectFailure(engine, engine.fetch(requestFor(server.url("/"))), "714 应答数据过大!");
            if (answer.huge) {
                EXPECT_LT(server.bytesSent(), engine.bodyLimit + kBufferedMargin);
            }
        }
    }
}

// A head that announces a body over the limit ends the transfer there: the
// server sends the head and then nothing, so only a refusal at the head
// returns before the time-outs.
TEST_F(SharedRulesTest, AnnouncedBodyOverTheLimitIsRefusedAtItsHead) {
    for (const Engine& engine : kEngines) {
        SCOPED_TRACE(engine.name);
        ScriptedSocketServer server(
            {{"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(engine.bodyLimit + 1) + "\r\n\r\n"}}, true);
        const auto started = std::chrono::steady_clock::now();
        expectFailure(engine, engine.fetch(requestFor(server.url("/"))), "714 应答数据过大!");
        EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
        EXPECT_EQ(BodyBudget::shared().inUse(), 0u);
    }
}

// The server holds each connection open after its script until destroyed.
struct StopCase {
    const char* name;
    std::vector<Step> script;
};

// Waits, within a bound that only catches a hang, for the server to have
// received a request and sent its whole script.
bool waitUntilAnswered(const ScriptedSocketServer& server, size_t scriptBytes) {
    for (auto waited = 0ms; waited < 10s; waited += 10ms) {
        if (!server.requests().empty() && server.bytesSent() >= scriptBytes) return true;
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

TEST_F(SharedRulesTest, StopRequestEndsABlockedTransferAtOnce) {
    const StopCase cases[] = {
        {"no answer", {}},
        {"head and part of the body", {{"HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n[00:01]"}}},
    };
    for (const Engine& engine : kEngines) {
        for (const StopCase& c : cases) {
            SCOPED_TRACE(std::string(engine.name) + ", " + c.name);
            ScriptedSocketServer server(c.script, true);
            size_t scriptBytes = c.script.empty() ? 0 : c.script[0].bytes.size();
            auto response = std::make_shared<HttpResponse>();
            TaskOwner owner;
            BackgroundTask::Handle task = owner.start([&, response] {
                HttpRequest request = requestFor(server.url("/"));
                *response = engine.fetch(request);
            });
            ASSERT_TRUE(waitUntilAnswered(server, scriptBytes));
            // Let the answer's bytes reach the client before the stop.
            std::this_thread::sleep_for(50ms);
            task->requestStop();
            // Each engine would otherwise wait its 15 s or more of silence.
            ASSERT_TRUE(waitForTask(task, 5000));
            expectFailure(engine, *response, "715 请求已停止!");
        }
    }
}

TEST_F(SharedRulesTest, TaskAskedToStopBeforeTheCallConnectsNowhere) {
    ScriptedSocketServer server(okScript());
    std::stop_source stopped;
    stopped.request_stop();
    TaskStop::Scope scope(stopped.get_token());
    for (const Engine& engine : kEngines) {
        SCOPED_TRACE(engine.name);
        expectFailure(engine, engine.fetch(requestFor(server.url("/"))), "715 请求已停止!");
    }
    EXPECT_EQ(server.connections(), 0);
}

}  // namespace

// A server that keeps every phase alive with a byte now and then still
// cannot hold a transfer past its whole-exchange bound: the head dripping,
// then the body dripping.
TEST_F(SharedRulesTest, ADripThatKeepsEachPhaseAliveStillEndsAtTheTotalBound) {
    // `start`, then `drop` every 300 ms, forty times.
    auto drip = [](const std::string& start, const std::string& drop) {
        std::vector<Step> script{{start}};
        script.insert(script.end(), 40, Step{drop, 300ms});
        return script;
    };
    struct Case {
        const char* name;
        std::vector<Step> script;
    };
    const Case cases[] = {
        {"dripping head", drip("HTTP/1.1 200 OK\r\n", "X-A: 1\r\n")},
        {"dripping body", drip("HTTP/1.1 200 OK\r\nContent-Length: 40\r\n\r\n", "x")},
    };
    for (const Engine& engine : kEngines) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(engine.name) + ", " + c.name);
            ScriptedSocketServer server(c.script, true);
            HttpRequest request = requestFor(server.url("/"));
            request.totalTimeoutSeconds = 1;
            const auto started = std::chrono::steady_clock::now();
            const HttpResponse response = engine.fetch(request);
            const auto took = std::chrono::steady_clock::now() - started;
            EXPECT_LT(took, 5s) << "a drip of 12 s in all";
            EXPECT_LT(response.bodyBytes.size(), 40u);
        }
    }
}

TEST(BodyBudgetTest, TakesWhatFitsAndGetsItBack) {
    BodyBudget budget(100);
    EXPECT_TRUE(budget.take(60));
    EXPECT_FALSE(budget.take(41));
    EXPECT_EQ(budget.inUse(), 60u);
    EXPECT_TRUE(budget.take(40));
    budget.giveBack(100);
    EXPECT_EQ(budget.inUse(), 0u);
    EXPECT_TRUE(budget.take(100));
}

// While one large body is arriving, another large one finds the shared
// budget spent and fails as too large; once the first is over, it arrives.
TEST_F(SharedRulesTest, LargeBodiesAtOnceShareOneBudget) {
    constexpr size_t kHeld = 12 * 1024 * 1024;
    std::vector<Step> held{
        {"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(HttpClient::kServiceBodyLimit) + "\r\n\r\n"},
        {kBlock, 0ms, kHeld / kBlockSize}};
    auto first = std::make_unique<ScriptedSocketServer>(held, true);
    std::thread holder([url = first->url("/")] { HttpClient::fetchService(requestFor(url)); });
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (BodyBudget::shared().inUse() < kHeld - BodyBudget::kFreeBytes && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    ASSERT_GE(BodyBudget::shared().inUse(), kHeld - BodyBudget::kFreeBytes);

    ScriptedSocketServer second(bodyWithLength(8 * 1024 * 1024));
    EXPECT_EQ(HttpClient::fetchService(requestFor(second.url("/"))).status, "714 应答数据过大!");

    first.reset();  // ends the held transfer
    holder.join();
    EXPECT_EQ(BodyBudget::shared().inUse(), 0u);
    EXPECT_EQ(HttpClient::fetchService(requestFor(second.url("/"))).bodyBytes.size(), 8u * 1024 * 1024);
}
