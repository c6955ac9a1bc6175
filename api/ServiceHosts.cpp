#include "api/ServiceHosts.h"

#include <cstdlib>

// The build passes the defaults in as MIVRA_DEFAULT_* definitions.
#ifndef MIVRA_DEFAULT_SERVICE_BASE
#error "MIVRA_DEFAULT_SERVICE_BASE must be defined by the build"
#endif

namespace {

std::string environmentOr(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return (value && *value) ? value : fallback;
}

std::string withTrailingSlash(std::string url) {
    if (url.empty() || url.back() != '/') url += '/';
    return url;
}

std::string withoutTrailingSlashes(std::string origin) {
    while (!origin.empty() && origin.back() == '/') origin.pop_back();
    return origin;
}

}  // namespace

std::string ServiceHosts::webPlayerUrl(const std::string& streamUrl) const {
    static const std::string kTimeKey = "&wsTime";
    std::string escaped;
    std::size_t from = 0;
    for (std::size_t at = streamUrl.find(kTimeKey); at != std::string::npos; at = streamUrl.find(kTimeKey, from)) {
        escaped.append(streamUrl, from, at - from).append("%26wsTime");
        from = at + kTimeKey.size();
    }
    escaped.append(streamUrl, from);
    return playerOrigin + "/player/?url=" + escaped;
}

std::string ServiceHosts::serviceBaseNoSlash() const {
    return serviceBase.empty() ? serviceBase : serviceBase.substr(0, serviceBase.size() - 1);
}

ServiceHosts ServiceHosts::allAt(const std::string& origin) {
    const std::string bare = withoutTrailingSlashes(origin);
    return ServiceHosts{bare + "/", bare, bare, bare, bare};
}

ServiceHosts ServiceHosts::fromEnvironment() {
    ServiceHosts hosts;
    hosts.serviceBase = withTrailingSlash(environmentOr("MIVRA_SERVICE_BASE", MIVRA_DEFAULT_SERVICE_BASE));
    hosts.makerOrigin = withoutTrailingSlashes(environmentOr("MIVRA_MAKER_ORIGIN", MIVRA_DEFAULT_MAKER_ORIGIN));
    hosts.accountOrigin = withoutTrailingSlashes(environmentOr("MIVRA_ACCOUNT_ORIGIN", MIVRA_DEFAULT_ACCOUNT_ORIGIN));
    hosts.qrOrigin = withoutTrailingSlashes(environmentOr("MIVRA_QR_ORIGIN", MIVRA_DEFAULT_QR_ORIGIN));
    hosts.playerOrigin = withoutTrailingSlashes(environmentOr("MIVRA_PLAYER_ORIGIN", MIVRA_DEFAULT_PLAYER_ORIGIN));
    return hosts;
}
