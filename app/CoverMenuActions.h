#pragma once
// What the play bar's cover menu does: "打开播放列表" opens the play-list
// window, which exists once (opening it again raises and reloads it), and
// "下载此歌曲" downloads the song shown. The user hears how the download goes:
// a notice while another one runs or when it fails, the menu item's running
// percentage, and a notice once the song is saved.
// UI thread only.
#include "browse/SongNames.h"

#include <QObject>
#include <QPointer>

class CloudApiClient;
class MainWindow;
class PlayBar;
class PlayListWindow;
class Player;
class SongDownloader;

class CoverMenuActions : public QObject {
public:
    // All of them must outlive this object.
    CoverMenuActions(PlayBar& bar, Player& player, SongDownloader& downloader, const CloudApiClient& catalogue,
                     const MainWindow& window);
    // Closes the play-list window, which shows the player.
    ~CoverMenuActions() override;

    void openPlayList();
    void startSongDownload();
    // The play-list window while it is open, otherwise nullptr.
    PlayListWindow* playListWindow() const;

private:
    void followDownloads();

    PlayBar& bar_;
    Player& player_;
    SongDownloader& downloader_;
    const SongNames songNames_;  // what the play-list window names its rows with
    const MainWindow& window_;
    QPointer<PlayListWindow> playList_;
};
