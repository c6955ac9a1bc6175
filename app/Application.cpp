#include "app/Application.h"

#include "api/RequestRandomness.h"
#include "browse/Account.h"
#include "browse/MvAddress.h"

#include "app/CoverMenuActions.h"
#include "app/ListenerParts.h"
#include "app/ListeningExtras.h"
#include "app/PlayerViews.h"
#include "app/TrayIcon.h"
#include "audio/PlayedAudioCache.h"
#include "audio/PortAudioOutput.h"
#include "base/AppSettings.h"
#include "base/BackgroundTask.h"
#include "base/ProductInfo.h"
#include "desktop/MprisService.h"
#include "download/SongDownloader.h"
#include "local/LocalLibrary.h"
#include "maintenance/UpdateDecision.h"
#include "maintenance/UpdateLog.h"
#include "net/DiskCache.h"
#include "player/PlaybackPreferences.h"
#include "player/Player.h"
#include "ui/AccountView.h"
#include "ui/MvPlayback.h"
#include "ui/pages/ChartsPage.h"
#include "ui/pages/DiscoverPage.h"
#include "ui/pages/HomePage.h"
#include "ui/pages/SettingsPage.h"
#include "ui/pictures/PicturePipeline.h"
#include "ui/widgets/PlayBar.h"
#include "ui/widgets/ServiceFailureLine.h"
#include "ui/widgets/ServiceSettingsGroup.h"
#include "ui/widgets/Theme.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/DesktopLyricsWindow.h"
#include "ui/windows/LoadingWindow.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/NowPlayingView.h"
#include "ui/windows/PlaybackSettingsWindow.h"
#include "ui/windows/ProgramWindow.h"
#include "ui/windows/SpectrumWindow.h"
#include "ui/windows/UpdateLogWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

// Start-up milestones, for timing the start (off unless enabled with
// QT_LOGGING_RULES="mivra.startup.info=true").
Q_LOGGING_CATEGORY(startupLog, "mivra.startup", QtWarningMsg)

namespace {

// Fetched pictures kept between runs: enough for every list many times over.
constexpr std::int64_t kPictureDiskBytes = 256LL << 20;
// Loudness measures are a few dozen bytes each (a file each): some ten thousand songs.
constexpr std::int64_t kLoudnessDiskBytes = 512LL << 10;

// The gateway hosts of a fixed gateway target; the build's defaults (the
// companion's) for the others until the start-up sequence connects.
ServiceHosts gatewayHostsOf(const ServiceTarget& target) {
    return target.kind == ServiceTarget::Kind::Gateway ? target.hosts : ServiceHosts::fromEnvironment();
}

std::string environmentText(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The quality box's texts and the song qualities the service names.
std::string songLevelOf(const std::string& quality) {
    if (quality == "标准") return "standard";
    if (quality == "较高") return "higher";
    if (quality == "无损") return "lossless";
    return "exhigh";
}

}  // namespace

Application::Application(std::string documentsFolder, std::string programFolder, ServiceTarget target,
                         std::string cacheFolder)
    : programFolder_(std::move(programFolder)),
      paths_(makeAppPaths(documentsFolder)),
      target_(std::move(target)),
      api_(gatewayHostsOf(target_)),
      maintenance_(gatewayHostsOf(target_)),
      exitProcess_([] {
          std::fflush(nullptr);
          std::_Exit(0);
      }),
      pictures_(std::make_unique<PicturePipeline>(
          [this](const std::string& url) { return api_.fetchPicture(url); },
          cacheFolder.empty() ? nullptr : std::make_shared<DiskCache>(cacheFolder, kPictureDiskBytes))),
      mvAddress_(std::make_unique<MvAddress>(api_)),
      mvPlayback_(std::make_unique<MvPlayback>(*mvAddress_, gatewayHostsOf(target_))) {
    heartbeatTimer_.setObjectName("时钟_在线统计");
}

// A loading window still up (start-up was cut short) and an open update
// log go with the program.
Application::~Application() {
    delete loadingWindow_.data();
    delete updateLog_.data();
}

UpdateLogWindow* Application::updateLogWindow() const { return updateLog_.data(); }

std::string Application::executablePath() const {
    return programFolder_ + "/" + QFileInfo(QCoreApplication::applicationFilePath()).fileName().toStdString();
}

QWidget* Application::loadingWindow() const { return loadingWindow_.data(); }

const std::string& Application::accountCookie() const { return account_->cookie(); }

void Application::start() {
    startupClock_.start();
    // The way to the service and the stored account are read before the
    // setup writes the settings file (each write waits for the disk), so the
    // requests go out first.
    connectToService();
    early_ = sendEarlyRequests(AppSettings(paths_.settingsPath).read("User", "Cookie"));
    account_ = std::make_unique<Account>(api_, AppSettings(paths_.settingsPath), firstRunSetup(paths_, programFolder_));
    keepDeviceId();
    loadingWindow_ = new LoadingWindow;
    loadingWindow_->setAttribute(Qt::WA_DeleteOnClose);
    loadingWindow_->show();

    mainWindow_ = std::make_unique<MainWindow>();
    mainWindow_->setCatalogue(&api_);
    mainWindow_->setPictures(pictures_.get());
    mainWindow_->setAccount(account_.get());
    accountView_ = std::make_unique<AccountView>(*account_, *mainWindow_);
    connect(mainWindow_.get(), &MainWindow::closeRequested, this, &Application::quit);
    connect(&mainWindow_->router(), &Router::mvRequested, mvPlayback_.get(), &MvPlayback::play);
    connect(account_.get(), &Account::accountChanged, this, &Application::reloadForAccount);
    connect(&homePage(), &HomePage::loaded, this,
            [] { qCInfo(startupLog).noquote() << "home page loaded at" << QDateTime::currentMSecsSinceEpoch(); });
    onMainWindowCreated();
}

// The requests that need no window go out first, before the windows are
// built (fonts, styles and fourteen pages take longer than the requests'
// answers): the remote configuration, the service cookie the availability
// check sends, the stored account and the first heartbeat.
Application::EarlyRequests Application::sendEarlyRequests(const std::string& storedCookie) {
    return {
        .config = startRequest([this] { return maintenance_.fetchRemoteConfig(); }),
        .serviceCookie = startRequest([this] { return maintenance_.fetchServiceCookie(); }),
        .account = startRequest([this, cookie = storedCookie] {
            return api_.checkAccount(cookie) ? api_.fetchAccount(cookie) : AccountProfile{};
        }),
        .heartbeat = tasks_.start([this] { maintenance_.sendHeartbeat(); }),
    };
}

// The start-up sequence of the main window, in the order it must run. Every
// network request runs on a task while the event loop goes on; each step
// continues when the answer it needs is in or the start-up bound passed.
// The home page's sections go out as soon as the page exists, and the
// answers are taken in order.
void Application::onMainWindowCreated() {
    storedSettings_ = readStoredSettings(AppSettings(paths_.settingsPath));
    api_.setSongLevel(songLevelOf(storedSettings_.quality));
    mainWindow_->setListTypeface({storedSettings_.typeface, storedSettings_.styleCodeOrDefault()});
    mainWindow_->enterStartPage();
    homePage().load(accountCookie());
    afterAnswer<RemoteConfig>(early_.config, [this](std::optional<RemoteConfig> config) { takeRemoteConfig(config); });
}

void Application::takeRemoteConfig(std::optional<RemoteConfig> config) {
    if (handOverForUpdate(config)) {
        emit startupEnded();
        return;
    }
    if (config) remoteConfig_ = std::move(*config);
    afterAnswer<std::string>(early_.serviceCookie,
                             [this](std::optional<std::string> cookie) { takeServiceCookie(std::move(cookie)); });
}

void Application::takeServiceCookie(std::optional<std::string> cookie) {
    if (cookie) serviceCookie_ = std::move(*cookie);
    createPlayer();
    audio_.init();  // without a usable device the engine plays to a silent output
    applyPlaybackPreferences();
    afterAnswer<AccountProfile>(early_.account,
                                [this](std::optional<AccountProfile> profile) { takeAccount(std::move(profile)); });
}

// An account that cannot be checked in time counts as logged out this run.
void Application::takeAccount(std::optional<AccountProfile> profile) {
    showAccount(profile.value_or(AccountProfile{}));
    applyStoredSettings();
    createDesktopLyrics();
    showPlayer();
    extras_ = std::make_unique<ListeningExtras>(*mainWindow_, *player_, settingsPage(),
                                                AppSettings(paths_.settingsPath), paths_.dataFolder);
    resumeListening();
    // The first heartbeat is waited for, then the home page.
    afterTask(early_.heartbeat, [this] {
        startHeartbeat();
        afterHomePage([this] { finishStartup(); });
    });
}

void Application::finishStartup() {
    closeLoadingWindow();
    loadDiscoverAndCharts();
    mainWindow_->show();
    qCInfo(startupLog).noquote() << "main window shown at" << QDateTime::currentMSecsSinceEpoch();
    createSpectrum();
    openUpdateLog();
    early_ = {};
    emit startupEnded();
}

template <typename Sender, typename Signal>
void Application::afterSignalWithinBound(const Sender* sender, Signal signal, std::function<void()> next) {
    auto once = std::make_shared<std::function<void()>>(std::move(next));
    const auto runOnce = [once] {
        if (auto run = std::exchange(*once, nullptr)) run();
    };
    connect(sender, signal, this, runOnce, Qt::SingleShotConnection);
    QTimer::singleShot(startupTimeLeftMs(), this, runOnce);
}

// A task's `finished` reaches the UI thread queued, so it cannot slip by
// between the check and the connection.
void Application::afterTask(const BackgroundTask::Handle& task, std::function<void()> next) {
    if (BackgroundTask::isFinished(task))
        next();
    else
        afterSignalWithinBound(task.get(), &BackgroundTask::TaskState::finished, std::move(next));
}

// A first start makes the device id up here and keeps it once the settings
// file exists (keepDeviceId).
void Application::connectToService() {
    const AppSettings settings(paths_.settingsPath);
    deviceId_ = settings.read("Service", "DeviceId");
    if (deviceId_.empty()) deviceId_ = RequestRandomness::system().deviceId();
    connection_ =
        std::make_unique<ServiceConnection>(target_, programFolder_, deviceId_, environmentText("MIVRA_WEAPI_KEY"));
    useReach(connection_->reachAtStart(ServiceChoice::read(settings)));
}

void Application::keepDeviceId() {
    const AppSettings settings(paths_.settingsPath);
    if (settings.read("Service", "DeviceId") != deviceId_) settings.write("Service", "DeviceId", deviceId_);
}

void Application::useReach(const ServiceConnection::Reach& reach) {
    api_.useTransport(reach.transport);
    maintenance_.reachThrough(reach.gatewayHosts);
    mvPlayback_->setWebPlayerHosts(reach.gatewayHosts);
    ServiceFailureLine::setLocalCompanion(reach.localCompanion);
}

void Application::changeService(const ServiceChoice& choice) {
    choice.write(AppSettings(paths_.settingsPath));
    useReach(connection_->reach(choice));
    homePage().load(accountCookie());
    loadDiscoverAndCharts();
    if (!account_->cookie().empty()) account_->reload();
}

void Application::chooseQuality(const QString& quality) {
    AppSettings(paths_.settingsPath).write("Setting", "Quality", quality.toStdString());
    api_.setSongLevel(songLevelOf(quality.toStdString()));
    if (player_ && player_->playedAudio()) player_->playedAudio()->setQuality(songLevelOf(quality.toStdString()));
}

// Another version announced in time, and not one the user skipped: the
// updater takes over and the program ends. When the updater cannot be
// written or started, the program starts as it is.
bool Application::handOverForUpdate(const std::optional<RemoteConfig>& config) {
    const AppSettings settings(paths_.settingsPath);
    if (!shouldHandOver(config, kProductVersion, settings.read("Data", "SkipVer"))) return false;
    if (!handOverToUpdater(settings, executablePath(), carriedUpdater(), startUpdater_)) return false;
    closeLoadingWindow();
    exitProcess_();
    return true;
}

// The update log, once after an update (and on a first start), over the
// middle of the main window; a log without entries (the service's own web
// API has none, a maker's host may not answer) opens nothing.
void Application::openUpdateLog() {
    const AppSettings settings(paths_.settingsPath);
    if (settings.read("Data", "UpDateLog", "true") != "true") return;
    if (parseUpdateLog(remoteConfig_.updateLogText).empty()) return;
    delete updateLog_.data();
    updateLog_ = new UpdateLogWindow(remoteConfig_.updateLogText, settings);
    ProgramWindow::adopt(updateLog_);
    ProgramWindow::centre(updateLog_);
    updateLog_->show();
    updateLog_->raise();
}

// The desktop spectrum window exists from the start and stays hidden until
// the user switches the spectrum on; it draws in the lyric colours.
void Application::createSpectrum() {
    spectrumWindow_ = std::make_unique<SpectrumWindow>(
        [player = player_.get()](std::array<float, kSpectrumBins>& magnitudes) { player->spectrum(magnitudes); });
    spectrumWindow_->setColours(storedSettings_.color1, storedSettings_.color2);
    connect(playBar_, &PlayBar::spectrumToggled, spectrumWindow_.get(), &SpectrumWindow::setSwitchedOn);
    connect(&settingsPage(), &SettingsPage::lyricColoursChanged, spectrumWindow_.get(),
            [spectrum = spectrumWindow_.get()](const LyricColours& colours) {
                spectrum->setColours(colours.first, colours.second);
            });
}

HomePage& Application::homePage() const { return *static_cast<HomePage*>(mainWindow_->page(Pages::kHome)); }

SettingsPage& Application::settingsPage() const {
    return *static_cast<SettingsPage*>(mainWindow_->page(Pages::kSettings));
}

// The loading window stays until the last home section is in, within the bound.
void Application::afterHomePage(std::function<void()> next) {
    if (homePage().isLoaded())
        next();
    else
        afterSignalWithinBound(&homePage(), &HomePage::loaded, std::move(next));
}

// A cookie the service no longer accepts is forgotten for this run (the
// settings file keeps it until the next login or log-out); an accepted one
// loads the account and its library in the background.
void Application::showAccount(const AccountProfile& profile) { account_->restore(profile); }

// The player and the play bar that shows it; the bar's MV button offers
// the playing song's MV through the web player page.
void Application::createPlayer() {
    player_ = std::make_unique<Player>(api_, audio_, serviceCookie_, AppSettings(paths_.settingsPath));
    if (!playbackFolder_.empty()) {
        player_->keepLoudnessIn(std::make_shared<DiskCache>(playbackFolder_ + "/loudness", kLoudnessDiskBytes));
        auto played = std::make_shared<PlayedAudioCache>(
            playbackFolder_ + "/audio", PlaybackPreferences::read(AppSettings(paths_.settingsPath)).cacheBytes());
        played->setQuality(songLevelOf(storedSettings_.quality));
        player_->keepPlayedAudioIn(std::move(played));
    }
    playBar_ = new PlayBar(*player_, mainWindow_->playBarStrip());
    playBar_->setNowPlayingView(mainWindow_->nowPlayingView());
    connect(playBar_, &PlayBar::mvClicked, mvPlayback_.get(),
            [this] { mvPlayback_->playInWebPlayer(player_->mvId()); });
}

void Application::applyPlaybackPreferences() {
    const PlaybackPreferences stored = PlaybackPreferences::read(AppSettings(paths_.settingsPath));
    audio_.setEqualizer(stored.equalizer);
    if (stored.outputDevice.empty()) return;
    // A device no longer there leaves the default one.
    for (const OutputDevice& device : PortAudioOutput::devices()) {
        if (device.number >= 0 && device.name == stored.outputDevice) {
            audio_.useDevice(device.number);
            return;
        }
    }
}

void Application::openPlaybackSettings() {
    if (!playbackSettings_) {
        playbackSettings_ =
            new PlaybackSettingsWindow(audio_, *player_, AppSettings(paths_.settingsPath), mainWindow_.get());
        ProgramWindow::adopt(playbackSettings_);
        ProgramWindow::centre(playbackSettings_);
    }
    playbackSettings_->show();
    playbackSettings_->raise();
    playbackSettings_->activateWindow();
}

void Application::applyStoredSettings() {
    player_->applyStored(storedSettings_.volume, storedSettings_.playMode);
    const AppSettings settings(paths_.settingsPath);
    settingsPage().applyStored(storedSettings_, settings);
    settingsPage().serviceGroup()->showChoice(ServiceChoice::read(settings));
    connect(settingsPage().serviceGroup(), &ServiceSettingsGroup::choiceMade, this, &Application::changeService);
    connect(settingsPage().qualityBox(), &QComboBox::textActivated, this, &Application::chooseQuality);
    connect(&settingsPage(), &SettingsPage::playbackSettingsRequested, this, &Application::openPlaybackSettings);
}

// The desktop lyrics window in the stored colours and fill mode, hidden
// until the play bar's lyrics button shows it.
void Application::createDesktopLyrics() {
    desktopLyrics_ = DesktopLyricsWindow::createForStartup(storedSettings_.color1, storedSettings_.color2,
                                                           storedSettings_.fillModeOrDefault());
    connect(&settingsPage(), &SettingsPage::lyricColoursChanged, desktopLyrics_.get(),
            [lyrics = desktopLyrics_.get()](const LyricColours& colours) {
                lyrics->applyColourSettings(colours.first, colours.second, colours.fillMode);
            });
}

// Song lists and the now-playing view, the desktop lyrics and the notices
// all go through the player; the cover menu opens the play list and
// downloads the song shown.
void Application::showPlayer() {
    connectPlayerViews(*player_, {*mainWindow_, *playBar_, *mainWindow_->nowPlayingView(), *desktopLyrics_});
    downloader_ = std::make_unique<SongDownloader>(api_, paths_.downloadFolder);
    downloader_->copyPlayedFrom(player_->playedAudio());
    coverMenu_ = std::make_unique<CoverMenuActions>(*playBar_, *player_, *downloader_, api_, *mainWindow_);
    offerToDesktop();
    showListener();
}

// Daily songs, FM, hearts and history.
void Application::showListener() {
    listener_ = std::make_unique<ListenerParts>(api_, *player_, paths_.dataFolder + "listening");
    listener_->show(*mainWindow_, *playBar_, *account_);
}

// The player comes back to where the last run left it (in personal FM for
// the account logged in), once the user's own songs can be found, and local
// songs are downloaded as copies of their files.
void Application::resumeListening() {
    downloader_->copyLocalSongsFrom(extras_->localLibrary().indexPath());
    listener_->keeper().resumePlayer(account_->loggedIn() ? account_->cookie() : std::string());
}

void Application::quit() {
    if (player_) player_->writePendingVolume();
    if (listener_) listener_->keeper().writeResumePoint();
    exitProcess_();
}

// The desktop's media controls (media keys, panel applets) and its tray
// drive the same player as the play bar.
void Application::offerToDesktop() {
    auto raise = [this] { raiseMainWindow(); };
    auto quit = [this] { this->quit(); };
    mpris_ = std::make_unique<MprisService>(*player_, MprisService::Window{raise, quit},
                                            QString::fromStdString(coverFolder_));
    tray_ = std::make_unique<TrayIcon>(*player_, *playBar_->coverMenu(), raise, quit);
    tray_->showIfAvailable();
}

void Application::raiseMainWindow() {
    if (!mainWindow_) return;
    mainWindow_->setWindowState((mainWindow_->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    mainWindow_->show();
    mainWindow_->raise();
    mainWindow_->activateWindow();
}

// The discover page's first category and the charts, which nothing waits
// for. They start once the home page is in, so their hundred-odd pictures
// do not queue before the home page's for the shared fetch slots.
void Application::loadDiscoverAndCharts() {
    static_cast<DiscoverPage*>(mainWindow_->page(Pages::kDiscover))->selectCategory(DiscoverPage::kAll);
    static_cast<ChartsPage*>(mainWindow_->page(Pages::kCharts))->load();
}

// After a login or log-out the personalised lists follow the new account:
// the home page's recommendations and the discover page's category, when it
// is one the account personalises.
void Application::reloadForAccount() {
    homePage().reloadForAccount(accountCookie());
    auto* discover = static_cast<DiscoverPage*>(mainWindow_->page(Pages::kDiscover));
    if (discover->category() == DiscoverPage::kAll || discover->category() == DiscoverPage::kRecommended)
        discover->selectCategory(discover->category());
}

// Heartbeats after the first go out on their own tasks and their failures
// are ignored.
void Application::startHeartbeat() {
    connect(&heartbeatTimer_, &QTimer::timeout, this,
            [this] { tasks_.start([this] { maintenance_.sendHeartbeat(); }); });
    heartbeatTimer_.start(kHeartbeatIntervalMs);
}

void Application::closeLoadingWindow() {
    if (loadingWindow_) loadingWindow_->close();
}
