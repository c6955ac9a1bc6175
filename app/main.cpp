// Mivra Music: starts the application and runs its event loop.
#include "app/Application.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName("Mivra Music");
    QApplication::setQuitOnLastWindowClosed(false);

    std::string documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    Application app(documents, QCoreApplication::applicationDirPath().toStdString());
    app.start();
    return qtApp.exec();
}
