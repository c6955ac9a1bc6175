// Hosts from the environment, with the build defaults where a variable is
// missing or empty.
#include "api/ServiceHosts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

const char* const kVariables[] = {"MIVRA_SERVICE_BASE", "MIVRA_MAKER_ORIGIN", "MIVRA_ACCOUNT_ORIGIN", "MIVRA_QR_ORIGIN",
                                  "MIVRA_PLAYER_ORIGIN"};

// Clears the five variables for the test and puts the old values back.
class ServiceHostsTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : kVariables) {
            const char* value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
    }
    void TearDown() override {
        for (size_t i = 0; i < saved_.size(); ++i) {
            if (saved_[i])
                setenv(kVariables[i], saved_[i]->c_str(), 1);
            else
                unsetenv(kVariables[i]);
        }
    }
    std::vector<std::optional<std::string>> saved_;
};

TEST_F(ServiceHostsTest, DefaultsNameOneLocalServer) {
    const ServiceHosts hosts = ServiceHosts::fromEnvironment();
    EXPECT_EQ(hosts.serviceBase, MIVRA_TEST_DEFAULT_SERVICE_BASE);
    EXPECT_EQ(hosts.serviceBase.back(), '/');
    for (const std::string& origin : {hosts.makerOrigin, hosts.accountOrigin, hosts.qrOrigin, hosts.playerOrigin}) {
        EXPECT_FALSE(origin.empty());
        EXPECT_NE(origin.back(), '/');
    }
}

TEST_F(ServiceHostsTest, EnvironmentReplacesEachDefault) {
    setenv("MIVRA_SERVICE_BASE", "http://api.test:81/v1/", 1);
    setenv("MIVRA_MAKER_ORIGIN", "http://maker.test:82", 1);
    setenv("MIVRA_ACCOUNT_ORIGIN", "https://account.test", 1);
    setenv("MIVRA_QR_ORIGIN", "http://qr.test:84", 1);
    setenv("MIVRA_PLAYER_ORIGIN", "http://player.test:85", 1);
    const ServiceHosts hosts = ServiceHosts::fromEnvironment();
    EXPECT_EQ(hosts.serviceBase, "http://api.test:81/v1/");
    EXPECT_EQ(hosts.serviceBaseNoSlash(), "http://api.test:81/v1");
    EXPECT_EQ(hosts.makerOrigin, "http://maker.test:82");
    EXPECT_EQ(hosts.accountOrigin, "https://account.test");
    EXPECT_EQ(hosts.qrOrigin, "http://qr.test:84");
    EXPECT_EQ(hosts.playerOrigin, "http://player.test:85");
}

TEST_F(ServiceHostsTest, SlashesAreMadeRightAndEmptyValuesIgnored) {
    setenv("MIVRA_SERVICE_BASE", "http://api.test:81", 1);
    setenv("MIVRA_MAKER_ORIGIN", "http://maker.test:82/", 1);
    setenv("MIVRA_ACCOUNT_ORIGIN", "", 1);
    const ServiceHosts hosts = ServiceHosts::fromEnvironment();
    EXPECT_EQ(hosts.serviceBase, "http://api.test:81/");
    EXPECT_EQ(hosts.makerOrigin, "http://maker.test:82");
    unsetenv("MIVRA_ACCOUNT_ORIGIN");
    EXPECT_EQ(hosts.accountOrigin, ServiceHosts::fromEnvironment().accountOrigin);
}

TEST(WebPlayerUrlTest, OnlyTheTimeKeysAmpersandIsEscaped) {
    ServiceHosts hosts;
    hosts.playerOrigin = "https://player.test";
    struct Case {
        std::string stream;
        std::string page;
    };
    const Case cases[] = {
        {"http://v.test/mv/1.mp4?wsSecret=ab&wsTime=1700000000&x=%2F",
         "https://player.test/player/?url=http://v.test/mv/1.mp4?wsSecret=ab%26wsTime=1700000000&x=%2F"},
        {"http://v.test/a.mp4&wsTime=1&wsTime=2",
         "https://player.test/player/?url=http://v.test/a.mp4%26wsTime=1%26wsTime=2"},
        {"http://v.test/a.mp4?wstime=1 &b=é", "https://player.test/player/?url=http://v.test/a.mp4?wstime=1 &b=é"},
        {"", "https://player.test/player/?url="},
    };
    for (const Case& c : cases) EXPECT_EQ(hosts.webPlayerUrl(c.stream), c.page) << c.stream;
}

}  // namespace
