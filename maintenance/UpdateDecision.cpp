#include "maintenance/UpdateDecision.h"

bool shouldHandOver(const std::optional<RemoteConfig>& config, std::string_view ownVersion,
                    std::string_view skippedVersion) {
    if (!config || !config->answered || config->version.empty()) return false;
    return config->version != ownVersion && config->version != skippedVersion;
}
