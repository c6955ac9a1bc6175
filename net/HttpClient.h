#pragma once
// Blocking HTTP(S) exchanges on libcurl. One call is one complete exchange;
// safe to call from several threads at once. Failures never throw.
// Certificates are verified against the system's authorities, plus those in
// the PEM file named by the environment variable MIVRA_CA_FILE when it is set.
#include <string>

enum HttpMethod { kGet = 0, kPost = 1, kHead = 2, kPut = 3, kOptions = 4, kDelete = 5, kTrace = 6, kConnect = 7 };

struct HttpRequest {
    std::string url;
    int method = kGet;          // HttpMethod code; anything else sends GET
    std::string bodyText;       // sent when bodyBytes is empty
    std::string bodyBytes;
    std::string cookies;        // "a=1; b=2", or a text already holding "Cookie:"
    std::string extraHeaders;   // lines joined by CR LF
    bool noRedirect = false;
    std::string user, password;             // Basic credentials for the server
    std::string proxy;                      // "host:port"; empty: direct
    std::string proxyUser, proxyPassword;   // Basic credentials for the proxy
    int timeoutSeconds = 0;                 // per phase; below 1 means the engine's default
                                            // (picture engine: -1 means the platform's own)
    bool mergeReceivedCookies = true;
    bool addDefaultHeaders = true;
    bool normalizeHeaders = true;

    // Secondary engines only.
    bool cookiesSupplied = false;    // an empty `cookies` still counts as a cookie text given
    bool credentialsForProxy = true; // picture engine: proxyUser/proxyPassword are for the proxy, else the server
    bool socksProxy = false;         // lyric engine: `proxy` is a SOCKS proxy
};

struct HttpResponse {
    std::string bodyText;   // the body up to its first zero byte, as UTF-8
    std::string bodyBytes;  // the body exactly as received
    std::string headers;    // raw header block of the final response
    std::string status;     // "200 OK", or a numbered failure message
    int statusCode = 0;     // numeric status (picture engine)
    std::string cookies;    // collected Set-Cookie values, merged
    std::string location;   // the Location header, if any
};

namespace HttpClient {

// Once at program start, before any other thread exists.
void globalInit();

// The main engine: JSON answers, account, configuration, heartbeat.
HttpResponse execute(const HttpRequest& request);

// The picture engine: bytes out, no failure messages, reused connections.
HttpResponse executeWithRequestObject(const HttpRequest& request);

// The lyric engine: bytes out, no failure messages.
HttpResponse executeWithWinInet(const HttpRequest& request);

}  // namespace HttpClient
