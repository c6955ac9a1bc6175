#pragma once
// Turns where the program reaches the service (the environment's target or
// the user's choice) into the transport the client sends through and the
// hosts the maker's requests go to, starting a companion of the program's
// own where the demo or a self-hosted API server needs one. Lives on the
// UI thread.
#include "api/ServiceChoice.h"
#include "api/ServiceTransport.h"
#include "app/OwnCompanion.h"

#include <memory>
#include <optional>
#include <string>

class ServiceConnection {
public:
    struct Reach {
        std::shared_ptr<const ServiceTransport> transport;
        // The gateway's hosts; none where the service's own web API is reached.
        std::optional<ServiceHosts> gatewayHosts;
        // The origin of the demo server on this machine the gateway is, when
        // it is one ("http://127.0.0.1:38580"); empty otherwise.
        std::string localCompanion{};
    };

    // `target` is where the program started: its gateway hosts are where
    // the demo is reached and its direct origin (else MIVRA_DIRECT_ORIGIN,
    // else the service's own hosts) where the service's own web API is.
    // `deviceId` is the visitor's device; a non-empty `weapiKey` replaces
    // the random weapi secret key (MIVRA_WEAPI_KEY).
    ServiceConnection(ServiceTarget target, std::string programFolder, std::string deviceId, std::string weapiKey);

    // The target's way; a Chosen target takes `choice`.
    Reach reachAtStart(const ServiceChoice& choice);
    Reach reach(const ServiceChoice& choice);

private:
    Reach direct() const;
    // The demo on the companion that answers at the default origin, else on
    // one of the program's own.
    Reach demo();
    Reach selfHosted(const std::string& apiServer);

    const ServiceTarget target_;
    const std::string programFolder_;
    const std::string deviceId_;
    const std::string weapiKey_;
    std::unique_ptr<OwnCompanion> companion_;  // the one the program started, if any
};
