// The picture engine (fetchPicture) and the lyric engine (fetchLyric)
// against real local servers.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "HttpTestHelpers.h"
#include "RecordingServer.h"
#include "ScriptedSocketServer.h"
#include "net/HttpClient.h"

namespace {

using namespace std::chrono_literals;

const std::string kOldAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
const std::string kFormType = "Content-Type: application/x-www-form-urlencoded";

struct EngineCase {
    std::string name;
    std::function<void(HttpRequest&)> prepare;
    // The lines after Host; "{url}" stands for the requested URL.
    std::vector<std::string> lines;
    std::string requestLine = "GET /p?s=1 HTTP/1.1";
    std::string body = "";
    std::string answer = "ok";  // the body that comes back
    PictureOptions pictureOptions = {};
    LyricOptions lyricOptions = {};
};

using Engine = HttpResponse (*)(const HttpRequest&, const EngineCase&);
HttpResponse picture(const HttpRequest& request, const EngineCase& c) {
    return HttpClient::fetchPicture(request, c.pictureOptions);
}
HttpResponse lyric(const HttpRequest& request, const EngineCase& c) {
    return HttpClient::fetchLyric(request, c.lyricOptions);
}

void expectRequests(Engine engine, const std::vector<EngineCase>& cases) {
    for (const EngineCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSocketServer server(okScript());
        HttpRequest request;
        request.url = server.url("/p?s=1");
        c.prepare(request);
        HttpResponse response = engine(request, c);
        EXPECT_EQ(response.bodyBytes, c.answer);
        std::vector<std::string> lines;
        for (std::string line : c.lines) {
            if (size_t at = line.find("{url}"); at != std::string::npos) line.replace(at, 5, request.url);
            lines.push_back(line);
        }
        ASSERT_EQ(server.requests().size(), 1u);
        EXPECT_EQ(server.requests()[0], expectedRequest(c.requestLine, hostOf(request.url), lines, c.body));
    }
}

using PictureEngineTest = HttpTest;
using LyricEngineTest = HttpTest;

TEST_F(PictureEngineTest, SendsItsOwnDefaultsAndSetsHeadersByName) {
    const std::vector<std::string> defaults{"Accept: */*", "Referer: {url}", "Accept-Language: zh-cn",
                                            "User-Agent: " + kOldAgent};
    expectRequests(&picture, {
                                 {"defaults", [](HttpRequest&) {}, defaults},
                                 {"lower-case agent",
                                  [](HttpRequest& r) { r.extraHeaders = "user-agent: X"; },
                                  {"User-Agent: X", "Accept: */*", "Referer: {url}", "Accept-Language: zh-cn"}},
                                 {"post",
                                  [](HttpRequest& r) {
                                      r.method = kPost;
                                      r.bodyText = "a=1";
                                  },
                                  {"Accept: */*", "Referer: {url}", "Accept-Language: zh-cn",
                                   "User-Agent: " + kOldAgent, kFormType, "Content-Length: 3"},
                                  "POST /p?s=1 HTTP/1.1",
                                  "a=1"},
                                 {"keep-alive line not sent",
                                  [](HttpRequest& r) { r.extraHeaders = "Connection: keep-alive"; }, defaults},
                                 {"other connection lines sent",
                                  [](HttpRequest& r) {
                                      r.extraHeaders = "Connection: close";
                                      r.addDefaultHeaders = false;
                                  },
                                  {"Connection: close"}},
                                 {"a later line of the same name replaces the earlier",
                                  [](HttpRequest& r) {
                                      r.extraHeaders = "X-A: 1\r\nx-a: 2\r\nX-B: 3";
                                      r.addDefaultHeaders = false;
                                  },
                                  {"X-A: 2", "X-B: 3"}},
                                 {"supplied cookie text without its Cookie: marker",
                                  [](HttpRequest& r) {
                                      r.cookies = "Cookie: a=1; b=2";
                                      r.addDefaultHeaders = false;
                                  },
                                  {"Cookie: a=1; b=2"}},
                                 {"cookie line of the block replaces the supplied text",
                                  [](HttpRequest& r) {
                                      r.cookies = "a=1";
                                      r.extraHeaders = "X-A: 1\r\nCookie: c=3";
                                      r.addDefaultHeaders = false;
                                  },
                                  {"Cookie: c=3", "X-A: 1"}},
                                 {"empty cookie text supplied sends none",
                                  [](HttpRequest& r) { r.addDefaultHeaders = false; },
                                  {},
                                  "GET /p?s=1 HTTP/1.1",
                                  "",
                                  "ok",
                                  {.cookiesSupplied = true}},
                                 {"head",
                                  [](HttpRequest& r) {
                                      r.method = kHead;
                                      r.addDefaultHeaders = false;
                                  },
                                  {},
                                  "HEAD /p?s=1 HTTP/1.1",
                                  "",
                                  ""},
                             });
}

TEST_F(LyricEngineTest, AgentStringStandsForUserAgentAndDefaultsFollowNormalisation) {
    const std::vector<std::string> defaults{"User-Agent: " + kOldAgent, "Accept: */*", "Referer: {url}",
                                            "Accept-Language: zh-cn"};
    expectRequests(
        &lyric, {
                    {"defaults", [](HttpRequest&) {}, defaults},
                    {"agent from the block",
                     [](HttpRequest& r) { r.extraHeaders = "user-agent:  X  "; },
                     {"User-Agent: X", "Accept: */*", "Referer: {url}", "Accept-Language: zh-cn"}},
                    {"normalised block keeps its Accept",
                     [](HttpRequest& r) { r.extraHeaders = "accept: text/x"; },
                     {"User-Agent: " + kOldAgent, "Accept: text/x", "Referer: {url}", "Accept-Language: zh-cn"}},
                    {"unnormalised block",
                     [](HttpRequest& r) {
                         r.extraHeaders = "accept: text/x";
                         r.normalizeHeaders = false;
                     },
                     {"User-Agent: " + kOldAgent, "accept: text/x", "Referer: {url}", "Accept-Language: zh-cn"}},
                    {"post",
                     [](HttpRequest& r) { r.method = kPost; },
                     {"User-Agent: " + kOldAgent, "Accept: */*", "Referer: {url}", "Accept-Language: zh-cn", kFormType,
                      "Content-Length: 0"},
                     "POST /p?s=1 HTTP/1.1"},
                    {"get sends no body",
                     [](HttpRequest& r) {
                         r.bodyBytes = "ignored";
                         r.addDefaultHeaders = false;
                     },
                     {"User-Agent: " + kOldAgent}},
                    {"cookie text",
                     [](HttpRequest& r) { r.cookies = "a=1"; },
                     {defaults[0], defaults[1], defaults[2], defaults[3], "Cookie: a=1"}},
                    {"cookie line",
                     [](HttpRequest& r) {
                         r.cookies = "Cookie: a=1";
                         r.addDefaultHeaders = false;
                     },
                     {"User-Agent: " + kOldAgent, "Cookie: a=1"}},
                });
}

TEST_F(LyricEngineTest, UrlWithoutSchemeIsHttpAndWithoutPathIsRoot) {
    ScriptedSocketServer server(okScript());
    HttpRequest request;
    request.url = hostOf(server.url());
    request.addDefaultHeaders = false;
    EXPECT_EQ(HttpClient::fetchLyric(request).bodyBytes, "ok");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0], expectedRequest("GET / HTTP/1.1", request.url, {"User-Agent: " + kOldAgent}));
}

TEST_F(PictureEngineTest, ProxyGetsTheRequestAndTheCredentialsMeantForIt) {
    struct ProxyCase {
        std::string name;
        bool credentialsForProxy;
        std::string credentialLine;
    };
    const ProxyCase cases[] = {
        {"for the proxy", true, "Proxy-Authorization: Basic dTpw"},
        {"for the server", false, "Authorization: Basic dTpw"},
    };
    for (const ProxyCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSocketServer proxy(okScript());
        HttpRequest request;
        request.url = "http://pictures.test/p.jpg";
        request.proxy = hostOf(proxy.url());
        request.proxyUser = "u";
        request.proxyPassword = "p";
        request.addDefaultHeaders = false;
        EXPECT_EQ(HttpClient::fetchPicture(request, {.credentialsForProxy = c.credentialsForProxy}).bodyBytes, "ok");
        ASSERT_EQ(proxy.requests().size(), 1u);
        EXPECT_EQ(proxy.requests()[0],
                  expectedRequest("GET http://pictures.test/p.jpg HTTP/1.1", "pictures.test", {c.credentialLine}));
    }
}

TEST_F(PictureEngineTest, ReturnsBytesStatusHeadersAndMergedCookies) {
    RecordingServer server;
    server.setHandler([](const RecordedRequest& request) {
        if (request.target == "/missing") return CannedReply{404, "no picture", "text/plain", {}};
        return CannedReply{200, std::string("\x89PNG\0\x01", 6), "image/png", {{"Set-Cookie", "t=2; Path=/"}}};
    });
    HttpRequest request;
    request.url = server.url("/cover.png");
    request.cookies = "t=1; u=3";
    HttpResponse response = HttpClient::fetchPicture(request);
    EXPECT_EQ(response.bodyBytes, std::string("\x89PNG\0\x01", 6));
    EXPECT_EQ(response.statusCode, 200);
    EXPECT_TRUE(response.headers.starts_with("HTTP/1.1 200 OK\r\n")) << response.headers;
    EXPECT_EQ(response.cookies, "t=2; u=3");

    request = HttpRequest();
    request.url = server.url("/cover.png");
    EXPECT_EQ(HttpClient::fetchPicture(request).cookies, "t=2");  // nothing supplied, nothing merged

    request.url = server.url("/missing");
    response = HttpClient::fetchPicture(request);
    EXPECT_EQ(response.statusCode, 404);
    EXPECT_EQ(response.bodyBytes, "no picture");
}

struct BrokenAnswerCase {
    std::string name;
    std::vector<ScriptedSocketServer::Step> script;
    bool holdOpen;
    std::string lyricBytes;  // the picture engine returns nothing in every case
};

TEST_F(HttpTest, BrokenAnswersGiveNoPictureButKeepLyricBytesRead) {
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n";
    const BrokenAnswerCase cases[] = {
        {"closes without answering", {}, false, ""},
        {"closes mid-body", {{head + "[00:01]"}}, false, "[00:01]"},
        {"falls silent mid-body", {{head + "[00:01]"}}, true, "[00:01]"},
    };
    for (const BrokenAnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSocketServer pictureServer(c.script, c.holdOpen);
        HttpRequest request;
        request.url = pictureServer.url("/p.jpg");
        request.timeoutSeconds = 1;
        request.cookies = "a=1;";
        HttpResponse picture = HttpClient::fetchPicture(request);
        EXPECT_EQ(picture.bodyBytes, "");
        EXPECT_EQ(picture.statusCode, 0);
        EXPECT_EQ(picture.cookies, "a=1");  // the supplied text, merged with nothing

        if (c.holdOpen) continue;  // the lyric engine waits the platform's 30 s for silence
        ScriptedSocketServer lyricServer(c.script, c.holdOpen);
        request.url = lyricServer.url("/lrc");
        HttpResponse lyric = HttpClient::fetchLyric(request);
        EXPECT_EQ(lyric.bodyBytes, c.lyricBytes);
        EXPECT_EQ(lyric.headers.empty(), c.lyricBytes.empty());
    }
}

TEST_F(PictureEngineTest, ReusesConnectionsAndServesThreadsAtOnce) {
    RecordingServer server;
    HttpRequest request;
    request.url = server.url("/a.jpg");
    EXPECT_EQ(HttpClient::fetchPicture(request).bodyBytes, "ok");
    EXPECT_EQ(HttpClient::fetchPicture(request).bodyBytes, "ok");
    std::vector<RecordedRequest> sequential = server.requests();
    ASSERT_EQ(sequential.size(), 2u);
    EXPECT_EQ(sequential[0].remotePort, sequential[1].remotePort);

    constexpr int kThreads = 6, kPicturesEach = 10;
    std::vector<std::thread> threads;
    std::vector<int> failures(kThreads, 0);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kPicturesEach; ++i) {
                HttpRequest picture;
                picture.url = server.url("/p" + std::to_string(t) + "-" + std::to_string(i) + ".jpg");
                if (HttpClient::fetchPicture(picture).bodyBytes != "ok") ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
    std::set<int> connections;
    for (const RecordedRequest& recorded : server.requests()) connections.insert(recorded.remotePort);
    EXPECT_LT(connections.size(), static_cast<size_t>(kThreads * kPicturesEach));
}

}  // namespace
