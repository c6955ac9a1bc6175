#pragma once
// The QR login page (page 9): a QR code of the account host's login URL and
// a poll every 3 seconds until the code has been scanned and confirmed. The
// requests run on tasks while the window keeps pumping events; a poll tick
// that arrives while a poll or a new code is under way is skipped.
#include "base/BackgroundTask.h"
#include "ui/pages/Navigation.h"
#include "ui/pages/Page.h"

#include <QTimer>
#include <string>

class PictureBox;
class QLabel;

class LoginPage : public Page {
    Q_OBJECT
public:
    static constexpr int kPollIntervalMs = 3000;
    static constexpr int kQrSize = 256;

    explicit LoginPage(Navigation& navigation);

    // Shows the page, fetches a new key, login URL and QR picture, and
    // starts polling. A failed key or URL shows no picture and starts no
    // poll; a click on the QR box tries again.
    void startQrLogin();
    // One poll of the current key; what the timer runs.
    void pollQrLogin();

    PictureBox* qrPicture() const { return qr_; }
    QLabel* status() const { return status_; }
    const QTimer& pollTimer() const { return pollTimer_; }
    const std::string& qrKey() const { return qrKey_; }

signals:
    // The code was confirmed; `cookie` is the account cookie, never empty.
    void loggedIn(const std::string& cookie);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onExpired();

    Navigation& navigation_;
    PictureBox* qr_;
    QLabel* status_;
    QTimer pollTimer_;
    std::string qrKey_;
    bool busy_ = false;  // a poll or a new code is under way
    // Last: its tasks end before anything they use is gone.
    TaskOwner tasks_;
};
