#pragma once
// The GET handlers of the demo's paths, registered on the server and kept by
// their path as well, so a request that arrives in another form (the
// service's own wrapped requests) can be answered by the same handler.
// Filled before the server starts; read-only afterwards, from any thread.
#include <httplib.h>

#include <map>
#include <string>

class RouteBook {
public:
    explicit RouteBook(httplib::Server& server) : server_(server) {}

    // Registers `handler` for `pattern` on the server and keeps it.
    RouteBook& Get(const std::string& pattern, httplib::Server::Handler handler);
    // The handler kept for exactly `path`; null when none is.
    const httplib::Server::Handler* find(const std::string& path) const;

private:
    httplib::Server& server_;
    std::map<std::string, httplib::Server::Handler> byPath_;
};
