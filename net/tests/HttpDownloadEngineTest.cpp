// The download engine: the body streams to the receiver in order, with
// progress, and only a whole answer counts as one.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "HttpTestHelpers.h"
#include "RecordingServer.h"
#include "ScriptedSocketServer.h"
#include "net/HttpClient.h"

namespace {

using namespace std::chrono_literals;
using Step = ScriptedSocketServer::Step;

// What a download handed to its receiver.
struct Received {
    std::string bytes;
    std::vector<std::pair<std::int64_t, std::int64_t>> progress;  // received, total
    int writes = 0;
    int refuseAfterWrites = -1;  // the write after this many is refused; −1: never

    DownloadReceiver receiver() {
        return {[this](std::string_view chunk) {
                    if (writes++ == refuseAfterWrites) return false;
                    bytes.append(chunk);
                    return true;
                },
                [this](std::int64_t received, std::int64_t total) { progress.emplace_back(received, total); }};
    }
};

std::string songBytes(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = char(i * 7 % 251);
    return bytes;
}

using DownloadEngineTest = HttpTest;

TEST_F(DownloadEngineTest, TheFinalAnswersBodyStreamsInOrderWithItsProgress) {
    const std::string song = songBytes(3 * 1024 * 1024 + 17);
    RecordingServer server;
    server.setHandler([&](const RecordedRequest& request) {
        if (request.target == "/moved")
            return CannedReply{302, "this page has moved", "text/plain", {{"Location", "/song.flac"}}};
        return CannedReply{200, song, "audio/flac", {}};
    });
    Received received;
    HttpResponse response = HttpClient::download(server.url("/moved"), received.receiver());

    EXPECT_EQ(response.statusCode, 200);
    EXPECT_TRUE(response.bodyBytes.empty()) << "the body is not kept";
    ASSERT_EQ(received.bytes.size(), song.size()) << "the redirect's own body is not handed over";
    EXPECT_TRUE(received.bytes == song);
    EXPECT_GT(received.writes, 1);
    ASSERT_FALSE(received.progress.empty());
    EXPECT_EQ(received.progress.back(), (std::pair<std::int64_t, std::int64_t>(song.size(), song.size())));
    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(server.requests()[1].header("Accept"), "*/*");
}

TEST_F(DownloadEngineTest, AnAnswerWithoutALengthReportsAnUnknownTotal) {
    ScriptedSocketServer server(
        {{"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n", 100ms}, {"6\r\n world\r\n0\r\n\r\n"}});
    Received received;
    HttpResponse response = HttpClient::download(server.url("/a.mp3"), received.receiver());
    EXPECT_EQ(response.statusCode, 200);
    EXPECT_EQ(received.bytes, "hello world");
    ASSERT_FALSE(received.progress.empty());
    for (const auto& [bytes, total] : received.progress) EXPECT_EQ(total, 0) << bytes;
}

TEST_F(DownloadEngineTest, AnythingButAWholeAnswerIsAFailure) {
    struct Case {
        const char* name;
        std::vector<Step> script;
        int refuseAfterWrites = -1;
    };
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 400000\r\n\r\n";
    const Case cases[] = {
        {"cut off", {{head + std::string(1000, 'x'), 50ms}}},
        {"no answer", {}},
        {"refused write", {{head}, {std::string(1000, 'x'), 20ms, 400}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSocketServer server(c.script);
        Received received;
        received.refuseAfterWrites = c.refuseAfterWrites;
        HttpResponse response = HttpClient::download(server.url("/a.mp3"), received.receiver());
        EXPECT_EQ(response.statusCode, 0);
        EXPECT_EQ(response.headers, "");
        if (c.refuseAfterWrites >= 0) {
            EXPECT_EQ(received.writes, c.refuseAfterWrites + 1) << "nothing written after a refusal";
        }
    }
}

TEST_F(DownloadEngineTest, AnErrorStatusArrivesForTheCallerToJudge) {
    RecordingServer server;
    server.setHandler([](const RecordedRequest&) { return CannedReply{404, "not here", "text/plain", {}}; });
    Received received;
    EXPECT_EQ(HttpClient::download(server.url("/a.mp3"), received.receiver()).statusCode, 404);
}

}  // namespace
