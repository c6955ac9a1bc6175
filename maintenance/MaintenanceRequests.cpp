#include "maintenance/MaintenanceRequests.h"

#include "api/ServiceRequest.h"
#include "maintenance/ServiceCookieSignature.h"

MaintenanceRequests::MaintenanceRequests(ServiceHosts hosts, LocalClock clock)
    : hosts_(std::move(hosts)), clock_(std::move(clock)) {}

RemoteConfig MaintenanceRequests::fetchRemoteConfig() const {
    JsonDocument answer;
    RemoteConfig config;
    config.answered =
        answer.parse(fetchAnswer(hosts_.makerOrigin + "/api/config/config.json", RequestHeaders::EngineDefaults));
    config.name = answer.getText("data.Name");
    config.version = answer.getText("data.Ver");
    config.updateLogUrl = answer.getText("urls.UpdateLog");
    config.downloadUrl = answer.getText("urls.Download");
    config.updateLogText = fetchAnswer(config.updateLogUrl, RequestHeaders::EngineDefaults);
    return config;
}

std::string MaintenanceRequests::fetchServiceCookie() const {
    const std::string timestamp = makeRequestTimestamp(clock_(), TimestampForm::Seconds);
    const JsonDocument answer =
        fetchJson(hosts_.makerOrigin + "/api/?type=cloudMusicCookie&op=0&timestamp=" + timestamp +
                      "&sign=" + serviceCookieSignature(timestamp),
                  RequestHeaders::EngineDefaults);
    return answer.getText("cookie");
}

void MaintenanceRequests::sendHeartbeat() const {
    fetchAnswer(hosts_.makerOrigin + "/api/online.php", RequestHeaders::BrowserAgent);
}
