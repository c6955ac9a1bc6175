// A tour of every page at the sizes a user gives the window, for looking at
// them: the designed 1110×780, the smallest 960×640 and maximised. Runs the
// program against a demo server of its own on loopback and, at each stop,
// takes a picture of the whole screen with ImageMagick's `import`. Start it
// on an X display (scripts/page-screenshots.sh starts one).
//   mivra-page-tour <folder for the pictures>
#include "app/Application.h"
#include "app/tests/StartedApplication.h"
#include "base/AppSettings.h"
#include "browse/Account.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"
#include "ui/pages/HomePage.h"
#include "ui/pages/PageTable.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/MainWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

// Lets the program run for `ms` milliseconds: loads finish, pictures arrive.
void settle(int ms = 2500) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Size {
    const char* name;
    QSize size;  // empty: maximised
};

struct Stop {
    const char* name;
    std::function<void(MainWindow&)> open;
};

void click(MainWindow& window, const char* name) {
    if (auto* button = window.findChild<QAbstractButton*>(QString::fromUtf8(name))) button->click();
}

void search(MainWindow& window, const QString& keyword) {
    QLineEdit* box = window.toolbar()->searchBox();
    box->setText(keyword);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
}

const HomePage& home(MainWindow& window) { return *static_cast<const HomePage*>(window.page(Pages::kHome)); }

std::string first(const ItemIds& ids) { return ids.empty() ? std::string() : ids.front(); }

void applySize(MainWindow& window, const Size& size) {
    if (size.size.isEmpty()) {
        window.showMaximized();
        settle(500);
        // Without a window manager nobody maximises: take the screen's area.
        if (window.size() != window.screen()->availableGeometry().size())
            window.setGeometry(window.screen()->availableGeometry());
    } else {
        window.showNormal();
        window.resize(size.size);
        window.move(0, 0);
    }
    settle(300);
}

bool shoot(const QString& folder, const Size& size, const char* stop) {
    const QString path = QDir(folder).filePath(QString("%1-%2.png").arg(size.name, stop));
    const bool taken = QProcess::execute("import", {"-window", "root", path}) == 0;
    std::printf("%s %s\n", taken ? "took" : "could not take", qPrintable(path));
    return taken;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mivra-page-tour <folder for the pictures>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    HttpClient::globalInit();
    DemoServer server;
    if (!server.start()) return 1;
    QTemporaryDir documents;
    Application app(documents.path().toStdString(), QCoreApplication::applicationDirPath().toStdString(),
                    ServiceHosts::allAt(server.origin()));
    app.setExitHandler([] {});
    if (!startAndWait(app)) return 1;
    MainWindow& window = *app.mainWindow();
    settle();

    const Size sizes[] = {
        {"designed", MainWindow::kDesignedSize}, {"smallest", MainWindow::kSmallestSize}, {"maximised", {}}};
    const Stop stops[] = {
        {"home", [](MainWindow& w) { w.runToolbarAction(ToolbarPage::Home); }},
        {"discover", [](MainWindow& w) { w.runToolbarAction(ToolbarPage::Discover); }},
        {"charts", [](MainWindow& w) { w.runToolbarAction(ToolbarPage::Charts); }},
        {"search", [](MainWindow& w) { search(w, "林夏"); }},
        {"playlist", [](MainWindow& w) { w.router().openPlaylist(first(home(w).playlistIds()), Place::Home); }},
        {"artist", [](MainWindow& w) { w.router().openArtist(first(home(w).artistIds()), Place::Home); }},
        {"album", [](MainWindow& w) { w.router().openAlbum(first(home(w).albumIds()), Place::Home); }},
        {"mvs", [](MainWindow& w) { click(w, "标签按钮_查看推荐MV"); }},
        {"settings", [](MainWindow& w) { w.showPage(Pages::kSettings); }},
        {"login", [](MainWindow& w) { w.toolbar()->loginLabel()->click(); }},
    };
    bool all = true;
    for (const Size& size : sizes) {
        applySize(window, size);
        for (const Stop& stop : stops) {
            stop.open(window);
            settle();
            all = shoot(folder, size, stop.name) && all;
        }
    }

    // The library needs an account: the last code shown is scanned.
    std::string key;
    QObject::connect(&app.account(), &Account::qrOffered, [&key](const QrCodeOffer& offer) { key = offer.key; });
    window.showPage(Pages::kHome);
    window.toolbar()->loginLabel()->click();
    settle(1500);
    HttpRequest scan;
    scan.url = server.origin() + "/demo/scan?key=" + key;
    HttpClient::fetchService(scan);
    settle(8000);
    for (const Size& size : sizes) {
        applySize(window, size);
        window.runToolbarAction(ToolbarPage::Library);
        settle();
        all = shoot(folder, size, "library") && all;
    }
    return all ? 0 : 1;
}
