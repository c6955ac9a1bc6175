#include "api/CloudApiClient.h"

#include "api/GatewayTransport.h"

CloudApiClient::CloudApiClient(ServiceHosts hosts, LocalClock clock)
    : CloudApiClient(std::make_shared<GatewayTransport>(hosts), hosts, std::move(clock)) {}

CloudApiClient::CloudApiClient(std::shared_ptr<const ServiceTransport> transport, ServiceHosts hosts, LocalClock clock)
    : hosts_(std::move(hosts)), clock_(std::move(clock)), transport_(std::move(transport)) {}

void CloudApiClient::useTransport(std::shared_ptr<const ServiceTransport> transport) {
    const std::lock_guard lock(mutex_);
    transport_ = std::move(transport);
}

void CloudApiClient::setSongLevel(std::string level) {
    const std::lock_guard lock(mutex_);
    songLevel_ = std::move(level);
}

std::shared_ptr<const ServiceTransport> CloudApiClient::transport() const {
    const std::lock_guard lock(mutex_);
    return transport_;
}

std::string CloudApiClient::requestTimestamp(TimestampForm form) const { return makeRequestTimestamp(clock_(), form); }

ServiceAnswer CloudApiClient::send(const ServiceCall& call) const {
    if (call.route != ServiceRoute::SongUrl) return transport()->send(call);
    ServiceCall withLevel = call;
    {
        const std::lock_guard lock(mutex_);
        withLevel.songLevel = songLevel_;
    }
    return transport()->send(withLevel);
}

JsonDocument CloudApiClient::fetch(const ServiceCall& call, ServiceStatus* status) const {
    const ServiceAnswer answer = send(call);
    JsonDocument document;
    const bool parsed = document.parse(answer.body);
    if (status) *status = judgeServiceAnswer(answer.status, parsed, document);
    return document;
}
