// Entry point of every test executable: sets up a quiet, display-free Qt
// environment before any Qt object exists, then runs the GoogleTest cases.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#ifdef MIVRA_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

// Qt's platform plugins keep their D-Bus and fontconfig state until exit.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\nleak:libfontconfig.so\n"; }

// Qt's libraries and the compiled cpp-httplib the test servers use are not
// built with ThreadSanitizer, so their own atomics and thread pools (image
// scaling, queued calls, the servers' worker pools) are invisible to it and
// show up as races inside those libraries.
extern "C" const char* __tsan_default_suppressions() {
    return "race:libQt6Core.so\nrace:libQt6Gui.so\nrace:libQt6Widgets.so\ncalled_from_lib:libcpp-httplib.so.0.11\n";
}

// The virtual screen of the display-free platform: a common 1920×1080
// desktop (the platform's own default, 800×600, is smaller than the main
// window, which would then open shrunk to fit it).
void useOffscreenDesktop(const QTemporaryDir& runtimeDir) {
    if (!runtimeDir.isValid()) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return;
    }
    const QString path = runtimeDir.filePath("offscreen.json");
    QFile config(path);
    if (config.open(QIODevice::WriteOnly))
        config.write(R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1920, "height": 1080,)"
                     R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    config.close();
    setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).toLocal8Bit().constData(), 0);
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir runtimeDir(QDir::tempPath() + "/mivra-test-runtime-XXXXXX");
    if (runtimeDir.isValid()) {
        QFile::setPermissions(runtimeDir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        setenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit().constData(), 1);
    }
    useOffscreenDesktop(runtimeDir);
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
