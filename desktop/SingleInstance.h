#pragma once
// A second start of the program hands over to the first: when the media
// control name is already taken on the session bus, the program running
// under it is asked to raise its window.
#include <QDBusConnection>

// True when another instance answered and raised its window; false when
// none runs, or there is no session bus, or it did not answer in time.
bool raiseRunningInstance(const QDBusConnection& bus = QDBusConnection::sessionBus());
