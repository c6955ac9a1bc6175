#pragma once
// A fixture that starts the companion server on a free port and talks to it
// with a plain HTTP client, plus helpers the server tests share.
#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "server/DemoServer.h"
#include "server/json/JsonContext.h"

// Test options: a free port and the build tree's media cache.
ServerOptions testServerOptions();

class ServerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The options the server starts with; tests may change them before SetUp.
    ServerOptions options = testServerOptions();

    // GET `target` (path and query, sent exactly as written).
    httplib::Result get(const std::string& target, const httplib::Headers& headers = {});
    // GET `target`, expect 200 and a JSON body, and parse it.
    Json getJson(const std::string& target);
    // The lines the server logged so far.
    std::vector<std::string> logLines();

    std::unique_ptr<DemoServer> server;
    std::unique_ptr<httplib::Client> client;

private:
    std::mutex logMutex_;
    std::vector<std::string> log_;
};

// Percent-encodes every byte except the unreserved ones.
std::string encodeQueryValue(const std::string& text);

// Width and height of PNG or JPEG bytes; {0, 0} when they are neither.
std::pair<int, int> pictureDimensions(const std::string& bytes);
