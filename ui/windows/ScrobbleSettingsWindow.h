#pragma once
// The "听歌记录" settings, opened from the settings page: ListenBrainz on or
// off with the user's token, Last.fm on or off with the user's own API key
// and secret, and a log-in with the Last.fm name and password that gets
// the session key (the password itself is never kept). Every change is
// written to the settings file at once and announced.
//
// Threads: the UI thread; the Last.fm log-in runs on a task of `tasks_`
// and hands its answer back to the UI thread.
#include "base/AppSettings.h"
#include "base/BackgroundTask.h"
#include "scrobble/ScrobbleServices.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class ScrobbleSettingsWindow : public QWidget {
    Q_OBJECT
public:
    ScrobbleSettingsWindow(AppSettings settings, ScrobbleOrigins origins, QWidget* parent = nullptr);

    // What the log-in button does.
    void logInToLastFm();

    QLabel* lastFmStatus() const { return lastFmStatus_; }

signals:
    void accountChanged();

private:
    void store();
    void showLastFmSession();

    AppSettings settings_;
    const ScrobbleOrigins origins_;
    QCheckBox* listenBrainz_;
    QLineEdit* token_;
    QCheckBox* lastFm_;
    QLineEdit* apiKey_;
    QLineEdit* secret_;
    QLineEdit* user_;
    QLineEdit* password_;
    QPushButton* logIn_;
    QLabel* lastFmStatus_;
    std::string sessionKey_;
    TaskOwner tasks_;  // last: the log-in ends before the fields go
};
