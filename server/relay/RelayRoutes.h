#pragma once
// The relay's paths. The handlers keep a reference to the relay context,
// which outlives the server.
#include <httplib.h>

#include <functional>
#include <string>

#include "server/relay/RelayContext.h"

// The maker's song URL and service cookie, and the account host's QR login
// steps, answered from the upstream's routes in the shapes the program reads.
void addRelayMakerRoutes(httplib::Server& server, RelayContext& relay);
// Every path no other route answers goes to the upstream unchanged; one that
// could leave its origin is refused with 400. Registered last.
void addRelayForwarding(httplib::Server& server, RelayContext& relay, std::function<void(const std::string&)> say);
