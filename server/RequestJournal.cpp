#include "server/RequestJournal.h"

#include <strings.h>

std::string SeenRequest::header(const std::string& name) const {
    for (const auto& [key, value] : headers) {
        if (strcasecmp(key.c_str(), name.c_str()) == 0) return value;
    }
    return {};
}

void RequestJournal::record(const httplib::Request& request) {
    SeenRequest seen{request.method,
                     request.target,
                     {request.headers.begin(), request.headers.end()},
                     std::chrono::steady_clock::now()};
    std::lock_guard lock(mutex_);
    seen_.push_back(std::move(seen));
    if (seen_.size() > kCapacity) seen_.pop_front();
}

std::vector<SeenRequest> RequestJournal::all() const {
    std::lock_guard lock(mutex_);
    return {seen_.begin(), seen_.end()};
}

void RequestJournal::clear() {
    std::lock_guard lock(mutex_);
    seen_.clear();
}
