#pragma once
// Blocking HTTP(S) exchanges on libcurl. One call is one complete exchange;
// safe to call from several threads at once. Failures never throw.
// Certificates are verified against the system's authorities, plus those in
// the PEM file named by the environment variable MIVRA_CA_FILE when it is set.
//
// The three engines are one transfer routine with different settings (header
// rules, user agent, time-outs, connection reuse, body limit), named by what
// the program fetches with them. All of them:
// - speak only http and https, on redirects too;
// - fail when the answer's body is larger than their limit, reading no
//   further than the limit;
// - fail at once, sending nothing more, when the task running the call is
//   asked to stop (see base/TaskStop.h), whatever the transfer is waiting
//   for, but for a host name lookup under way (see runCurlExchange).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

enum HttpMethod { kGet = 0, kPost = 1, kHead = 2, kPut = 3, kOptions = 4, kDelete = 5, kTrace = 6, kConnect = 7 };

// What every engine takes. Engine-specific fields are in the engine's options.
struct HttpRequest {
    std::string url;
    int method = kGet;     // HttpMethod code; anything else sends GET
    std::string bodyText;  // sent when bodyBytes is empty
    std::string bodyBytes;
    std::string cookies;       // "a=1; b=2", or a text already holding "Cookie:"
    std::string extraHeaders;  // lines joined by CR LF
    bool noRedirect = false;
    std::string proxy;                     // "host:port"; empty: direct
    std::string proxyUser, proxyPassword;  // Basic credentials for the proxy (lyric engine: unused)
    int timeoutSeconds = 0;                // per phase; below 1 means the engine's default
                                           // (lyric engine: unused, its limits are fixed)
    // The whole exchange, however lively each phase (a server sending one
    // byte a second); below 1 means the engine's bound (kServiceTotalSeconds,
    // kPictureTotalSeconds). Downloads have none: a stream may last an hour.
    int totalTimeoutSeconds = 0;
    bool mergeReceivedCookies = true;
    bool addDefaultHeaders = true;
    bool normalizeHeaders = true;
};

struct HttpResponse {
    std::string bodyText;   // the body up to its first zero byte, as UTF-8 (service engine)
    std::string bodyBytes;  // the body exactly as received
    std::string headers;    // raw header block of the final response
    std::string status;     // "200 OK", or a numbered failure message (service engine)
    int statusCode = 0;     // numeric status (picture engine)
    std::string cookies;    // collected Set-Cookie values, merged
    std::string location;   // the Location header, if any (service engine)
};

// Options only the service engine has.
struct ServiceOptions {
    std::string user, password;  // Basic credentials for the server, used when both are given
};

// Options only the picture engine has.
struct PictureOptions {
    bool cookiesSupplied = false;     // an empty `cookies` still counts as a cookie text given
    bool credentialsForProxy = true;  // proxyUser/proxyPassword are for the proxy, else for the server
    bool platformTimeouts = false;    // ignore timeoutSeconds: 60 s to connect, 30 s of silence
};

// Options only the lyric engine has.
struct LyricOptions {
    bool cookiesSupplied = false;  // an empty `cookies` still counts as a cookie text given
    bool socksProxy = false;       // `proxy` is a SOCKS proxy
};

// What the download engine does with a body while it arrives.
struct DownloadReceiver {
    // Takes the body's next bytes, in order; false when they could not be
    // kept, which ends the download.
    std::function<bool(std::string_view bytes)> write;
    // Body bytes received so far and the total the answer announced (0 while
    // unknown); called on the downloading thread, often, so it must be quick.
    std::function<void(std::int64_t received, std::int64_t total)> progress;
};

namespace HttpClient {

// How long a whole exchange may take, unless the request says otherwise:
// service answers (the service and lyric engines), and pictures.
inline constexpr int kServiceTotalSeconds = 45;
inline constexpr int kPictureTotalSeconds = 30;

// The most body bytes each engine takes; a longer body fails the call. The
// bodies of all transfers together also share one budget (BodyBudget).
inline constexpr size_t kServiceBodyLimit = 16 * 1024 * 1024;
inline constexpr size_t kPictureBodyLimit = 16 * 1024 * 1024;
inline constexpr size_t kLyricBodyLimit = 16 * 1024 * 1024;
inline constexpr size_t kDownloadBodyLimit = size_t(2) * 1024 * 1024 * 1024;

// Once at program start, before any other thread exists: starts libcurl
// and has large memory blocks handed back to the system when freed.
void globalInit();

// The service engine: JSON answers, account, configuration, heartbeat. Fills
// everything but statusCode; a failure leaves only `status`, holding a
// numbered message. A body broken off keeps what arrived under its status line.
HttpResponse fetchService(const HttpRequest& request, const ServiceOptions& options = {});

// The picture engine: bytes out, no failure messages, connections kept for
// the next picture. Fills bodyBytes, headers, statusCode and cookies; any
// failure, a body broken off included, leaves them empty but for cookies.
HttpResponse fetchPicture(const HttpRequest& request, const PictureOptions& options = {});

// The lyric engine: bytes out, no failure messages. Fills bodyBytes, headers
// and cookies; a body broken off keeps what arrived, any other failure
// leaves them empty but for cookies.
HttpResponse fetchLyric(const HttpRequest& request, const LyricOptions& options = {});

// The download engine: a GET of `url` whose body, of any length up to its
// limit, goes to `receiver` as it arrives and is not kept. It sends only
// Accept and the platform's agent string, follows http(s) redirects, and
// gives up after 30 seconds without data. Fills headers and statusCode once
// the whole body has been handed over; any failure (no answer, a body broken
// off, a write refused, a stop request) leaves them empty and 0.
HttpResponse download(const std::string& url, const DownloadReceiver& receiver);

}  // namespace HttpClient
