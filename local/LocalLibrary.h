#pragma once
// The user's own music as the program sees it: the watched folders, their
// scan on a background task with its progress, the index it fills, and a
// file-system watcher that scans again (quickly: unchanged files are not
// read) a moment after something in a watched folder changes.
//
// Threads: every public call and every signal is the UI thread's, and so
// are all fields; the scan runs on a task of `tasks_` with an index
// connection of its own and hands progress and its result to the UI thread.
// Lookups from other threads (a play task) use findLocalSong().
#include "base/BackgroundTask.h"
#include "local/FolderScan.h"
#include "local/LocalIndex.h"
#include "local/LocalSong.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class LocalLibrary : public QObject {
    Q_OBJECT
public:
    // How long after a change in a watched folder the scan starts, so a
    // folder being copied in is scanned once rather than per file.
    static constexpr int kRescanDelayMs = 1500;

    explicit LocalLibrary(std::string indexPath, QObject* parent = nullptr);
    ~LocalLibrary() override;

    const std::string& indexPath() const { return indexPath_; }
    const std::vector<std::string>& folders() const { return folders_; }
    // Watches `folders` instead and scans them.
    void setFolders(std::vector<std::string> folders);

    // Starts a scan; asked while one runs, another follows it.
    void scan();
    // Asks a scan under way to stop (it keeps what it committed).
    void stopScan();
    bool isScanning() const { return scanning_; }
    const ScanResult& lastResult() const { return lastResult_; }

    std::vector<LocalSong> songs() const;
    std::vector<LocalSong> search(const std::string& keyword) const;

signals:
    void scanStarted();
    void scanProgress(int done, int total);
    // The scan ended (see lastResult()); the songs may have changed.
    void scanFinished();

private:
    void startScan();
    void onScanEnded(ScanResult result);
    void watch(const std::vector<std::string>& directories);

    const std::string indexPath_;
    LocalIndex index_;  // the UI thread's connection, for reading
    std::vector<std::string> folders_;
    bool scanning_ = false;
    bool scanAgain_ = false;
    ScanResult lastResult_;
    BackgroundTask::Handle scanTask_;
    QFileSystemWatcher watcher_;
    QTimer rescanDelay_;
    TaskOwner tasks_;  // last: its tasks end before the fields above go
};

// The indexed song with `songId`, through a connection of its own; safe on
// any thread.
std::optional<LocalSong> findLocalSong(const std::string& indexPath, const std::string& songId);
