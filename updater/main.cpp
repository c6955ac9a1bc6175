// MivraUpDate: written beside the program and started when the maker
// announces another version. It shows that version with its update log and
// lets the user download it or go on with the program as it is.
#include "api/ServiceHosts.h"
#include "base/FirstRunSetup.h"
#include "net/HttpClient.h"
#include "updater/UpdaterWindow.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
    HttpClient::globalInit();  // before any other thread exists
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName("Mivra Music");

    const AppPaths paths =
        makeAppPaths(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString());
    // Asked before any window exists, so nothing waits on it.
    RemoteConfig announced = MaintenanceRequests(ServiceHosts::fromEnvironment()).fetchRemoteConfig();
    UpdaterWindow window(std::move(announced), AppSettings(paths.settingsPath), UpdaterWindow::desktop());
    window.show();
    return qtApp.exec();
}
