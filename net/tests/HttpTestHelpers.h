#pragma once
// Shared pieces of the HTTP engine tests: the request head a scripted
// server received, and scripts for the answers the tests need.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedSocketServer.h"
#include "net/HttpClient.h"

// Every HTTP test starts libcurl the way the program does.
class HttpTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { HttpClient::globalInit(); }
};

// "127.0.0.1:<port>" of a server URL.
inline std::string hostOf(const std::string& url) {
    std::string rest = url.substr(url.find("://") + 3);
    return rest.substr(0, rest.find('/'));
}

// The request a server should have received: the request line, Host, the
// given lines, the blank line and the body.
inline std::string expectedRequest(const std::string& requestLine, const std::string& host,
                                   const std::vector<std::string>& lines, const std::string& body = "") {
    std::string request = requestLine + "\r\nHost: " + host + "\r\n";
    for (const std::string& line : lines) request += line + "\r\n";
    return request + "\r\n" + body;
}

// A complete answer with body "ok", after which the server closes.
inline std::vector<ScriptedSocketServer::Step> okScript() {
    return {{"HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"}};
}
