#pragma once
// The companion server in one object: the demo catalogue behind the service's
// and the maker's HTTP paths, served on a background thread; or, when the
// options name an upstream, the relay that answers those paths from that
// self-hosted API server. The executable runs one; tests start one on a free
// port and point the client at baseUrl().
//
//   ServerOptions options;
//   options.port = 0;                  // any free port
//   DemoServer server(options);
//   ASSERT_TRUE(server.start());
//   setenv("MIVRA_SERVICE_BASE", server.baseUrl().c_str(), 1);   // and the origins: server.origin()
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "server/RequestJournal.h"
#include "server/ServerOptions.h"

class MediaLibrary;

class DemoServer {
public:
    using LogSink = std::function<void(const std::string& line)>;

    // `log` receives the server's messages one line at a time (never two
    // at once); without one they go to standard error.
    explicit DemoServer(ServerOptions options = testOptions(), LogSink log = {});
    ~DemoServer();  // stops the server
    DemoServer(const DemoServer&) = delete;
    DemoServer& operator=(const DemoServer&) = delete;

    // Binds the address and starts answering on a background thread; false
    // when the address cannot be bound.
    bool start();
    void stop();

    int port() const;
    std::string origin() const;   // "http://<host>:<port>", the maker/account/QR/player origin
    std::string baseUrl() const;  // origin() + "/", the service API base

    // What the server saw so far, oldest first.
    std::vector<SeenRequest> seenRequests() const;
    void clearSeenRequests();

    // The generated audio and video; prepareAll() makes them ahead of use.
    MediaLibrary& media();

    // Defaults for tests: a free port, no latency, no request log.
    static ServerOptions testOptions();

private:
    struct State;
    std::unique_ptr<State> state_;
};
