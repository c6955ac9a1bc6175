// The companion's side of the service's own web API: what it does with
// requests it cannot read or does not know, the linuxapi wrapping, and the
// visitor registration.
#include "ServerTestSupport.h"
#include "net/ServiceCipher.h"

#include <gtest/gtest.h>

namespace {

class ServiceProtocolTest : public ServerTest {
protected:
    httplib::Result post(const std::string& path, const std::string& body, const httplib::Headers& headers = {}) {
        return client->Post(path, headers, body, "application/x-www-form-urlencoded");
    }
    static std::string formOf(const std::string& name, const std::string& value) {
        return name + "=" + encodeQueryValue(value);
    }
};

TEST_F(ServiceProtocolTest, UnreadableAndUnknownRequestsGetTheServicesErrors) {
    struct Case {
        const char* what;
        std::string path;
        std::string body;
        int status;
    };
    const auto weapi = [](const std::string& key) {
        const ServiceCipher::WeapiForm form = ServiceCipher::weapi(R"({"id":"1"})", key);
        return formOf("params", form.params) + "&" + formOf("encSecKey", form.encSecKey);
    };
    const Case cases[] = {
        {"weapi sealed with another key", "/weapi/song/lyric", weapi("zzzzzzzzzzzzzzzz"), 400},
        {"eapi that is not hex", "/eapi/song/lyric", "params=XYZ", 400},
        {"eapi whose URI is not its path", "/eapi/toplist",
         formOf("params", ServiceCipher::eapi("/api/song/lyric", "{}")), 400},
        {"eapi of a URI the demo does not know", "/eapi/unknown/thing",
         formOf("params", ServiceCipher::eapi("/api/unknown/thing", "{}")), 404},
        {"weapi of a URI the demo does not know", "/weapi/unknown/thing", weapi(ServerOptions::kDemoWeapiKey), 404},
        {"linuxapi without eparams", "/api/linux/forward", "", 400},
    };
    for (const Case& c : cases) {
        const httplib::Result result = post(c.path, c.body);
        ASSERT_TRUE(result) << c.what;
        EXPECT_EQ(result->status, c.status) << c.what;
        EXPECT_EQ(Json::parse(result->body)["code"], c.status) << c.what;
    }
}

TEST_F(ServiceProtocolTest, ALinuxapiRequestIsAnsweredLikeTheOthers) {
    const std::string sealed = ServiceCipher::linuxapi(
        R"({"method":"POST","url":"https://music.163.com/api/song/lyric","params":{"id":"1900001020"}})");
    const httplib::Result result = post("/api/linux/forward", formOf("eparams", sealed));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_NE(Json::parse(result->body)["lrc"]["lyric"].get<std::string>().find("纯音乐"), std::string::npos);
}

TEST_F(ServiceProtocolTest, AVisitorGetsOneTokenPerDevice) {
    const auto tokenOf = [this](const std::string& deviceId) {
        const ServiceCipher::WeapiForm form = ServiceCipher::weapi(R"({"username":"x"})", ServerOptions::kDemoWeapiKey);
        const httplib::Result result =
            post("/weapi/register/anonimous", formOf("params", form.params) + "&" + formOf("encSecKey", form.encSecKey),
                 {{"Cookie", "os=pc; deviceId=" + deviceId + "; MUSIC_A="}});
        return result ? result->get_header_value("Set-Cookie") : std::string();
    };
    const std::string first = tokenOf("DEVICE-A");
    EXPECT_TRUE(first.starts_with("MUSIC_A=")) << first;
    EXPECT_EQ(tokenOf("DEVICE-A"), first);
    EXPECT_NE(tokenOf("DEVICE-B"), first);
}

}  // namespace
