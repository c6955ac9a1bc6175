#pragma once
// Offers the player to the desktop's media controls (panel applets, media
// keys) as an MPRIS service on the session bus, and tells them of every
// change the player makes. Without a session bus, or with the name taken,
// it offers nothing and the program runs on. UI thread only.
#include "desktop/CoverFile.h"

#include <QDBusConnection>
#include <QObject>
#include <functional>

class MprisPlayerAdaptor;
class Player;

class MprisService : public QObject {
    Q_OBJECT
public:
    struct Window {
        std::function<void()> raise;  // shows the main window in front
        std::function<void()> quit;   // ends the program
    };

    // `player` must outlive this object; covers are kept in `coverFolder`.
    MprisService(Player& player, Window window, const QString& coverFolder,
                 QDBusConnection bus = QDBusConnection::sessionBus());
    ~MprisService() override;

    // The service name is ours and the object answers on it.
    bool isRegistered() const { return registered_; }

private:
    void follow(Player& player);
    // Sends the current values of the player interface's `properties`.
    void announce(const QStringList& properties);

    QDBusConnection bus_;
    MprisPlayerAdaptor* playerAdaptor_;
    CoverFile cover_;
    bool registered_ = false;
};
