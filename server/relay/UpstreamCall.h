#pragma once
// Exchanges with the upstream API server on the program's own HTTP layer:
// its body cap (the service engine's), no redirects followed (a redirect is
// passed back as it came, so the relay never lands on another host), and
// time-outs set by the relay's options.
#include <string>
#include <string_view>

#include "net/CurlExchange.h"
#include "net/HttpUrl.h"

struct UpstreamRequest {
    HttpUrl url;
    std::string method = "GET";
    std::string body;  // sent with its Content-Type when not empty
    std::string contentType;
    std::string cookie;  // the client's Cookie header, passed on when not empty
};

struct UpstreamAnswer {
    enum class Outcome {
        Answered,     // the whole answer arrived, whatever its status
        Unreachable,  // no connection to the upstream
        Silent,       // connected, but no whole answer in time (or it broke off)
        TooLarge,     // the body passed the cap
    };
    Outcome outcome = Outcome::Unreachable;
    int status = 0;
    std::string contentType;  // as the upstream named it; empty when it did not
    std::string body;
};

// The exchange for `request`: each phase (connecting, waiting for the
// answer, each pause in its body) may last `phaseSeconds`, the whole
// exchange half as long again.
CurlExchangeSpec upstreamExchange(const UpstreamRequest& request, int phaseSeconds);
// How an exchange that did not complete failed.
UpstreamAnswer::Outcome failureOf(CurlExchangeResult::Outcome outcome);
// The status and Content-Type (its name in any case) of a response head.
int statusOf(std::string_view head);
std::string contentTypeOf(std::string_view head);

// Runs the exchange and keeps the whole answer.
UpstreamAnswer callUpstream(const UpstreamRequest& request, int phaseSeconds);
