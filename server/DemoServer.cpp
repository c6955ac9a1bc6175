#include "server/DemoServer.h"

#include <httplib.h>

#include <iostream>
#include <mutex>
#include <thread>

#include "server/HttpHelpers.h"
#include "server/ServerContext.h"
#include "server/faults/FaultGate.h"
#include "server/relay/RelayRoutes.h"
#include "server/routes/Routes.h"

namespace {

std::string statusText(int status) {
    switch (status) {
        case 400: return "Bad Request";
        case 404: return "Not Found";
        case 416: return "Range Not Satisfiable";
        case 502: return "Bad Gateway";
        case 500: return "Internal Server Error";
        default: return "Error";
    }
}

}  // namespace

// Shared by the request threads: the members that change lock themselves
// (media, pictures, qrLogins, subscriptions, online, listeners, journal; the log under
// logMutex);
// the rest is read-only once start() has run. listener and port belong to
// the thread that calls start() and stop().
struct DemoServer::State {
    State(ServerOptions serverOptions, LogSink sink)
        : options(std::move(serverOptions)),
          log(std::move(sink)),
          media(options.cacheFolder),
          qrLogins(std::chrono::seconds(options.qrLifetimeSeconds)),
          sessions(SessionCookies::loadOrCreateSecret(options.cacheFolder / "session-secret")),
          context{demoCatalogue(), options, media,     pictures, qrLogins, sessions,
                  subscriptions,   online,  listeners, {},       {}} {
        context.say = [this](const std::string& line) { say(line); };
        if (!options.upstream.empty()) {
            relay = std::make_unique<RelayContext>(UpstreamOrigin::parse(options.upstream).value(),
                                                   options.upstreamTimeoutSeconds);
        }
    }

    void say(const std::string& line) {
        std::lock_guard lock(logMutex);
        if (log) {
            log(line);
        } else {
            std::cerr << line << std::endl;
        }
    }

    const ServerOptions options;
    const LogSink log;
    std::mutex logMutex;  // one log line at a time
    MediaLibrary media;
    DrawnPictures pictures;
    QrLoginBook qrLogins;
    const SessionCookies sessions;
    SubscriptionBook subscriptions;
    OnlineCounter online;
    ListenerBook listeners{demoCatalogue(), demoCatalogue().fmSongIds()};
    ServerContext context;
    RequestJournal journal;
    httplib::Server http;
    RouteBook routes{http};  // the demo's service paths by path
    std::thread listener;    // runs http's accept loop; joined by stop()
    int port = 0;            // set by start() before the listener starts
    // In front of http when faults are asked for; http then listens on a
    // loopback port of its own.
    std::unique_ptr<FaultGate> gate;
    std::unique_ptr<RelayContext> relay;  // relay mode only
};

DemoServer::DemoServer(ServerOptions options, LogSink log)
    : state_(std::make_unique<State>(std::move(options), std::move(log))) {
    State& state = *state_;
    httplib::Server& http = state.http;
    // Enough workers for the app's parallel page loaders and kept-alive picture connections.
    http.new_task_queue = [] { return new httplib::ThreadPool(32); };
    http.set_keep_alive_timeout(state.options.keepAliveSeconds);
    if (state.options.faultPlan().active()) {
        // One request per connection, so the gate decides on every request.
        http.set_keep_alive_max_count(1);
        state.gate = std::make_unique<FaultGate>(state.options.faultPlan(), [&state](const std::string& line) {
            if (state.options.logRequests) state.say(line);
        });
    }

    http.set_pre_routing_handler([&state](const httplib::Request& request, httplib::Response&) {
        state.journal.record(request);
        if (state.options.latencyMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(state.options.latencyMs));
        return httplib::Server::HandlerResponse::Unhandled;
    });
    http.set_logger([&state](const httplib::Request& request, const httplib::Response& response) {
        if (!state.options.logRequests) return;
        state.say(request.method + " " + request.target + " -> " + std::to_string(response.status));
    });
    http.set_exception_handler(
        [&state](const httplib::Request& request, httplib::Response& response, std::exception_ptr error) {
            std::string what = "unknown error";
            try {
                std::rethrow_exception(error);
            } catch (const std::exception& exception) {
                what = exception.what();
            } catch (...) {
            }
            state.say("error answering " + request.target + ": " + what);
            response.status = 500;
        });
    // Failures without a body of their own (unknown paths, missing files)
    // answer in the service's JSON form; a 416 stays empty.
    http.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty() && response.status != 416)
            replyJson(response, {{"code", response.status}, {"msg", statusText(response.status)}});
    });

    addMakerDocumentRoutes(http, state.context);
    if (state.relay) {
        addRelayMakerRoutes(http, *state.relay);
        addQrPictureRoute(http);
        addPlayerPageRoute(http);
        addRelayForwarding(http, *state.relay, state.context.say);
        return;
    }
    addSongRoutes(state.routes, state.context);
    addListenerRoutes(state.routes, state.context);
    addSearchRoutes(state.routes, state.context);
    addPlaylistRoutes(state.routes, state.context);
    addArtistRoutes(state.routes, state.context);
    addAlbumRoutes(state.routes, state.context);
    addHomeRoutes(state.routes, state.context);
    addAccountRoutes(state.routes, state.context);
    addMakerRoutes(state.routes, state.context);
    addMediaRoutes(http, state.context);
    addServiceProtocolRoutes(http, state.routes, state.context);
}

DemoServer::~DemoServer() { stop(); }

bool DemoServer::start() {
    State& state = *state_;
    if (state.listener.joinable()) return true;
    if (state.gate) {
        const int backendPort = state.http.bind_to_any_port("127.0.0.1");
        if (backendPort <= 0 || !state.gate->start(state.options.host, state.options.port, backendPort)) return false;
        state.port = state.gate->port();
    } else if (state.options.port == 0) {
        state.port = state.http.bind_to_any_port(state.options.host);
        if (state.port <= 0) return false;
    } else {
        if (!state.http.bind_to_port(state.options.host, state.options.port)) return false;
        state.port = state.options.port;
    }
    state.context.fallbackHostPort = state.options.host + ":" + std::to_string(state.port);
    state.listener = std::thread([&state] { state.http.listen_after_bind(); });
    return true;
}

void DemoServer::stop() {
    State& state = *state_;
    if (!state.listener.joinable()) return;
    if (state.gate) state.gate->stop();
    state.http.stop();
    state.listener.join();
}

int DemoServer::port() const { return state_->port; }

std::string DemoServer::origin() const {
    const std::string& host = state_->options.host;
    // A wildcard address is reached through the loopback address.
    const std::string reachable = host == "0.0.0.0" ? "127.0.0.1" : host == "::" ? "[::1]" : host;
    return "http://" + reachable + ":" + std::to_string(state_->port);
}

std::string DemoServer::baseUrl() const { return origin() + "/"; }

std::vector<SeenRequest> DemoServer::seenRequests() const { return state_->journal.all(); }

void DemoServer::clearSeenRequests() { state_->journal.clear(); }

MediaLibrary& DemoServer::media() { return state_->media; }

ServerOptions DemoServer::testOptions() {
    ServerOptions options;
    options.port = 0;
    // Clients keep their connections: a suite's server stops soon all the same.
    options.keepAliveSeconds = 1;
    // Shared by test runs, so the audio and video are made once per machine.
    options.cacheFolder = std::filesystem::temp_directory_path() / "mivra-server-test-cache";
    return options;
}
