#pragma once
// The requests to the maker's API host that keep the program current: the
// remote configuration with its update log, the service cookie the song
// availability check needs, and the online heartbeat. Like the catalogue
// requests they never fail loudly: what did not arrive is the empty text.
//
// Where the service is reached through its own web API, there is no maker's
// host: the configuration is answered here (the program's own version, so
// never an update), with no update log, no service cookie and no heartbeat.
//
// The clock is fixed at construction; the hosts may be replaced while
// requests run (guarded by a mutex), so it is usable from any thread at once.
#include "api/RequestTimestamp.h"
#include "api/ServiceHosts.h"

#include <mutex>
#include <optional>
#include <string>

// What the maker announces at start-up.
struct RemoteConfig {
    bool answered = false;  // the configuration answer came and parsed as JSON
    std::string name;       // product name
    std::string version;    // the current version; differs from ours when an update exists
    std::string updateLogUrl;
    std::string updateLogText;  // the update-log answer as it came (JSON)
    std::string downloadUrl;    // the page where the newest version is downloaded
};

class MaintenanceRequests {
public:
    explicit MaintenanceRequests(ServiceHosts hosts, LocalClock clock = systemLocalMilliseconds);

    // Requests from now on go to `hosts`; none: they are answered here.
    void reachThrough(std::optional<ServiceHosts> hosts);

    // The configuration document, then the update log it names.
    RemoteConfig fetchRemoteConfig() const;
    // The cookie the song availability check sends, from a request signed
    // with the 10-digit timestamp.
    std::string fetchServiceCookie() const;
    // Tells the maker's host that this copy is online; the answer is ignored.
    void sendHeartbeat() const;

private:
    std::optional<ServiceHosts> hosts() const;

    const LocalClock clock_;
    mutable std::mutex mutex_;
    std::optional<ServiceHosts> hosts_;  // guarded by mutex_
};
