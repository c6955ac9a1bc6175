#pragma once
// A QR login as the program tests take it, one step at a time: wait for the
// code, then poll and see what the poll found.
#include "browse/Account.h"

#include <QSignalSpy>
#include <QTest>

inline constexpr int kQrStepWaitMs = 20000;

inline bool waitForQrCode(const Account& account) {
    return QTest::qWaitFor([&] { return !account.qrKey().empty(); }, kQrStepWaitMs);
}

// One poll of the code; `NoAnswer` when none came in time.
inline QrLoginState pollQrOnce(Account& account) {
    QSignalSpy polled(&account, &Account::qrPolled);
    account.pollQrLogin();
    if (!polled.wait(kQrStepWaitMs)) return QrLoginState::NoAnswer;
    return polled.at(0).at(0).value<QrLoginState>();
}
