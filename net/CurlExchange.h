#pragma once
// One HTTP/1.1 exchange on a libcurl session, sending exactly the request
// the caller describes: the request line, Host, Content-Length when a body
// goes out, the credentials asked for, and the given header lines in their
// order. libcurl adds nothing of its own (no Accept, Expect, Content-Type,
// cookies or compression) and decodes nothing but chunked transfer coding.
//
// Every exchange of the program goes through runCurlExchange. It speaks only
// http and https, redirects included; it gives up a body larger than the
// exchange's limit as soon as the limit is crossed; and it gives up the whole
// exchange when the task running it is asked to stop (TaskStop::current()).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "net/CurlSession.h"
#include "net/HttpUrl.h"

struct CurlCredentials {
    std::string user, password;  // bytes as they go into the Basic header
};

struct CurlExchangeSpec {
    HttpUrl url;
    std::string method = "GET";  // GET, POST, HEAD, PUT, ...
    std::string body;
    bool sendBody = false;                 // send `body` with a Content-Length, even when empty
    std::vector<std::string> headerLines;  // "Name: value", each without CR LF
    std::string userAgent;                 // a User-Agent line of its own when not empty
    std::string proxy;                     // "host:port"; empty: direct, whatever the environment says
    bool socksProxy = false;
    CurlCredentials serverCredentials;  // Basic, used when the user is not empty
    CurlCredentials proxyCredentials;   // Basic, used when the user is not empty
    long connectTimeoutSeconds = 30;    // resolving, connecting and the TLS handshake
    long idleTimeoutSeconds = 30;       // no data moving for this long ends the exchange
    long totalTimeoutSeconds = 0;       // the whole exchange may take this long; 0: no bound
    bool followRedirects = true;
    size_t bodyLimit = 32 * 1024 * 1024;  // the most body bytes taken; a longer body ends the exchange
    // When set, the body goes here piece by piece as it arrives instead of
    // into the result's `body` (`bodyLimit` still bounds its length). libcurl
    // hands over only the final answer's body, never that of a redirect it
    // follows. Returning false ends the exchange as BodyBroken.
    std::function<bool(std::string_view bytes)> bodySink;
    // With a body sink: told the final answer's head, status line to blank
    // line, just before its first body bytes go to the sink. An answer
    // without a body never calls it; its head is in the result.
    std::function<void(std::string_view head)> headSink;
    // When set, told the body bytes received so far and the total the answer
    // announced (0 while unknown) whenever libcurl reports progress: as data
    // moves, and about once a second while it waits.
    std::function<void(std::int64_t received, std::int64_t total)> progress;
};

// The request setting that libcurl refused, so the caller can name it.
enum class CurlSetupStep { Session, Timeouts, Credentials, Redirects, Headers };

struct CurlExchangeResult {
    enum class Outcome {
        Complete,      // the whole answer arrived
        SetupFailed,   // an option was refused (see failedStep); nothing was sent
        UrlRejected,   // libcurl could not use the URL
        NotSent,       // no connection, TLS failure or the request could not be written
        NoResponse,    // the request went out but no complete response head came back
        BodyBroken,    // the head arrived, the body was cut off (or the body sink refused it); `body` holds what came
        BodyTooLarge,  // the body grew past `bodyLimit`; reading stopped there, `body` is empty
        Stopped,       // the task running the exchange was asked to stop; nothing is kept
    };
    Outcome outcome = Outcome::NotSent;
    CurlSetupStep failedStep = CurlSetupStep::Session;
    std::string headers;  // the final response head, status line to blank line, as received
    std::string body;
    int statusCode = 0;
};

// Runs the exchange on `session`, which must be fresh or reset, on the
// calling thread. The head and body are those of the final response after
// any redirects followed. A redirect to a scheme other than http or https is
// not followed: the exchange ends as NotSent, the next request never having
// gone out. A stop request of the calling thread's task ends the exchange
// within moments, whatever it is waiting for; one made before the call sends
// nothing. The one wait a stop cannot cut short is a host name lookup under
// way: libcurl waits for its resolver thread when a transfer ends early, so
// that wait is bounded by the system resolver's own time-out (hosts given as
// addresses are not looked up).
CurlExchangeResult runCurlExchange(CurlSession& session, const CurlExchangeSpec& spec);
