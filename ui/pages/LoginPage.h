#pragma once
// The QR login page (page 9): the view of the account's QR login, a QR code
// of the account host's login URL and what the polls of it found.
#include "api/CloudRecords.h"
#include "ui/pages/Navigation.h"
#include "ui/pages/Page.h"

class PictureBox;
class QLabel;

class LoginPage : public Page {
    Q_OBJECT
public:
    static constexpr int kQrSize = 256;

    explicit LoginPage(Navigation& navigation);

    // Shows the page and has the account start a QR login. A failed key or
    // URL shows no picture and starts no poll; a click on the QR box tries
    // again.
    void startQrLogin();
    void followAccount(Account& account) override;

    PictureBox* qrPicture() const { return qr_; }
    QLabel* status() const { return status_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPollResult(QrLoginState state);
    void onExpired();

    Navigation& navigation_;
    Account* account_ = nullptr;
    PictureBox* qr_;
    QLabel* status_;
};
