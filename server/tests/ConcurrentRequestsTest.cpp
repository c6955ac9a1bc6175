// Many clients at once: the shared state (QR keys, subscriptions, the media
// cache, the heartbeat count, the request journal, the log) stays whole.
#include <atomic>
#include <thread>

#include "ServerTestSupport.h"

class ConcurrentRequestsTest : public ServerTest {};

TEST_F(ConcurrentRequestsTest, ClientsInParallelAllGetTheirAnswers) {
    constexpr int kClients = 6;
    constexpr int kRounds = 5;
    std::atomic<int> failures{0};
    const std::string origin = server->origin();

    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            httplib::Client http(origin);
            http.set_url_encode(false);
            auto ok = [&](const std::string& target) {
                auto result = http.Get(target);
                if (!result || result->status != 200) ++failures;
                return result ? result->body : std::string();
            };
            for (int round = 0; round < kRounds; ++round) {
                const Json key = Json::parse(ok("/mivra/public/?type=apiCloudMusicQRCodeLogin&op=0"), nullptr, false);
                const std::string unikey = key.is_discarded() ? "" : key["data"].value("unikey", "");
                ok("/demo/scan/" + unikey);
                ok("/mivra/public/?type=apiCloudMusicQRCodeLogin&op=2&key=" + unikey);
                const Json login =
                    Json::parse(ok("/mivra/public/?type=apiCloudMusicQRCodeLogin&op=2&key=" + unikey), nullptr, false);
                std::string cookie = login.is_discarded() ? "" : login.value("cookie", "");
                for (std::size_t at = 0; (at = cookie.find(' ', at)) != std::string::npos;)
                    cookie.replace(at, 1, "%20");
                const std::string playlist = std::to_string(7000000001 + (c + round) % 29);
                ok("/playlist/subscribe?t=1&id=" + playlist + "&cookie=" + cookie);
                ok("/playlist/subscribe?t=2&id=" + playlist + "&cookie=" + cookie);
                ok("/api/?type=apiSongUrlV1&id=" + std::to_string(1900001001 + (c + round) % 40));
                ok("/pic/" + std::to_string(109951163000000001 + c * 7 + round) +
                   (demoCatalogue().picture(109951163000000001 + c * 7 + round)->format == PictureFormat::Png
                        ? ".png"
                        : ".jpg") +
                   "?param=64y64");
                ok("/api/online.php");
                ok("/playlist/track/all?id=8806287654&limit=50&offset=" + std::to_string(round * 50) + "&cookie=");
            }
        });
    }
    for (std::thread& client : clients) client.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(server->seenRequests().size(), static_cast<std::size_t>(kClients * kRounds * 10));
}
