#include "FakePortal.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace {

const QString kService = "org.freedesktop.portal.Desktop";
const QString kPath = "/org/freedesktop/portal/desktop";
const QString kShortcuts = "org.freedesktop.portal.GlobalShortcuts";

}  // namespace

FakePortal::FakePortal(uint version)
    : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fake-portal")), version_(version) {
    registerPortalShortcutTypes();
    bus_.registerService(kService);
    bus_.registerVirtualObject(kPath, this, QDBusConnection::SubPath);
}

FakePortal::~FakePortal() {
    bus_.unregisterObject(kPath, QDBusConnection::UnregisterTree);
    bus_.unregisterService(kService);
    QDBusConnection::disconnectFromBus("fake-portal");
}

void FakePortal::activate(const QString& session, const QString& shortcutId) {
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kShortcuts, "Activated");
    signal << QVariant::fromValue(QDBusObjectPath(session)) << shortcutId << qulonglong(1) << QVariantMap();
    bus_.send(signal);
}

QString FakePortal::introspect(const QString&) const { return {}; }

bool FakePortal::handleMessage(const QDBusMessage& message, const QDBusConnection&) {
    const QList<QVariant> arguments = message.arguments();
    const QString member = message.member();
    if (message.interface() == "org.freedesktop.DBus.Properties" && member == "Get") {
        if (version_ == 0 || arguments.value(0).toString() != kShortcuts)
            bus_.send(message.createErrorReply(QDBusError::UnknownInterface, "no such interface"));
        else
            bus_.send(message.createReply(QVariant::fromValue(QDBusVariant(version_))));
        return true;
    }
    if (message.interface() == "org.freedesktop.portal.Session" && member == "Close") {
        open_.erase(message.path());
        bus_.send(message.createReply());
        return true;
    }
    if (message.interface() != kShortcuts || version_ == 0) return false;
    if (member == "CreateSession") {
        const QVariantMap options = qdbus_cast<QVariantMap>(arguments.value(0));
        lastSession_ = handleFor(message, "session", options.value("session_handle_token").toString());
        open_.insert(lastSession_);
        respond(message, options, {{"session_handle", lastSession_}});
        return true;
    }
    if (member == "BindShortcuts") {
        const QString session = qdbus_cast<QDBusObjectPath>(arguments.value(0)).path();
        std::map<QString, QVariantMap>& bound = bound_[session];
        bound.clear();
        PortalShortcutList taken;
        for (const PortalShortcut& shortcut : qdbus_cast<PortalShortcutList>(arguments.value(1))) {
            bound[shortcut.id] = shortcut.properties;
            const QString trigger = shortcut.properties.value("preferred_trigger").toString();
            if (!taken_.count(trigger)) taken.push_back({shortcut.id, {{"trigger_description", trigger}}});
        }
        respond(message, qdbus_cast<QVariantMap>(arguments.value(3)), {{"shortcuts", QVariant::fromValue(taken)}});
        return true;
    }
    return false;
}

void FakePortal::respond(const QDBusMessage& call, const QVariantMap& options, const QVariantMap& results) {
    const QString request = handleFor(call, "request", options.value("handle_token").toString());
    bus_.send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    QDBusMessage response = QDBusMessage::createSignal(request, "org.freedesktop.portal.Request", "Response");
    response << uint(0) << results;
    bus_.send(response);
}

QString FakePortal::handleFor(const QDBusMessage& call, const QString& kind, const QString& token) {
    QString sender = call.service().mid(1);
    sender.replace('.', '_');
    return kPath + "/" + kind + "/" + sender + "/" + token;
}
