#pragma once
// The program's one song download at a time: its state (busy, percentage,
// the artist and title it was asked for), the job on a background task and
// the progress timer `时钟_下载进度回调`, which tells how far it has come
// once a second while it runs. What the user sees of it (notices, the
// folder opened, the menu item's percentage) is up to whoever listens.
//
// Threads: the public calls, the signals and the timer are the UI thread's,
// as are all fields but `percentage_`, which the job's task writes as bytes
// arrive and the UI thread reads.
#include "base/BackgroundTask.h"
#include "download/SongDownloadJob.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>
#include <string>

class CloudApiClient;
class PlayedAudioCache;

class SongDownloader : public QObject {
    Q_OBJECT
public:
    static constexpr int kProgressTickMs = 1000;

    enum class Start {
        Started,
        Busy,    // another download runs; nothing new starts
        NoSong,  // there is no song to download
    };

    // Songs are saved into `folder`; `api` must outlive the downloader.
    SongDownloader(const CloudApiClient& api, std::string folder, QObject* parent = nullptr);
    // A download still running is stopped, leaving nothing behind.
    ~SongDownloader() override;

    // Songs kept in `played` are copied from there from now on.
    void copyPlayedFrom(std::shared_ptr<const PlayedAudioCache> played) { played_ = std::move(played); }

    // The user's own songs (ids from localSongId) are copied from their
    // files, found in the local index at `indexPath`, from now on.
    void copyLocalSongsFrom(std::string indexPath) { localIndex_ = std::move(indexPath); }

    // Starts downloading `song` unless a download runs or the song has no id.
    Start start(const DownloadRequest& song);

    bool isBusy() const { return busy_; }
    // The running download's progress, or the last one's.
    int percentage() const { return percentage_.load(); }
    // The running download's song, or the last one's.
    const DownloadRequest& song() const { return song_; }
    const std::string& folder() const { return folder_; }
    QTimer& progressTimer() { return progressTimer_; }

signals:
    // Once a second while a download runs, and when it starts.
    void progressChanged(int percentage);
    // The song is saved at `filePath`; busy is clear again.
    void completed(const QString& filePath);
    // The download failed and left nothing behind; busy is clear again.
    void failed(const QString& artist, const QString& title);

private:
    void finish(const DownloadResult& result);

    const CloudApiClient& api_;
    const std::string folder_;
    std::shared_ptr<const PlayedAudioCache> played_;  // may be null
    std::string localIndex_;                          // empty: local songs cannot be found
    bool busy_ = false;
    DownloadRequest song_;
    std::atomic<int> percentage_{0};
    QTimer progressTimer_;
    TaskOwner tasks_;  // last: the job ends before anything it uses goes
};
