// What the home page's start-up would cost with one request after another:
// the start-up requests, the six home sections and every one of their
// pictures, each waiting for the one before. Prints the milliseconds.
// home_load_bench.sh runs it beside the real program.
//   home_sequential_bench <origin>
#include "api/CloudApiClient.h"
#include "maintenance/MaintenanceRequests.h"
#include "net/HttpClient.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: home_sequential_bench <origin>\n");
        return 2;
    }
    HttpClient::globalInit();
    const ServiceHosts hosts = ServiceHosts::allAt(argv[1]);
    const CloudApiClient api(hosts);
    const MaintenanceRequests maintenance(hosts);

    const auto started = std::chrono::steady_clock::now();
    maintenance.fetchRemoteConfig();
    maintenance.fetchServiceCookie();
    api.checkAccount("");
    maintenance.sendHeartbeat();
    std::vector<std::string> pictures;
    int banners = 0;
    for (const PackedItem& banner : api.fetchBanners())
        if (banners++ < 6) pictures.push_back(banner.picture());
    for (const PackedItem& mv : api.fetchPersonalizedMvs()) pictures.push_back(mv.picture());
    auto addCovers = [&pictures](const std::vector<CoverItem>& items, size_t limit) {
        for (size_t i = 0; i < items.size() && i < limit; ++i) pictures.push_back(items[i].pictureUrl);
    };
    addCovers(api.fetchRecommendedPlaylists(""), SIZE_MAX);
    addCovers(api.fetchTopArtists(), SIZE_MAX);
    addCovers(api.fetchNewestAlbums(), 10);
    addCovers(api.fetchFirstMvs(10), 10);
    for (const std::string& url : pictures) api.fetchPicture(url);
    const auto took = std::chrono::steady_clock::now() - started;

    std::printf("%lld\n", static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
    return 0;
}
