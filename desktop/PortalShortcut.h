#pragma once
// One shortcut as the desktop portal's GlobalShortcuts interface passes it
// on the bus: its id and a dictionary of its properties ("description",
// "preferred_trigger" when binding; "trigger_description" in answers), the
// D-Bus type (sa{sv}), a list of them a(sa{sv}).
#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

struct PortalShortcut {
    QString id;
    QVariantMap properties;
};
using PortalShortcutList = QList<PortalShortcut>;

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

// Makes the types known to Qt D-Bus (once is enough; more do no harm).
void registerPortalShortcutTypes();

Q_DECLARE_METATYPE(PortalShortcut)
