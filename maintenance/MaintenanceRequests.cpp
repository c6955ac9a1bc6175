#include "maintenance/MaintenanceRequests.h"

#include "api/ServiceRequest.h"
#include "base/ProductInfo.h"
#include "maintenance/ServiceCookieSignature.h"

MaintenanceRequests::MaintenanceRequests(ServiceHosts hosts, LocalClock clock)
    : clock_(std::move(clock)), hosts_(std::move(hosts)) {}

void MaintenanceRequests::reachThrough(std::optional<ServiceHosts> hosts) {
    const std::lock_guard lock(mutex_);
    hosts_ = std::move(hosts);
}

std::optional<ServiceHosts> MaintenanceRequests::hosts() const {
    const std::lock_guard lock(mutex_);
    return hosts_;
}

RemoteConfig MaintenanceRequests::fetchRemoteConfig() const {
    const std::optional<ServiceHosts> hosts = this->hosts();
    if (!hosts) return {true, kProductName, kProductVersion, {}, {}, {}};
    JsonDocument answer;
    RemoteConfig config;
    config.answered =
        answer.parse(fetchAnswer(hosts->makerOrigin + "/api/config/config.json", RequestHeaders::EngineDefaults));
    config.name = answer.getText("data.Name");
    config.version = answer.getText("data.Ver");
    config.updateLogUrl = answer.getText("urls.UpdateLog");
    config.downloadUrl = answer.getText("urls.Download");
    config.updateLogText = fetchAnswer(config.updateLogUrl, RequestHeaders::EngineDefaults);
    return config;
}

std::string MaintenanceRequests::fetchServiceCookie() const {
    const std::optional<ServiceHosts> hosts = this->hosts();
    if (!hosts) return {};
    const std::string timestamp = makeRequestTimestamp(clock_(), TimestampForm::Seconds);
    const JsonDocument answer =
        fetchJson(hosts->makerOrigin + "/api/?type=cloudMusicCookie&op=0&timestamp=" + timestamp +
                      "&sign=" + serviceCookieSignature(timestamp),
                  RequestHeaders::EngineDefaults);
    return answer.getText("cookie");
}

void MaintenanceRequests::sendHeartbeat() const {
    const std::optional<ServiceHosts> hosts = this->hosts();
    if (hosts) fetchAnswer(hosts->makerOrigin + "/api/online.php", RequestHeaders::BrowserAgent);
}
