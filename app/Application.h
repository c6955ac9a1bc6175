#pragma once
// Creates the program's windows and runs the start-up sequence: the one
// place where the parts of the program are created and wired together.
#include "app/FirstRunSetup.h"
#include "app/StoredSettings.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

class LoadingWindow;
class MainWindow;
class QWidget;

class Application : public QObject {
public:
    // `documentsFolder` holds the data folder; `programFolder` is where the
    // executable lives (a left-over updater there is removed at start).
    Application(std::string documentsFolder, std::string programFolder);
    ~Application() override;

    // Opens the loading window, then the main window (running the start-up
    // sequence to its end), then the hidden spectrum window.
    void start();

    // What ends the process when the user closes the main window; the
    // default exits at once without writing anything.
    void setExitHandler(std::function<void()> exitProcess) { exitProcess_ = std::move(exitProcess); }

    const AppPaths& paths() const { return paths_; }
    const std::string& accountCookie() const { return accountCookie_; }
    const StoredSettings& storedSettings() const { return storedSettings_; }
    MainWindow* mainWindow() const { return mainWindow_.get(); }
    QWidget* loadingWindow() const;

private:
    void onMainWindowCreated();
    void closeLoadingWindow();

    std::string programFolder_;
    AppPaths paths_;
    std::string accountCookie_;
    StoredSettings storedSettings_;
    std::function<void()> exitProcess_;

    QPointer<LoadingWindow> loadingWindow_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<QWidget> spectrumWindow_;
};
