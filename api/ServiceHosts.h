#pragma once
// Where the client sends its requests: the service API base and the origins
// of the maker's API, account, QR-image and web player hosts. Read once at
// start from the environment, so the program (and every test) can be pointed
// at any server; the build-time defaults name the local companion server.
#include <string>

struct ServiceHosts {
    std::string serviceBase;  // URL ending in "/", e.g. "http://127.0.0.1:38580/"
    std::string makerOrigin;  // scheme + host + port, no trailing "/"
    std::string accountOrigin;
    std::string qrOrigin;
    std::string playerOrigin;

    // The service base without its trailing "/", for paths written with a
    // leading "/".
    std::string serviceBaseNoSlash() const;

    // The web player page that plays the MV stream at `streamUrl`: the
    // stream URL goes into its "url" value as it is, except that every
    // "&wsTime" becomes "%26wsTime".
    std::string webPlayerUrl(const std::string& streamUrl) const;

    // Every host pointing at the same server: `origin` is scheme + host + port.
    static ServiceHosts allAt(const std::string& origin);

    // The build-time defaults, each replaced by its environment variable
    // (MIVRA_SERVICE_BASE, MIVRA_MAKER_ORIGIN, MIVRA_ACCOUNT_ORIGIN,
    // MIVRA_QR_ORIGIN, MIVRA_PLAYER_ORIGIN) when that is set and not empty.
    // The base gets its "/" and the origins lose theirs if written otherwise.
    static ServiceHosts fromEnvironment();
};
