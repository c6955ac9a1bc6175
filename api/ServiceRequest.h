#pragma once
// The two ways the service and maker requests use the service HTTP engine: with
// the engine's own default headers, or with the browser identity as the
// User-Agent. Every request is a GET without a body or cookie header.
#include "api/ServiceStatus.h"
#include "data/JsonDocument.h"
#include "net/HttpClient.h"

#include <string>
#include <string_view>

// The browser identity sent as User-Agent where a request asks for it.
inline constexpr const char* kBrowserUserAgent =
    "Mozilla/5.0 (Windows NT 6.1; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/50.0.2661.87 Safari/537.36";

enum class RequestHeaders {
    EngineDefaults,  // only the URL goes to the engine
    BrowserAgent,    // a header block holding the browser User-Agent
};

// A GET request for the URL. Values are inserted into URLs unchanged, but a
// URL cannot carry spaces or control characters (account cookies hold
// spaces), so those bytes go on the wire percent-encoded; the server decodes
// them back to the same text.
HttpRequest makeGetRequest(std::string_view url);

// The answer of one GET: the service engine's response, whose body is the
// text form (bodyText) or, with the browser agent, the bytes (bodyBytes).
HttpResponse fetchResponse(const std::string& url, RequestHeaders headers);

// The answer body of one GET; empty when the exchange failed.
std::string fetchAnswer(const std::string& url, RequestHeaders headers);

// The answer body parsed as JSON; every read is empty when the exchange
// failed or the body is not JSON. `status`, when given, receives whether the
// request got a readable answer (judgeServiceAnswer).
JsonDocument fetchJson(const std::string& url, RequestHeaders headers, ServiceStatus* status = nullptr);
