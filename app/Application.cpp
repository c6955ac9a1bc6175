#include "app/Application.h"

#include "base/AppSettings.h"
#include "base/BackgroundTask.h"
#include "ui/LoadingWindow.h"
#include "ui/DesktopLyricsWindow.h"
#include "app/CoverMenuActions.h"
#include "app/PlayerViews.h"
#include "download/SongDownloader.h"
#include "player/Player.h"
#include "ui/PlayBar.h"
#include "ui/MainWindow.h"
#include "ui/NowPlayingView.h"
#include "ui/Theme.h"
#include "ui/Toolbar.h"

#include <QWidget>
#include <cstdio>
#include <cstdlib>

Application::Application(std::string documentsFolder, std::string programFolder, ServiceHosts hosts)
    : programFolder_(std::move(programFolder)),
      paths_(makeAppPaths(documentsFolder)),
      api_(hosts),
      maintenance_(hosts),
      exitProcess_([] {
          std::fflush(nullptr);
          std::_Exit(0);
      }) {
    heartbeatTimer_.setObjectName("时钟_在线统计");
}

// A loading window still up (start-up was cut short) goes with the program.
Application::~Application() { delete loadingWindow_.data(); }

QWidget* Application::loadingWindow() const { return loadingWindow_.data(); }

void Application::start() {
    loadingWindow_ = new LoadingWindow;
    loadingWindow_->setAttribute(Qt::WA_DeleteOnClose);
    loadingWindow_->show();

    mainWindow_ = std::make_unique<MainWindow>();
    mainWindow_->setCatalogue(&api_);
    connect(mainWindow_.get(), &MainWindow::closeRequested, this, [this] { exitProcess_(); });
    const QPointer<Application> alive(this);
    onMainWindowCreated();
    if (!alive) return;
    mainWindow_->show();

    // The desktop spectrum window exists from the start and stays hidden
    // until the user switches the spectrum on.
    spectrumWindow_ = std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    spectrumWindow_->setObjectName("SpectrumWindow");
}

// The start-up sequence of the main window, in the order it must run. Every
// network request runs on a task while the window keeps pumping events, and
// whatever those events do may end the program object meanwhile: each wait
// is followed by a check that it is still there.
void Application::onMainWindowCreated() {
    const QPointer<Application> alive(this);
    accountCookie_ = firstRunSetup(paths_, programFolder_);
    // The remote configuration, and the service cookie the availability check sends.
    // (The answers land in locals first: the members may be gone by then.)
    RemoteConfig config = tasks_.runPumping([this] { return maintenance_.fetchRemoteConfig(); });
    if (!alive) return;
    remoteConfig_ = std::move(config);
    std::string serviceCookie = tasks_.runPumping([this] { return maintenance_.fetchServiceCookie(); });
    if (!alive) return;
    serviceCookie_ = std::move(serviceCookie);
    mainWindow_->enterStartPage();
    createPlayer();
    audio_.init();  // without a usable device the engine plays to a silent output
    checkAccount();
    if (!alive) return;
    storedSettings_ = readStoredSettings(AppSettings(paths_.settingsPath));
    applyStoredSettings();
    createDesktopLyrics();
    showPlayer();
    startHeartbeat();
    if (!alive) return;
    closeLoadingWindow();
}

// A cookie the service no longer accepts is forgotten for this run (the
// settings file keeps it until the next login or log-out).
void Application::checkAccount() {
    const std::string cookie = accountCookie_;
    const QPointer<Application> alive(this);
    AccountProfile profile = tasks_.runPumping([this, cookie] {
        return api_.checkAccount(cookie) ? api_.fetchAccount(cookie) : AccountProfile{};
    });
    if (!alive) return;
    bool loggedIn = !profile.userId.empty();
    if (!loggedIn) accountCookie_.clear();
    mainWindow_->setLoggedInUserId(profile.userId);
    mainWindow_->toolbar()->showAccountArea(loggedIn);
}

// The player and the play bar that shows it.
void Application::createPlayer() {
    player_ = std::make_unique<Player>(api_, audio_, serviceCookie_, AppSettings(paths_.settingsPath));
    playBar_ = new PlayBar(*player_, mainWindow_->playBarStrip());
    playBar_->setNowPlayingView(mainWindow_->nowPlayingView());
}

void Application::applyStoredSettings() {
    mainWindow_->setListTypeface({storedSettings_.typeface, storedSettings_.styleCodeOrDefault()});
    player_->applyStored(storedSettings_.volume, storedSettings_.playMode);
}

// The desktop lyrics window in the stored colours and fill mode, hidden
// until the play bar's lyrics button shows it.
void Application::createDesktopLyrics() {
    desktopLyrics_ = DesktopLyricsWindow::createForStartup(storedSettings_.color1, storedSettings_.color2,
                                                           storedSettings_.fillModeOrDefault());
}

// Song lists and the now-playing view, the desktop lyrics and the notices
// all go through the player; the cover menu opens the play list and
// downloads the song shown.
void Application::showPlayer() {
    connectPlayerViews(*player_,
                       {*mainWindow_, *playBar_, *mainWindow_->nowPlayingView(), *desktopLyrics_});
    downloader_ = std::make_unique<SongDownloader>(api_, paths_.downloadFolder);
    coverMenu_ = std::make_unique<CoverMenuActions>(*playBar_, *player_, *downloader_, api_, *mainWindow_);
}

// The first heartbeat is waited for; later ones go out on their own tasks
// and their failures are ignored.
void Application::startHeartbeat() {
    const QPointer<Application> alive(this);
    BackgroundTask::waitPumping(tasks_.start([this] { maintenance_.sendHeartbeat(); }));
    if (!alive) return;
    connect(&heartbeatTimer_, &QTimer::timeout, this, [this] { tasks_.start([this] { maintenance_.sendHeartbeat(); }); });
    heartbeatTimer_.start(kHeartbeatIntervalMs);
}

void Application::closeLoadingWindow() {
    if (loadingWindow_) loadingWindow_->close();
}
