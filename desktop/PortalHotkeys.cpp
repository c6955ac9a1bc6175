#include "desktop/PortalHotkeys.h"

#include "desktop/PortalShortcut.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace {

const QString kService = "org.freedesktop.portal.Desktop";
const QString kPath = "/org/freedesktop/portal/desktop";
const QString kShortcutsInterface = "org.freedesktop.portal.GlobalShortcuts";
const QString kRequestInterface = "org.freedesktop.portal.Request";
const QString kSessionInterface = "org.freedesktop.portal.Session";
const QString kShortcutIdPrefix = "mivra-shortcut-";
// The desktop may ask the user before it answers a binding; the call itself
// returns at once.
constexpr int kCallTimeoutMs = 10000;
constexpr uint kResponseSuccess = 0;
constexpr uint kResponseFailed = 2;

QString shortcutIdOf(int id) { return kShortcutIdPrefix + QString::number(id); }

std::optional<int> idOfShortcut(const QString& shortcutId) {
    if (!shortcutId.startsWith(kShortcutIdPrefix)) return std::nullopt;
    bool ok = false;
    const int id = shortcutId.mid(kShortcutIdPrefix.size()).toInt(&ok);
    return ok ? std::optional<int>(id) : std::nullopt;
}

// The handle in a Response's results: a text, as the interface says, or an
// object path, as some desktops send it.
QString handleIn(const QVariantMap& results, const QString& key) {
    const QVariant handle = results.value(key);
    if (handle.metaType() == QMetaType::fromType<QDBusObjectPath>()) return handle.value<QDBusObjectPath>().path();
    return handle.toString();
}

}  // namespace

PortalHotkeys::PortalHotkeys(QDBusConnection bus, QObject* parent) : QObject(parent), bus_(std::move(bus)) {
    registerPortalShortcutTypes();
    bus_.connect(QString(), kPath, kShortcutsInterface, "Activated", this, SLOT(onActivated(QDBusMessage)));
    checkVersion();
}

PortalHotkeys::~PortalHotkeys() {
    stopListening();
    bus_.disconnect(QString(), kPath, kShortcutsInterface, "Activated", this, SLOT(onActivated(QDBusMessage)));
    if (!session_.isEmpty())
        bus_.call(QDBusMessage::createMethodCall(kService, session_, kSessionInterface, "Close"), QDBus::NoBlock);
}

void PortalHotkeys::bind(int id, std::optional<std::string> trigger, const std::string& description) {
    wanted_[id] = {std::move(trigger), description};
    renewSession();
}

void PortalHotkeys::unbind(int id) {
    if (wanted_.erase(id) == 0) return;
    refused_.erase(id);
    renewSession();
}

// A desktop without the interface answers the property with an error; one
// with version 0 has none either.
void PortalHotkeys::checkVersion() {
    QDBusMessage get = QDBusMessage::createMethodCall(kService, kPath, "org.freedesktop.DBus.Properties", "Get");
    get << kShortcutsInterface << QString("version");
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(get, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *finished;
        const uint version = reply.isError() ? 0 : reply.value().variant().toUInt();
        if (version < 1) {
            setState(State::Unavailable);
            return;
        }
        setState(State::Ready);
        renewSession();
    });
}

void PortalHotkeys::setState(State state) {
    if (state_ == state) return;
    state_ = state;
    emit stateChanged();
}

void PortalHotkeys::renewSession() {
    if (state_ != State::Ready) return;
    if (awaiting_ != Awaiting::Nothing) {
        renewAgain_ = true;
        return;
    }
    renewAgain_ = false;
    if (!session_.isEmpty()) {
        bus_.call(QDBusMessage::createMethodCall(kService, session_, kSessionInterface, "Close"), QDBus::NoBlock);
        session_.clear();
    }
    if (wanted_.empty()) {
        refused_.clear();
        emit answered();
        return;
    }
    callWithRequest(Awaiting::Session, "CreateSession", {},
                    {{"session_handle_token", QString("mivra%1").arg(++tokenCount_)}});
}

void PortalHotkeys::bindWanted() {
    PortalShortcutList shortcuts;
    for (const auto& [id, wanted] : wanted_) {
        QVariantMap properties{{"description", QString::fromStdString(wanted.description)}};
        if (wanted.trigger) properties["preferred_trigger"] = QString::fromStdString(*wanted.trigger);
        shortcuts.push_back({shortcutIdOf(id), properties});
    }
    callWithRequest(Awaiting::Binding, "BindShortcuts",
                    {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts), QString()}, {});
}

void PortalHotkeys::onResponse(uint response, const QVariantMap& results) {
    const Awaiting answered = awaiting_;
    stopListening();
    if (answered == Awaiting::Session)
        onSessionMade(response == kResponseSuccess ? handleIn(results, "session_handle") : QString());
    else if (answered == Awaiting::Binding)
        onBound(response, results);
}

// Without a session the desktop gives no global hotkeys.
void PortalHotkeys::onSessionMade(const QString& session) {
    session_ = session;
    if (session_.isEmpty()) {
        setState(State::Unavailable);
        return;
    }
    // A change that came meanwhile is in the wanted shortcuts bound now.
    renewAgain_ = false;
    bindWanted();
}

// What the desktop did not list in its answer it did not take; a binding the
// user cancelled or that failed took nothing.
void PortalHotkeys::onBound(uint response, const QVariantMap& results) {
    refused_.clear();
    for (const auto& [id, wanted] : wanted_) refused_.insert(id);
    if (response == kResponseSuccess)
        for (const PortalShortcut& taken : qdbus_cast<PortalShortcutList>(results.value("shortcuts")))
            if (const std::optional<int> id = idOfShortcut(taken.id)) refused_.erase(*id);
    emit answered();
    if (renewAgain_) renewSession();
}

// Activated carries the session's handle, the shortcut's id, a timestamp
// and options.
void PortalHotkeys::onActivated(const QDBusMessage& signal) {
    const QList<QVariant> arguments = signal.arguments();
    const QString session = qdbus_cast<QDBusObjectPath>(arguments.value(0)).path();
    if (session_.isEmpty() || session != session_) return;
    if (const std::optional<int> id = idOfShortcut(arguments.value(1).toString()); id && wanted_.count(*id))
        emit activated(*id);
}

// The Response is listened for before the call goes out, at the handle the
// portal will use; an older portal that names another handle in its reply
// is followed there.
void PortalHotkeys::callWithRequest(Awaiting awaiting, const QString& method, QList<QVariant> arguments,
                                    QVariantMap options) {
    const QString token = QString("mivra%1").arg(++tokenCount_);
    options["handle_token"] = token;
    arguments.push_back(options);
    awaiting_ = awaiting;
    listenTo(requestPath(token));

    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kShortcutsInterface, method);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, expected = request_](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                if (request_ != expected) return;  // answered already
                if (reply.isError()) {
                    onResponse(kResponseFailed, {});
                } else if (reply.value().path() != expected) {
                    listenTo(reply.value().path());
                }
            });
}

void PortalHotkeys::listenTo(const QString& request) {
    if (!request_.isEmpty())
        bus_.disconnect(QString(), request_, kRequestInterface, "Response", this, SLOT(onResponse(uint, QVariantMap)));
    request_ = request;
    bus_.connect(QString(), request_, kRequestInterface, "Response", this, SLOT(onResponse(uint, QVariantMap)));
}

void PortalHotkeys::stopListening() {
    if (!request_.isEmpty())
        bus_.disconnect(QString(), request_, kRequestInterface, "Response", this, SLOT(onResponse(uint, QVariantMap)));
    request_.clear();
    awaiting_ = Awaiting::Nothing;
}

QString PortalHotkeys::requestPath(const QString& token) const {
    QString sender = bus_.baseService().mid(1);  // ":1.42" is "1_42" in the path
    sender.replace('.', '_');
    return kPath + "/request/" + sender + "/" + token;
}
