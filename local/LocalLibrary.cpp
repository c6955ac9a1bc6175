#include "local/LocalLibrary.h"

LocalLibrary::LocalLibrary(std::string indexPath, QObject* parent)
    : QObject(parent), indexPath_(std::move(indexPath)), index_(indexPath_) {
    rescanDelay_.setSingleShot(true);
    rescanDelay_.setInterval(kRescanDelayMs);
    connect(&rescanDelay_, &QTimer::timeout, this, &LocalLibrary::scan);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { rescanDelay_.start(); });
}

LocalLibrary::~LocalLibrary() { tasks_.requestStopAll(); }

void LocalLibrary::setFolders(std::vector<std::string> folders) {
    folders_ = std::move(folders);
    scan();
}

void LocalLibrary::scan() {
    if (scanning_) {
        scanAgain_ = true;
        return;
    }
    startScan();
}

void LocalLibrary::stopScan() {
    scanAgain_ = false;
    if (scanTask_) scanTask_->requestStop();
}

void LocalLibrary::startScan() {
    scanning_ = true;
    emit scanStarted();
    scanTask_ = tasks_.start([this, folders = folders_, indexPath = indexPath_] {
        ScanResult result = scanFolders(folders, indexPath, [this](const ScanProgress& progress) {
            runOnUiThread(this, [this, progress] { emit scanProgress(progress.done, progress.total); });
        });
        runOnUiThread(this, [this, result = std::move(result)]() mutable { onScanEnded(std::move(result)); });
    });
}

void LocalLibrary::onScanEnded(ScanResult result) {
    scanning_ = false;
    if (result.finished) watch(result.directories);
    lastResult_ = std::move(result);
    emit scanFinished();
    if (std::exchange(scanAgain_, false)) startScan();
}

void LocalLibrary::watch(const std::vector<std::string>& directories) {
    const QStringList watched = watcher_.directories();
    if (!watched.isEmpty()) watcher_.removePaths(watched);
    QStringList paths;
    for (const std::string& directory : directories) paths << QString::fromStdString(directory);
    if (!paths.isEmpty()) watcher_.addPaths(paths);
}

std::vector<LocalSong> LocalLibrary::songs() const { return index_.songs(); }

std::vector<LocalSong> LocalLibrary::search(const std::string& keyword) const { return index_.search(keyword); }

std::optional<LocalSong> findLocalSong(const std::string& indexPath, const std::string& songId) {
    LocalIndex index(indexPath);
    return index.song(songId);
}
