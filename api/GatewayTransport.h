#pragma once
// The gateway way of reaching the service: the companion server or a relay in
// front of a self-hosted API server. Each request is one GET of an API server
// path on the service base (or a maker path on the maker and account
// origins) with its query values and, where the request acts for someone,
// the cookie as the last query value; the QR picture comes from the QR host.
#include "api/ServiceHosts.h"
#include "api/ServiceTransport.h"

class GatewayTransport : public ServiceTransport {
public:
    explicit GatewayTransport(ServiceHosts hosts) : hosts_(std::move(hosts)) {}

    // The URL the call is sent to.
    std::string urlOf(const ServiceCall& call) const;

    ServiceAnswer send(const ServiceCall& call) const override;
    std::string qrPicture(const std::string& loginUrl) const override;

private:
    const ServiceHosts hosts_;
};
