#include "api/ServiceChoice.h"

#include "base/AppSettings.h"

#include <cstdlib>

namespace {

constexpr const char* kSection = "Service";

const char* wayName(ServiceWay way) {
    switch (way) {
        case ServiceWay::Direct: return "direct";
        case ServiceWay::SelfHosted: return "selfhosted";
        case ServiceWay::Demo: return "demo";
    }
    return "direct";
}

bool environmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

}  // namespace

ServiceChoice ServiceChoice::read(const AppSettings& settings) {
    ServiceChoice choice;
    const std::string way = settings.read(kSection, "Way");
    if (way == "selfhosted") choice.way = ServiceWay::SelfHosted;
    if (way == "demo") choice.way = ServiceWay::Demo;
    choice.selfHostedUrl = settings.read(kSection, "Url");
    return choice;
}

bool ServiceChoice::write(const AppSettings& settings) const {
    return settings.write(kSection, "Way", wayName(way)) && settings.write(kSection, "Url", selfHostedUrl);
}

ServiceTarget ServiceTarget::fromEnvironment() {
    for (const char* name :
         {"MIVRA_SERVICE_BASE", "MIVRA_MAKER_ORIGIN", "MIVRA_ACCOUNT_ORIGIN", "MIVRA_QR_ORIGIN", "MIVRA_PLAYER_ORIGIN"})
        if (environmentSet(name)) return ServiceTarget(ServiceHosts::fromEnvironment());
    ServiceTarget target;
    if (environmentSet("MIVRA_DIRECT_ORIGIN")) {
        target.kind = Kind::Direct;
        target.directOrigin = std::getenv("MIVRA_DIRECT_ORIGIN");
    }
    return target;
}
