#include "app/CoverMenuActions.h"

#include "download/SongDownloader.h"
#include "player/Player.h"
#include "ui/widgets/PlayBar.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/PlayListWindow.h"
#include "ui/windows/ProgramWindow.h"

#include <QAction>

namespace {

std::string songName(const DownloadRequest& song) { return song.artist + "-" + song.title; }

Notice busyNotice(const DownloadRequest& running, int percentage) {
    return {.title = "已有下载任务在进行",
            .content = "当前正在下载[" + songName(running) +
                       "]，请等待该任务结束后再创建新的下载任务！当前下载任务进度：" + std::to_string(percentage) +
                       "% ......",
            .confirmCaption = "知道了"};
}

// Saying where the song went; the folder opens only when the user asks.
Notice doneNotice(const DownloadRequest& saved, const std::string& folder) {
    return {.title = "下载完成啦",
            .content = "Mivra酱已经把[" + songName(saved) + "]下载好啦，保存在：" + folder,
            .confirmCaption = "打开文件夹",
            .cancelCaption = "知道了",
            .folder = folder};
}

Notice failedNotice(const DownloadRequest& failed) {
    return {.title = "下载失败啦",
            .content = "Mivra酱没能把[" + songName(failed) +
                       "]下载下来，可能是网络出了点问题，或者这首歌暂时无法下载，请稍后再试一次吧！",
            .confirmCaption = "知道了"};
}

}  // namespace

CoverMenuActions::CoverMenuActions(PlayBar& bar, Player& player, SongDownloader& downloader,
                                   const CloudApiClient& catalogue, const MainWindow& window)
    : bar_(bar), player_(player), downloader_(downloader), songNames_(catalogue), window_(window) {
    connect(bar.playListAction(), &QAction::triggered, this, &CoverMenuActions::openPlayList);
    connect(bar.downloadAction(), &QAction::triggered, this, &CoverMenuActions::startSongDownload);
    followDownloads();
}

CoverMenuActions::~CoverMenuActions() { delete playList_.data(); }

PlayListWindow* CoverMenuActions::playListWindow() const { return playList_.data(); }

void CoverMenuActions::openPlayList() {
    if (!playList_) {
        playList_ = new PlayListWindow(player_, songNames_, window_.listTypeface());
        playList_->setAttribute(Qt::WA_DeleteOnClose);
        // It opens over the middle of the main window, wherever that is.
        ProgramWindow::adopt(playList_);
        ProgramWindow::centre(playList_);
    } else {
        playList_->reload();
    }
    playList_->show();
    playList_->raise();
    playList_->activateWindow();
}

// The song shown now, with the texts the bar shows for it; a second request
// while one runs only tells how far that one has come.
void CoverMenuActions::startSongDownload() {
    const SongDownloader::Start started =
        downloader_.start({player_.currentSongId(), player_.artists(), player_.title()});
    if (started == SongDownloader::Start::Busy)
        MessageBoxWindow::show(busyNotice(downloader_.song(), downloader_.percentage()));
}

void CoverMenuActions::followDownloads() {
    connect(&downloader_, &SongDownloader::progressChanged, this,
            [this](int percentage) { bar_.showDownloadProgress(percentage); });
    connect(&downloader_, &SongDownloader::completed, this, [this] {
        bar_.showDownloadProgress(std::nullopt);
        MessageBoxWindow::show(doneNotice(downloader_.song(), downloader_.folder()));
    });
    connect(&downloader_, &SongDownloader::failed, this, [this] {
        bar_.showDownloadProgress(std::nullopt);
        MessageBoxWindow::show(failedNotice(downloader_.song()));
    });
}
