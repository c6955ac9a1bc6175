#pragma once
// The one transfer routine behind the three engines. An engine is a set of
// TransferSettings: what it sends besides the request's own fields (header
// lines, agent string, credentials), its time-outs, its body limit and whether
// it keeps connections. runTransfer does what every engine does alike: splits
// the URL, picks method and body, applies the proxy and the redirect choice,
// takes a session (from the engine's pool or a fresh one) and runs the
// exchange.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "net/CurlExchange.h"
#include "net/CurlSession.h"
#include "net/HttpClient.h"

struct TransferSettings {
    bool schemeOptional = false;           // a URL without "://" is taken as http
    bool bodyOnGet = true;                 // a GET sends the request's body when it has one
    std::vector<std::string> headerLines;  // "Name: value", in the order sent
    std::string userAgent;                 // a User-Agent line of its own, ahead of headerLines, when not empty
    CurlCredentials serverCredentials;     // Basic, used when the user is not empty
    CurlCredentials proxyCredentials;      // Basic, used when the user is not empty
    bool socksProxy = false;
    long connectTimeoutSeconds = 30;
    long idleTimeoutSeconds = 30;
    long totalTimeoutSeconds = 0;     // 0: no bound
    size_t bodyLimit = 0;             // the most body bytes taken
    CurlSessionPool* pool = nullptr;  // null: a session of its own, closed after the transfer
    // Where the body goes as it arrives and who hears of its progress (see CurlExchangeSpec).
    std::function<bool(std::string_view bytes)> bodySink;
    std::function<void(std::int64_t received, std::int64_t total)> progress;
};

// The bound of a whole exchange: the request's own, or the engine's.
inline long totalBoundOf(const HttpRequest& request, int engineBoundSeconds) {
    return request.totalTimeoutSeconds < 1 ? engineBoundSeconds : request.totalTimeoutSeconds;
}

// Runs `request` with `settings` on the calling thread. UrlRejected when the
// URL cannot be split.
CurlExchangeResult runTransfer(const HttpRequest& request, const TransferSettings& settings);
