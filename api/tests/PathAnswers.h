#pragma once
// Helpers around the shared recording server for the client tests: canned
// answers chosen by request path, and the origin of a server that is gone.
#include "RecordingServer.h"

#include <map>
#include <string>

// Answers each path (the target before its "?") with its body as UTF-8 JSON,
// any other path with an empty 404.
inline RecordingServer::Handler answerByPath(std::map<std::string, std::string> answers) {
    return [answers = std::move(answers)](const RecordedRequest& request) {
        CannedReply reply;
        const auto found = answers.find(request.target.substr(0, request.target.find('?')));
        if (found == answers.end()) {
            reply.status = 404;
            reply.body.clear();
            return reply;
        }
        reply.body = found->second;
        reply.contentType = "application/json; charset=utf-8";
        return reply;
    };
}

// "http://127.0.0.1:<port>" of a server that has stopped: connections are refused.
inline std::string closedOrigin() {
    RecordingServer server;
    std::string origin = server.url("");
    return origin;
}

// How many times the request carried the header (names compared without case).
inline size_t headerCount(const RecordedRequest& request, const std::string& name) {
    size_t count = 0;
    for (const auto& [key, value] : request.headers)
        if (key.size() == name.size() &&
            std::equal(key.begin(), key.end(), name.begin(),
                       [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); }))
            ++count;
    return count;
}
