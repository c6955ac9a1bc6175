#pragma once
// Whether start-up hands the program over to the updater.
#include "maintenance/MaintenanceRequests.h"

#include <optional>
#include <string_view>

// True only when the configuration arrived while start-up waited for it
// (`config` is empty otherwise), its answer parsed as JSON, it announces a
// version, that version differs from `ownVersion` (compared exactly) and
// the user did not choose to skip it (`skippedVersion`). Anything else -
// offline, a garbage answer, the same version - lets the program start.
bool shouldHandOver(const std::optional<RemoteConfig>& config, std::string_view ownVersion,
                    std::string_view skippedVersion);
