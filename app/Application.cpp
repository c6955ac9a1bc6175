#include "app/Application.h"

#include "app/AppSettings.h"
#include "app/LoadingWindow.h"
#include "ui/MainWindow.h"

#include <QWidget>
#include <cstdio>
#include <cstdlib>

Application::Application(std::string documentsFolder, std::string programFolder)
    : programFolder_(std::move(programFolder)),
      paths_(makeAppPaths(documentsFolder)),
      exitProcess_([] {
          std::fflush(nullptr);
          std::_Exit(0);
      }) {}

Application::~Application() = default;

QWidget* Application::loadingWindow() const { return loadingWindow_.data(); }

void Application::start() {
    loadingWindow_ = new LoadingWindow;
    loadingWindow_->setAttribute(Qt::WA_DeleteOnClose);
    loadingWindow_->show();

    mainWindow_ = std::make_unique<MainWindow>();
    connect(mainWindow_.get(), &MainWindow::closeRequested, this, [this] { exitProcess_(); });
    onMainWindowCreated();
    mainWindow_->show();

    // The desktop spectrum window exists from the start and stays hidden
    // until the user switches the spectrum on.
    spectrumWindow_ = std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    spectrumWindow_->setObjectName("SpectrumWindow");
}

// The start-up sequence of the main window, in the order it must run.
void Application::onMainWindowCreated() {
    accountCookie_ = firstRunSetup(paths_, programFolder_);
    storedSettings_ = readStoredSettings(AppSettings(paths_.settingsPath));
    closeLoadingWindow();
}

void Application::closeLoadingWindow() {
    if (loadingWindow_) loadingWindow_->close();
}
