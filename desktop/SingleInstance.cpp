#include "desktop/SingleInstance.h"

#include "desktop/MprisNames.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace {

constexpr int kRaiseTimeoutMs = 5000;

}  // namespace

bool raiseRunningInstance(const QDBusConnection& bus) {
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kMprisService)) return false;
    const QDBusMessage raise = QDBusMessage::createMethodCall(kMprisService, kMprisPath, kMprisRootInterface, "Raise");
    return bus.call(raise, QDBus::Block, kRaiseTimeoutMs).type() == QDBusMessage::ReplyMessage;
}
