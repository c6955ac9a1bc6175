// The service engine against real local servers: the request it sends, what
// it makes of the answer, and its numbered failures.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "HttpTestHelpers.h"
#include "RecordingServer.h"
#include "ScriptedSocketServer.h"
#include "net/HttpClient.h"
#include "text/TextCodec.h"

namespace {

using namespace std::chrono_literals;

const std::string kAgent = "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)";
const std::string kAccept = "Accept: text/html, application/xhtml+xml, */*";
const std::string kEncoding = "Accept-Encoding: identity";
const std::string kLanguage = "Accept-Language: zh-cn";
const std::string kFormType = "Content-Type: application/x-www-form-urlencoded";
const std::string kNoCache = "Cache-Control: no-cache";

struct RequestCase {
    std::string name;
    std::function<void(HttpRequest&)> prepare;
    std::string requestLine;
    std::vector<std::string> lines;  // after Host
    std::string body = "";
    ServiceOptions options = {};
};

using ServiceEngineTest = HttpTest;

TEST_F(ServiceEngineTest, SendsExactlyTheAssembledHeaderBlock) {
    const std::string bigBody(2 * 1024 * 1024, 'x');
    const RequestCase cases[] = {
        {"defaults", [](HttpRequest&) {}, "GET /a?b=1 HTTP/1.1", {kAgent, kAccept, kEncoding, kLanguage, kNoCache}},
        {"lower-case agent",
         [](HttpRequest& r) { r.extraHeaders = "user-agent: X"; },
         "GET /a?b=1 HTTP/1.1",
         {"User-Agent: X", kAccept, kEncoding, kLanguage, kNoCache}},
        {"agent without space is not found",
         [](HttpRequest& r) { r.extraHeaders = "User-Agent:X"; },
         "GET /a?b=1 HTTP/1.1",
         {"User-Agent:X", kAgent, kAccept, kEncoding, kLanguage, kNoCache}},
        {"post",
         [](HttpRequest& r) {
             r.method = kPost;
             r.bodyText = "a=1";
         },
         "POST /a?b=1 HTTP/1.1",
         {kAgent, kAccept, kEncoding, kLanguage, kFormType, kNoCache, "Content-Length: 3"},
         "a=1"},
        {"post body text goes out as GBK",
         [](HttpRequest& r) {
             r.method = kPost;
             r.bodyText = "k=中";
             r.addDefaultHeaders = false;
         },
         "POST /a?b=1 HTTP/1.1",
         {"Content-Length: 4"},
         "k=\xD6\xD0"},
        {"body bytes win",
         [](HttpRequest& r) {
             r.method = kPut;
             r.bodyText = "t";
             r.bodyBytes = "bytes";
             r.addDefaultHeaders = false;
         },
         "PUT /a?b=1 HTTP/1.1",
         {"Content-Length: 5"},
         "bytes"},
        {"large post waits for no 100-continue",
         [&](HttpRequest& r) {
             r.method = kPost;
             r.bodyBytes = bigBody;
             r.addDefaultHeaders = false;
         },
         "POST /a?b=1 HTTP/1.1",
         {"Content-Length: 2097152"},
         bigBody},
        {"keep-alive line removed",
         [](HttpRequest& r) { r.extraHeaders = "Connection: keep-alive\r\nX-A: 1"; },
         "GET /a?b=1 HTTP/1.1",
         {"X-A: 1", kAgent, kAccept, kEncoding, kLanguage, kNoCache}},
        {"keep-alive ending the block stays",
         [](HttpRequest& r) {
             r.extraHeaders = "X-A: 1\r\nConnection: keep-alive";
             r.addDefaultHeaders = false;
         },
         "GET /a?b=1 HTTP/1.1",
         {"X-A: 1", "Connection: keep-alive"}},
        {"keep-alive followed by defaults goes",
         [](HttpRequest& r) { r.extraHeaders = "X-A: 1\r\nConnection: keep-alive"; },
         "GET /a?b=1 HTTP/1.1",
         {"X-A: 1", kAgent, kAccept, kEncoding, kLanguage, kNoCache}},
        {"cookie text",
         [](HttpRequest& r) { r.cookies = "a=1"; },
         "GET /a?b=1 HTTP/1.1",
         {kAgent, kAccept, kEncoding, kLanguage, kNoCache, "Cookie: a=1"}},
        {"cookie line",
         [](HttpRequest& r) { r.cookies = "Cookie: a=1"; },
         "GET /a?b=1 HTTP/1.1",
         {kAgent, kAccept, kEncoding, kLanguage, kNoCache, "Cookie: a=1"}},
        {"cookie line in the block wins",
         [](HttpRequest& r) {
             r.extraHeaders = "cookie: b=2";
             r.cookies = "a=1";
         },
         "GET /a?b=1 HTTP/1.1",
         {"Cookie: b=2", kAgent, kAccept, kEncoding, kLanguage, kNoCache}},
        {"nothing of curl's own", [](HttpRequest& r) { r.addDefaultHeaders = false; }, "GET /a?b=1 HTTP/1.1", {}},
        {"empty value",
         [](HttpRequest& r) {
             r.extraHeaders = "X-Empty: \r\nx-b: 2";
             r.addDefaultHeaders = false;
         },
         "GET /a?b=1 HTTP/1.1",
         {"X-Empty:", "X-B: 2"}},
        {"unnormalised",
         [](HttpRequest& r) {
             r.extraHeaders = "x-a: 1\r\n\r\nx-b: 2\r\n";
             r.addDefaultHeaders = false;
             r.normalizeHeaders = false;
         },
         "GET /a?b=1 HTTP/1.1",
         {"x-a: 1", "x-b: 2"}},
        {"server credentials",
         [](HttpRequest& r) { r.addDefaultHeaders = false; },
         "GET /a?b=1 HTTP/1.1",
         {"Authorization: Basic dTpw"},
         "",
         {"u", "p"}},
        {"credentials need both parts",
         [](HttpRequest& r) { r.addDefaultHeaders = false; },
         "GET /a?b=1 HTTP/1.1",
         {},
         "",
         {"u", ""}},
        {"method out of range",
         [](HttpRequest& r) {
             r.method = 8;
             r.addDefaultHeaders = false;
         },
         "GET /a?b=1 HTTP/1.1",
         {}},
        {"negative method",
         [](HttpRequest& r) {
             r.method = -1;
             r.addDefaultHeaders = false;
         },
         "GET /a?b=1 HTTP/1.1",
         {}},
        {"head",
         [](HttpRequest& r) {
             r.method = kHead;
             r.addDefaultHeaders = false;
         },
         "HEAD /a?b=1 HTTP/1.1",
         {}},
        {"delete",
         [](HttpRequest& r) {
             r.method = kDelete;
             r.addDefaultHeaders = false;
         },
         "DELETE /a?b=1 HTTP/1.1",
         {}},
        {"options",
         [](HttpRequest& r) {
             r.method = kOptions;
             r.addDefaultHeaders = false;
         },
         "OPTIONS /a?b=1 HTTP/1.1",
         {}},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSocketServer server(okScript());
        HttpRequest request;
        request.url = server.url("/a?b=1");
        c.prepare(request);
        HttpResponse response = HttpClient::fetchService(request, c.options);
        EXPECT_EQ(response.status, "200 OK");
        ASSERT_EQ(server.requests().size(), 1u);
        EXPECT_EQ(server.requests()[0], expectedRequest(c.requestLine, hostOf(request.url), c.lines, c.body));
    }
}

TEST_F(ServiceEngineTest, UrlWithoutPathIsRequestedAsRoot) {
    for (const char* suffix : {"", "?x=1", "#top"}) {
        ScriptedSocketServer server(okScript());
        HttpRequest request;
        std::string root = server.url("");
        request.url = root + suffix;
        request.addDefaultHeaders = false;
        EXPECT_EQ(HttpClient::fetchService(request).status, "200 OK") << suffix;
        ASSERT_EQ(server.requests().size(), 1u);
        EXPECT_EQ(server.requests()[0], expectedRequest("GET / HTTP/1.1", hostOf(root), {})) << suffix;
    }
}

TEST_F(ServiceEngineTest, CookieWithSpacesAndSemicolonsInTheQueryArrivesIntact) {
    RecordingServer server;
    HttpRequest request;
    request.url = server.url("/login?cookie=MUSIC_U=ab cd; __csrf=x,y&next=%2Fhome");
    HttpClient::fetchService(request);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].target, "/login?cookie=MUSIC_U=ab%20cd;%20__csrf=x,y&next=%2Fhome");
}

TEST_F(ServiceEngineTest, ReturnsTheAnswerWithItsHeadStatusCookiesAndLocation) {
    RecordingServer server;
    server.setHandler([](const RecordedRequest& request) {
        CannedReply reply;
        if (request.target == "/from") {
            reply = {302, "moved", "text/plain", {{"Location", "/to"}, {"Set-Cookie", "r=1; Path=/"}}};
        } else if (request.target == "/to") {
            reply.body = "arrived";
        } else if (request.target == "/missing") {
            reply = {404, "missing", "text/plain", {}};
        } else {
            reply.headers = {{"Set-Cookie", "t=2; Path=/"}, {"Set-Cookie", "v=5; HttpOnly"}};
        }
        return reply;
    });

    HttpRequest request;
    request.url = server.url("/cookies");
    request.cookies = "t=1; u=3";
    HttpResponse response = HttpClient::fetchService(request);
    EXPECT_EQ(response.status, "200 OK");
    EXPECT_EQ(response.cookies, "t=2; v=5; u=3");
    EXPECT_EQ(response.bodyText, "ok");
    EXPECT_TRUE(response.headers.starts_with("HTTP/1.1 200 OK\r\n")) << response.headers;
    EXPECT_TRUE(response.headers.ends_with("\r\n\r\n")) << response.headers;
    EXPECT_EQ(server.requests().back().header("Cookie"), "t=1; u=3");

    request.mergeReceivedCookies = false;
    EXPECT_EQ(HttpClient::fetchService(request).cookies, "t=2; v=5");

    request = HttpRequest();
    request.url = server.url("/from");
    response = HttpClient::fetchService(request);
    EXPECT_EQ(response.status, "200 OK");
    EXPECT_EQ(response.bodyText, "arrived");
    EXPECT_EQ(response.location, "");
    EXPECT_EQ(response.cookies, "");  // the redirect's cookie was not in the final answer
    EXPECT_EQ(server.requests().back().target, "/to");

    request.noRedirect = true;
    response = HttpClient::fetchService(request);
    EXPECT_EQ(response.status, "302 Found");
    EXPECT_EQ(response.location, "/to");
    EXPECT_EQ(response.bodyText, "moved");
    EXPECT_EQ(response.cookies, "r=1");

    request = HttpRequest();
    request.url = server.url("/missing");
    response = HttpClient::fetchService(request);
    EXPECT_EQ(response.status, "404 Not Found");
    EXPECT_EQ(response.bodyText, "missing");
}

TEST_F(ServiceEngineTest, BodyTextStopsAtZeroByteAndDeclaredCharsetsAreDecoded) {
    const std::string gbkWords = TextCodec::utf8ToGbk("中文");
    const std::string filler(1100, ' ');
    struct BodyCase {
        std::string name;
        std::string body;
        std::string expectedText;
    };
    const BodyCase cases[] = {
        {"zero byte", std::string("ab\0cd", 5), "ab"},
        {"json stays raw", "{\"a\":\"中\"}", "{\"a\":\"中\"}"},
        {"gbk page", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">" + gbkWords,
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\">中文"},
        {"gb2312 page holding GBK", "<META CHARSET=\"GB2312\">" + gbkWords + "\xB0\x40",
         "<META CHARSET=\"GB2312\">中文癅"},
        {"latin-1 page", "<meta charset='iso-8859-1'>caf\xE9", "<meta charset='iso-8859-1'>café"},
        {"utf-8 page", "<meta charset=utf-8>中", "<meta charset=utf-8>中"},
        {"unknown charset", "<meta charset=x-unheard-of>" + gbkWords, "<meta charset=x-unheard-of>" + gbkWords},
        {"declared too late", filler + "<meta charset=gbk>" + gbkWords, filler + "<meta charset=gbk>" + gbkWords},
    };
    RecordingServer server;
    for (const BodyCase& c : cases) {
        SCOPED_TRACE(c.name);
        server.setHandler([&](const RecordedRequest&) { return CannedReply{200, c.body, "text/html", {}}; });
        HttpRequest request;
        request.url = server.url("/page");
        HttpResponse response = HttpClient::fetchService(request);
        EXPECT_EQ(response.bodyBytes, c.body);
        EXPECT_EQ(response.bodyText, c.expectedText);
    }
}

// Only `status` is filled.
void expectFailure(const HttpResponse& response, const std::string& message) {
    EXPECT_EQ(response.status, message);
    EXPECT_EQ(response.bodyText, "");
    EXPECT_EQ(response.bodyBytes, "");
    EXPECT_EQ(response.headers, "");
    EXPECT_EQ(response.cookies, "");
    EXPECT_EQ(response.location, "");
}

TEST_F(ServiceEngineTest, UnusableUrlsFailWith701) {
    for (const char* url : {"", "ftp://127.0.0.1/x", "127.0.0.1/x", "http://", "http://127.0.0.1:99999/"}) {
        HttpRequest request;
        request.url = url;
        SCOPED_TRACE(url);
        expectFailure(HttpClient::fetchService(request), "701 解析URL地址失败!");
    }
}

TEST_F(ServiceEngineTest, HeaderLineWithoutNameIsRefusedWith710) {
    ScriptedSocketServer server(okScript());
    HttpRequest request;
    request.url = server.url("/");
    request.extraHeaders = "not a header";
    request.normalizeHeaders = false;
    expectFailure(HttpClient::fetchService(request), "710 设置协议头失败!");
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(ServiceEngineTest, NoConnectionFailsWith711) {
    std::string url;
    {
        // A port that was free a moment ago and has no listener now.
        ScriptedSocketServer closed(okScript());
        url = closed.url("/");
    }
    HttpRequest request;
    request.url = url;
    expectFailure(HttpClient::fetchService(request), "711 发送请求失败!");
}

struct MisbehaviourCase {
    std::string name;
    std::vector<ScriptedSocketServer::Step> script;
    bool holdOpen;
    std::string expectedStatus;
    std::string expectedBody;
};

TEST_F(ServiceEngineTest, MisbehavingServers) {
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\n";
    const MisbehaviourCase cases[] = {
        {"closes without answering", {}, false, "712 服务器未响应!", ""},
        {"never answers", {}, true, "712 服务器未响应!", ""},
        {"closes inside the head", {{"HTTP/1.1 200 OK\r\nContent-Le"}}, false, "712 服务器未响应!", ""},
        {"falls silent inside the head", {{"HTTP/1.1 200 OK\r\n"}}, true, "712 服务器未响应!", ""},
        // A body broken off keeps what arrived; the status line stands.
        {"closes mid-body", {{head + "abc"}}, false, "200 OK", "abc"},
        {"falls silent mid-body", {{head + "abc"}}, true, "200 OK", "abc"},
        // Each pause is shorter than the time-out, the whole answer longer.
        {"trickles", {{head + "ab", 600ms}, {"cd", 600ms}, {"ef"}}, false, "200 OK", "abcdef"},
    };
    for (const MisbehaviourCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedSocketServer server(c.script, c.holdOpen);
        HttpRequest request;
        request.url = server.url("/");
        request.timeoutSeconds = 1;
        HttpResponse response = HttpClient::fetchService(request);
        EXPECT_EQ(response.status, c.expectedStatus);
        EXPECT_EQ(response.bodyBytes, c.expectedBody);
        EXPECT_EQ(response.headers.empty(), c.expectedStatus.starts_with("712"));
    }
}

}  // namespace
