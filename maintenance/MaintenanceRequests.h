#pragma once
// The requests to the maker's API host that keep the program current: the
// remote configuration with its update log, the service cookie the song
// availability check needs, and the online heartbeat. Like the catalogue
// requests they never fail loudly: what did not arrive is the empty text.
//
// Holds only its hosts and clock, fixed at construction; usable from any
// thread at once.
#include "api/RequestTimestamp.h"
#include "api/ServiceHosts.h"

#include <string>

// What the maker announces at start-up.
struct RemoteConfig {
    bool answered = false;  // the configuration answer came and parsed as JSON
    std::string name;     // product name
    std::string version;  // the current version; differs from ours when an update exists
    std::string updateLogUrl;
    std::string updateLogText;  // the update-log answer as it came (JSON)
    std::string downloadUrl;    // the page where the newest version is downloaded
};

class MaintenanceRequests {
public:
    explicit MaintenanceRequests(ServiceHosts hosts, LocalClock clock = systemLocalMilliseconds);

    // The configuration document, then the update log it names.
    RemoteConfig fetchRemoteConfig() const;
    // The cookie the song availability check sends, from a request signed
    // with the 10-digit timestamp.
    std::string fetchServiceCookie() const;
    // Tells the maker's host that this copy is online; the answer is ignored.
    void sendHeartbeat() const;

private:
    const ServiceHosts hosts_;
    const LocalClock clock_;
};
