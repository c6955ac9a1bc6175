#pragma once
// Music videos play in the user's browser. Asked for an MV, the flow has
// its address looked up, then shows the prompt that explains the browser
// will open, together with the MV host window; the prompt's "允许" opens the
// address, and whichever way the prompt goes, the host window goes with it.
// An MV without a usable address gets a notice instead. UI thread only.
#include "api/ServiceHosts.h"

#include <QObject>
#include <QPointer>
#include <optional>
#include <string>

class MvAddress;
class QWidget;

class MvPlayback : public QObject {
public:
    // `address` looks MVs up and must outlive the flow; `hosts` name the web
    // player page.
    MvPlayback(MvAddress& address, ServiceHosts hosts);
    ~MvPlayback() override;

    // Offers the MV's stream address itself.
    void play(const std::string& mvId);
    // Offers the web player page playing the MV's stream (the play bar's
    // way); the stream address itself where no web player host is known.
    void playInWebPlayer(const std::string& mvId);
    // The hosts whose web player page plays MVs from now on; none where the
    // service's own web API is reached (it has no such page).
    void setWebPlayerHosts(std::optional<ServiceHosts> hosts) { hosts_ = std::move(hosts); }

    // The address the prompt offers; each answer that arrives replaces it.
    const std::string& pendingMvUrl() const { return pendingMvUrl_; }
    // The open MV host window, or nullptr.
    QWidget* hostWindow() const { return host_.data(); }

private:
    void request(const std::string& mvId, bool throughWebPlayer);
    void offer(const std::string& streamUrl, bool throughWebPlayer);
    void openHostWindow();

    MvAddress& address_;
    std::optional<ServiceHosts> hosts_;
    std::string pendingMvUrl_;
    bool throughWebPlayer_ = false;  // the way the newest request asked for
    QPointer<QWidget> host_;
};
