#pragma once
// How the companion reads the service's own web API: which demo path answers
// each service URI, with which query values, and how that path's answer is
// put into the shape the service gives for the URI.
#include <httplib.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "server/ServerContext.h"
#include "server/json/JsonContext.h"

// An unwrapped request: the service URI ("/api/...") and its parameters.
struct WrappedRequest {
    std::string uri;
    Json params;

    // Nothing when `json` is not a JSON object.
    static std::optional<WrappedRequest> fromJson(std::string uri, const std::string& json);
    // The parameter as query text: a text as it is, a number or flag as JSON
    // writes it; empty when absent or null.
    std::string text(const std::string& name) const;
};

enum class AnswerShape {
    AsGiven,        // the demo's answer is the service's
    QrKey,          // the demo's "data" object is the service's answer
    QrLoginCookie,  // the demo's "cookie" text goes into Set-Cookie headers
    Registration,   // answered here: a visitor token for the device
};

struct DemoQuestion {
    std::string path;
    std::vector<std::pair<std::string, std::string>> query;
    AnswerShape shape = AnswerShape::AsGiven;

    bool answeredHere() const { return shape == AnswerShape::Registration; }
    // The path with its query values, percent-encoded.
    std::string target() const;
};

// The demo path that answers the request; nothing for a URI the demo does
// not know.
std::optional<DemoQuestion> demoQuestionOf(const WrappedRequest& request);

// The answers given here (the visitor registration).
void answerHere(const DemoQuestion& question, const httplib::Request& request, httplib::Response& response);

// The demo's answer in the service's shape.
void reshapeAnswer(const DemoQuestion& question, const httplib::Response& demo, httplib::Response& response);

// The text with its %XX escapes decoded.
std::string percentDecoded(const std::string& text);

// A Cookie header with its names and values percent-decoded, as the demo's
// handlers read cookies.
std::string plainCookie(const std::string& header);
