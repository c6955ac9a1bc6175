#include "server/ServerContext.h"

#include "server/HttpHelpers.h"

std::optional<Id> ServerContext::viewerOf(const httplib::Request& request) const {
    const std::string cookie = queryValue(request, "cookie").value_or(request.get_header_value("Cookie"));
    std::optional<Id> user = sessions.userOf(cookie);
    if (user && !catalogue.user(*user)) return std::nullopt;
    return user;
}

JsonContext ServerContext::jsonFor(const httplib::Request& request) const {
    return JsonContext{catalogue, requestOrigin(request, fallbackHostPort), viewerOf(request)};
}
