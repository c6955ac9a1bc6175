#pragma once
// A stand-in for the desktop portal on the test's private session bus: it
// owns the portal's name on a connection of its own and answers the
// GlobalShortcuts interface as a desktop does (the version property,
// CreateSession, BindShortcuts and Session.Close, each answered by a
// Response signal on the request's handle), taking every shortcut but those
// whose preferred trigger it is told are taken. It records what it was
// asked and emits Activated on demand.
//
// Threads: the test's (UI) thread; the bus hands it its calls there.
#include "desktop/PortalShortcut.h"

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <map>
#include <set>

class FakePortal : public QDBusVirtualObject {
public:
    // `version` 0: the portal has no GlobalShortcuts interface.
    explicit FakePortal(uint version);
    ~FakePortal() override;

    // Triggers another program holds: shortcuts preferring them are not taken.
    void takeTrigger(const QString& trigger) { taken_.insert(trigger); }
    // The shortcuts the last binding of `session` asked for, by id.
    const std::map<QString, QVariantMap>& boundIn(const QString& session) { return bound_[session]; }
    const QString& lastSession() const { return lastSession_; }
    const std::set<QString>& openSessions() const { return open_; }
    // The desktop saw the shortcut `shortcutId` of `session` pressed.
    void activate(const QString& session, const QString& shortcutId);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    // Replies to `call` with the handle of its request, then answers the
    // request with `results`.
    void respond(const QDBusMessage& call, const QVariantMap& options, const QVariantMap& results);
    static QString handleFor(const QDBusMessage& call, const QString& kind, const QString& token);

    QDBusConnection bus_;
    uint version_;
    std::set<QString> taken_;
    std::map<QString, std::map<QString, QVariantMap>> bound_;
    std::set<QString> open_;
    QString lastSession_;
};
