// Mivra Music: starts the application and runs its event loop. A second
// start raises the window of the one running and ends. `mivra --version`
// prints the version and ends, without needing a display.
#include "api/ServiceChoice.h"
#include "app/Application.h"
#include "base/AllocatorArenas.h"
#include "base/ProductInfo.h"
#include "desktop/MprisNames.h"
#include "desktop/SingleInstance.h"
#include "net/HttpClient.h"
#include "ui/QtTranslations.h"

#include <QApplication>
#include <QIcon>
#include <QStandardPaths>
#include <cstdio>
#include <string_view>

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::printf("mivra %s\n", kVersionNumber);
        return 0;
    }
    limitAllocatorArenas();
    HttpClient::globalInit();  // before any other thread exists
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName("Mivra Music");
    QApplication::setQuitOnLastWindowClosed(false);
    if (raiseRunningInstance()) return 0;
    installQtChineseTranslations(qtApp);
    // The task bar finds the installed entry and icon by these.
    QGuiApplication::setDesktopFileName(kDesktopEntryName);
    QApplication::setWindowIcon(QIcon(":/mivra/org.mivra.Music.svg"));

    std::string documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    Application app(documents, QCoreApplication::applicationDirPath().toStdString(), ServiceTarget::fromEnvironment(),
                    (cache + "/pictures").toStdString());
    app.setCoverFolder((cache + "/covers").toStdString());
    app.setPlaybackFolder((cache + "/playback").toStdString());
    app.start();
    return qtApp.exec();
}
