#pragma once
// Global hotkeys on a Wayland desktop, through the freedesktop.org desktop
// portal's GlobalShortcuts interface on the session bus: its version is
// checked first (a desktop without the interface has no global hotkeys for
// us), then a session is created and every wanted shortcut bound in it at
// once, each with its description and preferred trigger; the desktop may
// ask the user and answers with the shortcuts it took. The others are
// refused, and reported. A change of the wanted shortcuts binds them all
// again in a new session, the old one closed. Every call to the portal is
// asynchronous; its answers arrive as Request::Response signals.
//
// Threads: the UI thread's; all fields are its, and the bus delivers the
// portal's answers and signals on it.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <map>
#include <optional>
#include <set>
#include <string>

class PortalHotkeys : public QObject {
    Q_OBJECT
public:
    enum class State {
        Checking,     // the portal's version has not answered yet
        Ready,        // a session stands (or is being made): shortcuts are bound
        Unavailable,  // no portal, no GlobalShortcuts interface, or no session
    };

    explicit PortalHotkeys(QDBusConnection bus, QObject* parent = nullptr);
    ~PortalHotkeys() override;

    State state() const { return state_; }

    // Wants `id` bound to `trigger` (the portal's form, see
    // KeyChord::xdgTrigger; none lets the desktop choose), described to the
    // user by `description`; all wanted shortcuts are bound again.
    void bind(int id, std::optional<std::string> trigger, const std::string& description);
    void unbind(int id);
    // The wanted shortcuts the desktop did not take in its last answer.
    const std::set<int>& refused() const { return refused_; }

signals:
    void stateChanged();
    // The desktop answered a binding: refused() is up to date.
    void answered();
    void activated(int id);

private slots:
    // The Response of the request awaited.
    void onResponse(uint response, const QVariantMap& results);
    void onActivated(const QDBusMessage& signal);

private:
    struct Wanted {
        std::optional<std::string> trigger;
        std::string description;
    };
    enum class Awaiting { Nothing, Session, Binding };

    void checkVersion();
    void setState(State state);
    // Closes the session standing (if any) and makes a new one, which binds
    // the wanted shortcuts once the desktop has made it.
    void renewSession();
    void bindWanted();
    void onSessionMade(const QString& session);
    void onBound(uint response, const QVariantMap& results);
    // Calls `method` with `arguments` and `options` (to which the request's
    // handle token is added) and listens for the Response of its request.
    void callWithRequest(Awaiting awaiting, const QString& method, QList<QVariant> arguments, QVariantMap options);
    void listenTo(const QString& request);
    void stopListening();
    // Where the portal puts the request made with `token`.
    QString requestPath(const QString& token) const;

    QDBusConnection bus_;
    State state_ = State::Checking;
    std::map<int, Wanted> wanted_;
    std::set<int> refused_;
    QString session_;  // the session's handle; empty while none stands
    Awaiting awaiting_ = Awaiting::Nothing;
    QString request_;          // the request whose Response is awaited
    bool renewAgain_ = false;  // the wanted shortcuts changed while a request was awaited
    unsigned tokenCount_ = 0;
};
