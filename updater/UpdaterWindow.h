#pragma once
// The updater's one window: the version the maker announces with its update
// log, and two ways on. "前往下载" opens the download page in the browser;
// "暂不更新" remembers the version as skipped (so the program no longer hands
// over for it) and starts the program again. UI thread only.
#include "base/AppSettings.h"
#include "maintenance/MaintenanceRequests.h"

#include <QUrl>
#include <QWidget>
#include <functional>

class UpdaterWindow : public QWidget {
public:
    // How the window reaches outside the process; tests record instead.
    struct Outside {
        std::function<void(const QUrl&)> openUrl;          // hands a web page to the browser
        std::function<bool(const QString&)> startProgram;  // starts an executable detached
    };
    // The real browser and process start.
    static Outside desktop();

    // `settings` holds the program's path (written before the hand-over) and
    // takes the skipped version.
    UpdaterWindow(RemoteConfig announced, AppSettings settings, Outside outside);

    // The buttons' actions.
    void openDownloadPage();
    void skipThisVersion();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void createControls();

    const RemoteConfig announced_;
    const AppSettings settings_;
    const Outside outside_;
};
