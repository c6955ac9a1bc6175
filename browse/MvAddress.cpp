#include "browse/MvAddress.h"

#include "api/CloudApiClient.h"

BackgroundTask::Handle MvAddress::load(const std::string& mvId) {
    return feed_.load([&client = client_, mvId](FeedWindow, ServiceStatus*) {
        return std::vector<std::string>{client.fetchMvUrl(mvId)};
    });
}
