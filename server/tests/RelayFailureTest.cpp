// The relay in front of an API server that fails: down, a 502 with a JSON
// body, a page that is not JSON, an answer too slow to wait for. Service
// paths pass the failure back (a gateway error of the relay's own when there
// is no answer), and every request of the program ends in the empty result it
// already handles, never in a login or a stream it did not get.
#include <chrono>
#include <thread>

#include "RecordingServer.h"
#include "ServerTestSupport.h"
#include "api/CloudApiClient.h"
#include "net/HttpClient.h"

namespace {

struct FailingUpstream {
    const char* name;
    RecordingServer::Handler answer;  // none: nothing listens at the upstream's port
    int searchStatus;                 // what the relay answers a forwarded search with
    std::string searchBody;           // the upstream's own body when passed back; empty: the relay's JSON
};

void PrintTo(const FailingUpstream& failure, std::ostream* out) { *out << failure.name; }

CannedReply slowAnswer(const RecordedRequest&) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    return {200, R"({"code":200,"result":{"songs":[]}})", "application/json", {}};
}

const std::string kBadGateway = R"({"code":502,"msg":"Bad Gateway"})";
const std::string kHtmlPage = "<html><body>Service Unavailable</body></html>";

const FailingUpstream kFailures[] = {
    {"down", nullptr, 502, ""},
    {"502 with a JSON body",
     [](const RecordedRequest&) {
         return CannedReply{502, kBadGateway, "application/json", {}};
     },
     502, kBadGateway},
    {"not JSON",
     [](const RecordedRequest&) {
         return CannedReply{200, kHtmlPage, "text/html", {}};
     },
     200, kHtmlPage},
    {"slow", slowAnswer, 504, ""},
};

class RelayFailureTest : public ::testing::TestWithParam<FailingUpstream> {
protected:
    static void SetUpTestSuite() { HttpClient::globalInit(); }
};

TEST_P(RelayFailureTest, EveryRequestEndsInTheProgramsEmptyResult) {
    const FailingUpstream& failure = GetParam();
    std::string upstreamOrigin;
    auto upstream = std::make_unique<RecordingServer>();
    upstreamOrigin = upstream->url("");
    if (failure.answer) {
        upstream->setHandler(failure.answer);
    } else {
        upstream.reset();  // its port is closed again
    }
    ServerOptions options = testServerOptions();
    options.upstream = upstreamOrigin;
    options.upstreamTimeoutSeconds = 1;
    DemoServer relay(options, [](const std::string&) {});
    ASSERT_TRUE(relay.start());

    httplib::Client raw(relay.origin());
    const httplib::Result search = raw.Get("/search?keywords=a&type=1");
    ASSERT_TRUE(search);
    EXPECT_EQ(search->status, failure.searchStatus);
    if (!failure.searchBody.empty()) {
        EXPECT_EQ(search->body, failure.searchBody);
    } else {
        EXPECT_EQ(Json::parse(search->body, nullptr, false).value("code", 0), failure.searchStatus);
    }

    const CloudApiClient client(ServiceHosts::allAt(relay.origin()));
    EXPECT_TRUE(client.searchSongs("夏").empty());
    EXPECT_TRUE(client.fetchPlaylistDetail("1", "").name.empty());
    EXPECT_TRUE(client.fetchAccount("MUSIC_U=x").userId.empty());
    EXPECT_EQ(client.fetchSongUrl("1900001001"), "null");
    EXPECT_TRUE(client.qrCreateKey().empty());
    EXPECT_TRUE(client.qrCreateUrl("k").empty());
    EXPECT_EQ(client.qrPoll("k").state, QrLoginState::NoAnswer);
}

INSTANTIATE_TEST_SUITE_P(Upstreams, RelayFailureTest, ::testing::ValuesIn(kFailures),
                         [](const ::testing::TestParamInfo<FailingUpstream>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                             return name;
                         });

// An API server that names a state the program does not know (a verification
// it asks for, an error code) keeps the program waiting: the program counts
// any other code as a login.
TEST(RelayQrPollTest, OnlyTheFourLoginStatesReachTheProgram) {
    HttpClient::globalInit();
    struct Case {
        std::string upstreamBody;
        QrLoginState state;
    };
    const Case cases[] = {
        {R"({"code":800,"message":"二维码不存在或已过期","cookie":""})", QrLoginState::Expired},
        {R"({"code":801,"message":"等待扫码","cookie":""})", QrLoginState::WaitingScan},
        {R"({"code":802,"message":"授权中","cookie":"","nickname":"n","avatarUrl":""})", QrLoginState::WaitingConfirm},
        {R"({"code":803,"message":"授权登陆成功","cookie":"MUSIC_U=1;"})", QrLoginState::LoggedIn},
        {R"({"code":803,"message":"授权登陆成功","cookie":""})", QrLoginState::NoAnswer},
        {R"({"code":8821,"message":"需要行为验证码验证"})", QrLoginState::NoAnswer},
        {R"({"code":"803","cookie":"MUSIC_U=1;"})", QrLoginState::NoAnswer},
        {R"([803])", QrLoginState::NoAnswer},
    };
    RecordingServer upstream;
    ServerOptions options = testServerOptions();
    options.upstream = upstream.url("");
    DemoServer relay(options, [](const std::string&) {});
    ASSERT_TRUE(relay.start());
    const CloudApiClient client(ServiceHosts::allAt(relay.origin()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.upstreamBody);
        upstream.setHandler([&c](const RecordedRequest&) {
            return CannedReply{200, c.upstreamBody, "application/json", {}};
        });
        const QrPollResult poll = client.qrPoll("k");
        EXPECT_EQ(poll.state, c.state);
        EXPECT_EQ(poll.cookie, c.state == QrLoginState::LoggedIn ? "MUSIC_U=1;" : "");
    }
}

}  // namespace
