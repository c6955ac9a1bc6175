// Mivra Music: starts the application and runs its event loop.
#include "api/ServiceHosts.h"
#include "app/Application.h"
#include "net/HttpClient.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
    HttpClient::globalInit();  // before any other thread exists
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName("Mivra Music");
    QApplication::setQuitOnLastWindowClosed(false);

    std::string documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    std::string pictureCache =
        (QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/pictures").toStdString();
    Application app(documents, QCoreApplication::applicationDirPath().toStdString(), ServiceHosts::fromEnvironment(),
                    pictureCache);
    app.start();
    return qtApp.exec();
}
