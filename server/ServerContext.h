#pragma once
// Everything a route needs, owned by the DemoServer and shared by the
// request threads (each member says how it may be shared).
#include <httplib.h>

#include <functional>
#include <string>

#include "server/ServerOptions.h"
#include "server/account/ListenerBook.h"
#include "server/account/OnlineCounter.h"
#include "server/account/QrLoginBook.h"
#include "server/account/SessionCookies.h"
#include "server/account/SubscriptionBook.h"
#include "server/catalogue/Catalogue.h"
#include "server/json/JsonContext.h"
#include "server/media/DrawnPictures.h"
#include "server/media/MediaLibrary.h"

struct ServerContext {
    const Catalogue& catalogue;       // read-only
    const ServerOptions& options;     // read-only
    MediaLibrary& media;              // locks itself
    DrawnPictures& pictures;          // locks itself
    QrLoginBook& qrLogins;            // locks itself
    const SessionCookies& sessions;   // read-only
    SubscriptionBook& subscriptions;  // locks itself
    OnlineCounter& online;            // locks itself
    ListenerBook& listeners;          // locks itself
    // Host and port to name in URLs when a request has no usable Host
    // header; set before the server accepts its first request.
    std::string fallbackHostPort;
    // Writes one line to the server's log (thread-safe).
    std::function<void(const std::string&)> say;

    // The user a request's cookie (query value "cookie", else the Cookie header) logs in.
    std::optional<Id> viewerOf(const httplib::Request& request) const;
    JsonContext jsonFor(const httplib::Request& request) const;
};
