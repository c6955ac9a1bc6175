#include "desktop/MprisRootAdaptor.h"

#include "desktop/MprisNames.h"

#include <QTimer>

MprisRootAdaptor::MprisRootAdaptor(QObject* parent, std::function<void()> raise, std::function<void()> quit)
    : QDBusAbstractAdaptor(parent), raise_(std::move(raise)), quit_(std::move(quit)) {}

QString MprisRootAdaptor::desktopEntry() const { return kDesktopEntryName; }

void MprisRootAdaptor::Raise() { raise_(); }

// The reply goes out before the program ends.
void MprisRootAdaptor::Quit() {
    QTimer::singleShot(0, this, [this] { quit_(); });
}
