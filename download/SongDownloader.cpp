#include "download/SongDownloader.h"

#include "local/LocalSong.h"

SongDownloader::SongDownloader(const CloudApiClient& api, std::string folder, QObject* parent)
    : QObject(parent), api_(api), folder_(std::move(folder)) {
    progressTimer_.setObjectName("时钟_下载进度回调");
    connect(&progressTimer_, &QTimer::timeout, this, [this] { emit progressChanged(percentage()); });
}

SongDownloader::~SongDownloader() = default;

SongDownloader::Start SongDownloader::start(const DownloadRequest& song) {
    if (busy_) return Start::Busy;
    if (song.songId.empty()) return Start::NoSong;
    busy_ = true;
    song_ = song;
    percentage_.store(0);
    tasks_.start([this, song, played = played_, localIndex = localIndex_] {
        const DownloadResult result = isLocalSongId(song.songId)
                                          ? copyLocalSong(song, localIndex, folder_, percentage_)
                                          : downloadSong(api_, song, folder_, percentage_, played.get());
        runOnUiThread(this, [this, result] { finish(result); });
    });
    progressTimer_.start(kProgressTickMs);
    emit progressChanged(0);
    return Start::Started;
}

void SongDownloader::finish(const DownloadResult& result) {
    busy_ = false;
    progressTimer_.stop();
    if (result.complete)
        emit completed(QString::fromStdString(result.filePath));
    else
        emit failed(QString::fromStdString(song_.artist), QString::fromStdString(song_.title));
}
