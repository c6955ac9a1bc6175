#pragma once
// The service's own web API as a transport: each request goes as a POST to
// the service's web host (weapi) or API host (eapi) in the wrapping the route
// table names, with the cookie and header fields an official client sends,
// and answers in the shapes the client reads. What the service answers in
// several steps (a playlist's tracks, the availability check, the QR login)
// is composed here; the QR login URL is made here and its picture is left
// to the login page, which draws it.
//
// A visitor session goes with every request that acts for nobody: the
// device id the caller keeps, and the visitor token the service gives that
// device on registration, asked for before the first such request. The
// account cookie of a request goes only to the two service origins.
#include "api/DirectRoutes.h"
#include "api/RequestRandomness.h"
#include "api/ServiceTransport.h"
#include "net/HttpClient.h"

#include <cstdint>
#include <mutex>
#include <string>

// Where the service's two hosts are.
struct DirectOrigins {
    std::string web;  // weapi requests, the Referer
    std::string api;  // eapi requests

    // https://music.163.com and https://interface.music.163.com.
    static DirectOrigins service();
    // Both hosts at one origin (a local stand-in of the service).
    static DirectOrigins allAt(const std::string& origin);
};

class DirectTransport : public ServiceTransport {
public:
    // `deviceId` is the visitor's device id, kept by the caller between
    // runs. A non-empty `weapiSecretKey` replaces the random weapi key, so a
    // local stand-in of the service can read the requests.
    DirectTransport(DirectOrigins origins, std::string deviceId,
                    RequestRandomness randomness = RequestRandomness::system(), std::string weapiSecretKey = {});

    ServiceAnswer send(const ServiceCall& call) const override;
    // Nothing: the login page draws the code itself.
    std::string qrPicture(const std::string& loginUrl) const override;

    // The exchange `request` makes acting with `accountCookie`, with the
    // visitor token `visitorToken` where no account acts.
    HttpRequest prepare(const DirectRequest& request, const std::string& accountCookie,
                        const std::string& visitorToken) const;

private:
    struct Exchange {
        ServiceAnswer answer;
        std::string setCookies;  // the cookies the answer set, attributes dropped
    };
    Exchange exchange(const DirectRequest& request, const std::string& accountCookie) const;
    ServiceAnswer playlistTracks(const ServiceCall& call) const;
    ServiceAnswer songUrl(const ServiceCall& call) const;
    // The visitor token, registering the device first when there is none.
    std::string visitorToken() const;

    const DirectOrigins origins_;
    const std::string deviceId_;
    const RequestRandomness randomness_;
    const std::string weapiSecretKey_;
    const std::string wnmcid_;  // one per run, as an official client has

    // Any thread; guarded by registrationMutex_, which is held while a
    // registration is under way so only one goes out.
    mutable std::mutex registrationMutex_;
    mutable std::string visitorToken_;
    mutable std::int64_t lastFailedRegistrationMs_ = 0;
};
