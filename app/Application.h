#pragma once
// Creates the program's windows and runs the start-up sequence: the one
// place where the parts of the program are created and wired together.
#include "api/CloudApiClient.h"
#include "api/ServiceChoice.h"
#include "api/ServiceHosts.h"
#include "app/ServiceConnection.h"
#include "app/UpdateHandOver.h"
#include "audio/AudioEngine.h"
#include "base/BackgroundTask.h"
#include "base/FirstRunSetup.h"
#include "base/StoredSettings.h"
#include "maintenance/MaintenanceRequests.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class Account;
class AccountView;
class CoverMenuActions;
class DesktopLyricsWindow;
class DiskCache;
class HomePage;
class ListenerParts;
class ListeningExtras;
class LoadingWindow;
class MvAddress;
class MvPlayback;
class PicturePipeline;
class PlayBar;
class SettingsPage;
class SpectrumWindow;
class UpdateLogWindow;
class PlaybackSettingsWindow;
class Player;
class SongDownloader;
class MainWindow;
class MprisService;
class QWidget;
class TrayIcon;

class Application : public QObject {
    Q_OBJECT
public:
    // How often the program tells the maker's host that it is online.
    static constexpr int kHeartbeatIntervalMs = 170000;
    // However slow or silent the service is, start-up stops waiting for it
    // this long after it began: the loading window closes and whatever
    // arrives later fills in where it belongs. Launching the process takes
    // some of the 8 s the user is promised, so the bound leaves a second.
    static constexpr int kStartupBoundMs = 7000;

    // `documentsFolder` holds the data folder; `programFolder` is where the
    // executable lives (a left-over updater there is removed at start);
    // `target` is where the service is reached: fixed gateway hosts (the
    // companion or a relay), the service's own web API at an origin, or the
    // way the settings file chooses;
    // `cacheFolder` keeps fetched pictures between runs (none when empty).
    Application(std::string documentsFolder, std::string programFolder, ServiceTarget target,
                std::string cacheFolder = {});
    ~Application() override;

    // Opens the loading window and begins the start-up sequence, which goes
    // on as the service answers (each step within the start-up bound): it
    // ends by showing the main window, the hidden spectrum window and, when
    // due, the update log. When the start-up hands over to the updater, the
    // program ends instead and no window is shown. Returns at once.
    void start();

    // What ends the process when the user closes the main window; the
    // default exits at once without writing anything.
    void setExitHandler(std::function<void()> exitProcess) { exitProcess_ = std::move(exitProcess); }
    // Replaces the start-up bound (before `start`).
    void setStartupBound(int milliseconds) { startupBoundMs_ = milliseconds; }
    // Replaces how the updater is started on a hand-over (before `start`).
    void setUpdaterStarter(ProgramStarter start) { startUpdater_ = std::move(start); }
    // Where the desktop's media controls find the cover of the song playing
    // (before `start`; none when empty).
    void setCoverFolder(std::string folder) { coverFolder_ = std::move(folder); }
    // Where the player keeps what it learns of songs it played, their
    // loudness and their audio (before `start`; nothing is kept when empty).
    void setPlaybackFolder(std::string folder) { playbackFolder_ = std::move(folder); }
    // Shows the main window in front, also when minimised.
    void raiseMainWindow();

    const AppPaths& paths() const { return paths_; }
    // The cookie of the account logged in to; empty when logged out.
    const std::string& accountCookie() const;
    Account& account() const { return *account_; }
    const std::string& serviceCookie() const { return serviceCookie_; }
    const RemoteConfig& remoteConfig() const { return remoteConfig_; }
    const StoredSettings& storedSettings() const { return storedSettings_; }
    MainWindow* mainWindow() const { return mainWindow_.get(); }
    AudioEngine& audioEngine() { return audio_; }
    DesktopLyricsWindow* desktopLyrics() const { return desktopLyrics_.get(); }
    PlayBar* playBar() const { return playBar_; }
    Player* player() const { return player_.get(); }
    SongDownloader* downloader() const { return downloader_.get(); }
    CoverMenuActions* coverMenu() const { return coverMenu_.get(); }
    MprisService* mpris() const { return mpris_.get(); }
    TrayIcon* tray() const { return tray_.get(); }
    ListenerParts* listener() const { return listener_.get(); }
    ListeningExtras* extras() const { return extras_.get(); }
    QWidget* loadingWindow() const;
    const QTimer& heartbeatTimer() const { return heartbeatTimer_; }
    PicturePipeline& pictures() const { return *pictures_; }
    MvPlayback& mvPlayback() const { return *mvPlayback_; }
    SpectrumWindow* spectrumWindow() const { return spectrumWindow_.get(); }
    // The update-log window while it is open.
    UpdateLogWindow* updateLogWindow() const;
    // The program's executable, where a hand-over writes the updater beside.
    std::string executablePath() const;

signals:
    // The start-up sequence has run to its end: the main window shows, or
    // the program handed over to the updater.
    void startupEnded();

private:
    // A start-up request on its task, and where its answer lands.
    template <typename Answer>
    struct StartupRequest {
        BackgroundTask::Handle task;
        std::shared_ptr<Answer> answer;
    };
    template <typename Call>
    auto startRequest(Call call) -> StartupRequest<decltype(call())> {
        auto answer = std::make_shared<decltype(call())>();
        return {tasks_.start([answer, call = std::move(call)] { *answer = call(); }), answer};
    }
    // Runs `next` once, on the UI thread, when the task has ended or the
    // start-up bound has passed, whichever comes first; never after the
    // program object is gone.
    void afterTask(const BackgroundTask::Handle& task, std::function<void()> next);
    // Runs `next` once: when `sender` emits `signal` or the start-up bound
    // passes, whichever comes first.
    template <typename Sender, typename Signal>
    void afterSignalWithinBound(const Sender* sender, Signal signal, std::function<void()> next);
    // As `afterTask`, handing `next` the request's answer; an answer that
    // comes after the bound is dropped.
    template <typename Answer>
    void afterAnswer(const StartupRequest<Answer>& request, std::function<void(std::optional<Answer>)> next) {
        afterTask(request.task, [request, next = std::move(next)] {
            next(BackgroundTask::isFinished(request.task) ? std::optional<Answer>(std::move(*request.answer))
                                                          : std::nullopt);
        });
    }
    // At least 1: a wait of 0 would have no limit.
    int startupTimeLeftMs() const { return std::max<int>(1, startupBoundMs_ - int(startupClock_.elapsed())); }

    // The start-up requests that need no window, and where their answers land.
    struct EarlyRequests {
        StartupRequest<RemoteConfig> config;
        StartupRequest<std::string> serviceCookie;
        StartupRequest<AccountProfile> account;
        BackgroundTask::Handle heartbeat;
    };
    EarlyRequests sendEarlyRequests(const std::string& storedCookie);
    // The start-up sequence, one step per answer it waits for, in order.
    void onMainWindowCreated();
    void takeRemoteConfig(std::optional<RemoteConfig> config);
    void takeServiceCookie(std::optional<std::string> cookie);
    void takeAccount(std::optional<AccountProfile> profile);
    void afterHomePage(std::function<void()> next);
    void finishStartup();
    // Reaches the service as the target (or the stored choice) says.
    void connectToService();
    // The visitor's device id, made once, is kept in the settings file.
    void keepDeviceId();
    // The user chose another way to reach the service: it is kept, used at
    // once, and the pages that show the service load again.
    void changeService(const ServiceChoice& choice);
    void useReach(const ServiceConnection::Reach& reach);
    // The quality box's choice: kept, and asked for by the next song URLs.
    void chooseQuality(const QString& quality);
    void showAccount(const AccountProfile& profile);
    void applyStoredSettings();
    void createPlayer();
    // The stored equalizer and output device, on the engine.
    void applyPlaybackPreferences();
    void openPlaybackSettings();
    void createDesktopLyrics();
    void showPlayer();
    void offerToDesktop();
    void showListener();
    void resumeListening();
    // Ends the program, leaving the resume point for the next start.
    void quit();
    void loadDiscoverAndCharts();
    void reloadForAccount();
    void startHeartbeat();
    void closeLoadingWindow();
    bool handOverForUpdate(const std::optional<RemoteConfig>& config);
    void createSpectrum();
    void openUpdateLog();
    HomePage& homePage() const;
    SettingsPage& settingsPage() const;

    // Fixed at construction; the request objects are safe on any thread.
    std::string programFolder_;
    AppPaths paths_;
    const ServiceTarget target_;
    // Their transport and hosts change when the way to the service does;
    // their requests are safe on any thread.
    CloudApiClient api_;
    MaintenanceRequests maintenance_;
    std::unique_ptr<ServiceConnection> connection_;
    std::string deviceId_;  // UI thread; the visitor's device id
    AudioEngine audio_;     // the program's one engine; its operations are thread-safe

    // Written on the UI thread during start-up, read afterwards.
    std::string serviceCookie_;
    RemoteConfig remoteConfig_;
    StoredSettings storedSettings_;
    std::function<void()> exitProcess_;
    ProgramStarter startUpdater_ = startDetachedProgram;
    int startupBoundMs_ = kStartupBoundMs;
    std::string coverFolder_;
    std::string playbackFolder_;
    QElapsedTimer startupClock_;
    EarlyRequests early_;  // UI thread; the start-up requests in flight

    QPointer<LoadingWindow> loadingWindow_;
    // Declared before the windows that show them, so they go after them.
    std::unique_ptr<Account> account_;  // made first in start(): the stored cookie goes out with the first requests
    std::unique_ptr<PicturePipeline> pictures_;
    std::unique_ptr<Player> player_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<AccountView> accountView_;
    std::unique_ptr<MvAddress> mvAddress_;
    std::unique_ptr<MvPlayback> mvPlayback_;
    PlayBar* playBar_ = nullptr;  // owned by the main window's play bar strip
    std::unique_ptr<DesktopLyricsWindow> desktopLyrics_;
    std::unique_ptr<SpectrumWindow> spectrumWindow_;
    QPointer<UpdateLogWindow> updateLog_;                // destroys itself when closed
    QPointer<PlaybackSettingsWindow> playbackSettings_;  // destroys itself when closed
    // After the windows and the player, so it goes before them.
    std::unique_ptr<SongDownloader> downloader_;
    std::unique_ptr<CoverMenuActions> coverMenu_;
    std::unique_ptr<MprisService> mpris_;
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<ListenerParts> listener_;
    std::unique_ptr<ListeningExtras> extras_;  // the user's own music, the keyboard, scrobbling
    QTimer heartbeatTimer_;
    // Last: its tasks (start-up requests, heartbeats) stop before anything
    // they use is gone.
    TaskOwner tasks_;
};
