#include "app/ServiceConnection.h"

#include "api/DirectTransport.h"
#include "api/GatewayTransport.h"

#include <QUrl>

#include <cerrno>
#include <cstdlib>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// How long a companion already running at the default origin has to accept
// a connection before the program starts its own.
constexpr int kRunningCompanionProbeMs = 300;

// Whether something accepts connections at a loopback origin; another host
// is never probed.
bool answersAt(const std::string& origin) {
    const QUrl url(QString::fromStdString(origin));
    if (url.host() != "127.0.0.1") return false;
    const int socketFd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socketFd < 0) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(url.port(80)));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool connected = ::connect(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (!connected && errno == EINPROGRESS) {
        pollfd waiting{socketFd, POLLOUT, 0};
        int error = 0;
        socklen_t length = sizeof error;
        connected = ::poll(&waiting, 1, kRunningCompanionProbeMs) == 1 &&
                    ::getsockopt(socketFd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    }
    ::close(socketFd);
    return connected;
}

ServiceConnection::Reach gatewayAt(const ServiceHosts& hosts) {
    return {std::make_shared<GatewayTransport>(hosts), hosts};
}

// A gateway at fixed hosts or the demo: when its service base is on this
// machine, it is the companion server, and the pages can name it.
ServiceConnection::Reach companionAt(const ServiceHosts& hosts) {
    ServiceConnection::Reach reach = gatewayAt(hosts);
    const QUrl base(QString::fromStdString(hosts.serviceBase));
    const QString host = base.host();
    if (host == "127.0.0.1" || host == "localhost" || host == "::1")
        reach.localCompanion = base.adjusted(QUrl::RemovePath | QUrl::RemoveQuery).toString().toStdString();
    return reach;
}

}  // namespace

ServiceConnection::ServiceConnection(ServiceTarget target, std::string programFolder, std::string deviceId,
                                     std::string weapiKey)
    : target_(std::move(target)),
      programFolder_(std::move(programFolder)),
      deviceId_(std::move(deviceId)),
      weapiKey_(std::move(weapiKey)) {}

ServiceConnection::Reach ServiceConnection::reachAtStart(const ServiceChoice& choice) {
    switch (target_.kind) {
        case ServiceTarget::Kind::Gateway: return companionAt(target_.hosts);
        case ServiceTarget::Kind::Direct: return direct();
        case ServiceTarget::Kind::Chosen: break;
    }
    return reach(choice);
}

ServiceConnection::Reach ServiceConnection::reach(const ServiceChoice& choice) {
    switch (choice.way) {
        case ServiceWay::Direct: companion_.reset(); return direct();
        case ServiceWay::SelfHosted: return selfHosted(choice.selfHostedUrl);
        case ServiceWay::Demo: return demo();
    }
    return direct();
}

ServiceConnection::Reach ServiceConnection::direct() const {
    const char* variable = std::getenv("MIVRA_DIRECT_ORIGIN");
    const std::string origin = target_.kind == ServiceTarget::Kind::Direct ? target_.directOrigin
                               : variable                                  ? variable
                                                                           : "";
    const DirectOrigins origins = origin.empty() ? DirectOrigins::service() : DirectOrigins::allAt(origin);
    return {std::make_shared<DirectTransport>(origins, deviceId_, RequestRandomness::system(), weapiKey_),
            std::nullopt};
}

ServiceConnection::Reach ServiceConnection::demo() {
    companion_.reset();
    if (target_.kind == ServiceTarget::Kind::Gateway) return companionAt(target_.hosts);
    const ServiceHosts defaults = ServiceHosts::fromEnvironment();
    if (answersAt(defaults.makerOrigin)) return companionAt(defaults);
    companion_ = std::make_unique<OwnCompanion>(programFolder_, QStringList{});
    // Without a companion of its own the pages show their retry line.
    return companionAt(companion_->origin().empty() ? defaults : ServiceHosts::allAt(companion_->origin()));
}

ServiceConnection::Reach ServiceConnection::selfHosted(const std::string& apiServer) {
    companion_.reset();
    companion_ =
        std::make_unique<OwnCompanion>(programFolder_, QStringList{"--upstream", QString::fromStdString(apiServer)});
    return gatewayAt(companion_->origin().empty() ? ServiceHosts::fromEnvironment()
                                                  : ServiceHosts::allAt(companion_->origin()));
}
