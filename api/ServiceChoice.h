#pragma once
// The three ways the program reaches the service, which one the user chose
// (kept in the settings file), and what the environment decides before any
// choice: MIVRA_SERVICE_BASE and the other gateway variables point the
// gateway at fixed hosts, MIVRA_DIRECT_ORIGIN alone points the service's own
// web API at one local origin, and with neither the stored choice holds.
#include "api/ServiceHosts.h"

#include <string>

class AppSettings;

enum class ServiceWay {
    Direct,      // the service's own web API (网易云音乐)
    SelfHosted,  // a self-hosted API server behind the companion's relay (自建 API 服务)
    Demo,        // the companion's demo catalogue (演示曲库)
};

struct ServiceChoice {
    ServiceWay way = ServiceWay::Direct;
    std::string selfHostedUrl;  // the API server's origin, for SelfHosted

    bool operator==(const ServiceChoice&) const = default;

    // [Service] Way ("direct", "selfhosted", "demo") and Url; the service's
    // own web API when nothing (or nothing known) is stored.
    static ServiceChoice read(const AppSettings& settings);
    bool write(const AppSettings& settings) const;
};

// Where the program starts reaching the service.
struct ServiceTarget {
    enum class Kind {
        Gateway,  // fixed gateway hosts
        Direct,   // the service's own web API at `directOrigin` (empty: the service's own hosts)
        Chosen,   // as the stored choice says
    };
    Kind kind = Kind::Chosen;
    ServiceHosts hosts;  // Gateway
    std::string directOrigin;

    ServiceTarget() = default;
    // The gateway at fixed hosts.
    ServiceTarget(ServiceHosts gatewayHosts) : kind(Kind::Gateway), hosts(std::move(gatewayHosts)) {}

    static ServiceTarget fromEnvironment();
};
