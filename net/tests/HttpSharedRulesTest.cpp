// What all three engines share through their one transfer routine: a stop
// request of the task running a transfer ends it at once.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "HttpTestHelpers.h"
#include "ScriptedSocketServer.h"
#include "base/BackgroundTask.h"
#include "base/TaskStop.h"
#include "net/HttpClient.h"

namespace {

using namespace std::chrono_literals;
using Step = ScriptedSocketServer::Step;

struct Engine {
    const char* name;
    HttpResponse (*fetch)(const HttpRequest&);
    bool numberedFailures;
};

HttpResponse service(const HttpRequest& request) { return HttpClient::fetchService(request); }
HttpResponse picture(const HttpRequest& request) { return HttpClient::fetchPicture(request); }
HttpResponse lyric(const HttpRequest& request) { return HttpClient::fetchLyric(request); }

const Engine kEngines[] = {
    {"service", &service, true},
    {"picture", &picture, false},
    {"lyric", &lyric, false},
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
            ASSERT_TRUE(BackgroundTask::waitPumping(task, 5000));
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
