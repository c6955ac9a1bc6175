#pragma once
// A way of reaching the service: the gateway (the companion or a relay,
// through API-server-shaped paths) or the service's own web API. The client
// describes each request as a ServiceCall; the transport sends it and gives
// the answer in the shape the client reads.
//
// Transports hold only what is fixed at construction, or guard what they
// change; one instance serves any number of threads at once.
#include "api/ServiceCall.h"

#include <string>

class ServiceTransport {
public:
    virtual ~ServiceTransport() = default;

    virtual ServiceAnswer send(const ServiceCall& call) const = 0;
    // A 256-pixel QR code picture (PNG) of the login URL.
    virtual std::string qrPicture(const std::string& loginUrl) const = 0;
};
