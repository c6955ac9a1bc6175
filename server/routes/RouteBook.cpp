#include "server/routes/RouteBook.h"

RouteBook& RouteBook::Get(const std::string& pattern, httplib::Server::Handler handler) {
    server_.Get(pattern, handler);
    byPath_[pattern] = std::move(handler);
    return *this;
}

const httplib::Server::Handler* RouteBook::find(const std::string& path) const {
    const auto found = byPath_.find(path);
    return found == byPath_.end() ? nullptr : &found->second;
}
