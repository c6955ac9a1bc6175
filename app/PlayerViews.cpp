#include "app/PlayerViews.h"

#include "player/Player.h"
#include "ui/pictures/Artwork.h"
#include "ui/pictures/PictureDecoder.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PlayBar.h"
#include "ui/windows/DesktopLyricsWindow.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/NowPlayingView.h"

#include <QListWidget>
#include <memory>

namespace {

const Notice kSongFailed{
    .title = "播放失败啦",
    .content =
        "Mivra酱无法为您播放这首音乐，可能是因为这首歌在网易云音乐已经没有了版权，或者是这首歌已下架...可惜呢...",
    .confirmCaption = "接受事实",
};

// Covers are shown at most 320 pixels wide (twice that on dense screens).
constexpr QSize kCoverPixels(640, 640);

QImage coverPicture(const QByteArray& bytes) {
    QImage cover = decodePicture(std::string_view(bytes.constData(), size_t(bytes.size())), kCoverPixels);
    return cover.isNull() ? Artwork::render(Artwork::Picture::SongNote, kCoverPixels) : cover;
}

// The selected line of the now-playing view's list fills as its words are
// sung. The selection moves by the line lyrics' whole seconds and the fill by
// the words' own times, so each is checked against the other whenever either
// changes.
void connectListFill(Player& player, NowPlayingView& nowPlaying) {
    auto sung = std::make_shared<std::pair<int, double>>(-1, 0.0);  // the line sung and its fill
    const auto show = [&player, &nowPlaying, sung] {
        const int row = nowPlaying.lyricList()->currentRow();
        const std::vector<LyricItem>& items = player.lyrics().items();
        nowPlaying.showSungPart(row >= 0 && size_t(row) < items.size()
                                    ? player.wordLyrics().sungPartOf(items[size_t(row)].text, sung->first, sung->second)
                                    : std::nullopt);
    };
    QObject::connect(&player, &Player::wordFillChanged, &nowPlaying, [sung, show](int line, double fill) {
        *sung = {line, fill};
        show();
    });
    QObject::connect(&player, &Player::lyricSelected, &nowPlaying, show);
    QObject::connect(&player, &Player::lyricsChanged, &nowPlaying, [sung] { *sung = {-1, 0.0}; });
}

// The lyric offset's buttons and label, and the sung part of the desktop
// line where the song's words are timed (when the line shown is the one sung).
void connectLyricFollowing(Player& player, NowPlayingView& nowPlaying, DesktopLyricsWindow& desktop) {
    QObject::connect(nowPlaying.earlierButton(), &QAbstractButton::clicked, &player,
                     [&player] { player.shiftLyrics(+1); });
    QObject::connect(nowPlaying.laterButton(), &QAbstractButton::clicked, &player,
                     [&player] { player.shiftLyrics(-1); });
    QObject::connect(&player, &Player::lyricOffsetChanged, &nowPlaying, &NowPlayingView::showLyricOffset);
    QObject::connect(&player, &Player::wordFillChanged, &desktop, [&player, &desktop](int line, double fill) {
        desktop.setSungPart(player.wordLyrics().sungPartOf(desktop.text(), line, fill));
    });
    connectListFill(player, nowPlaying);
}

}  // namespace

void connectPlayerViews(Player& player, const PlayerViews& views) {
    MainWindow& window = views.window;
    NowPlayingView& nowPlaying = views.nowPlaying;
    PlayBar& bar = views.bar;

    QObject::connect(&window.router(), &Router::playRequested, &player, &Player::play);
    QObject::connect(&window.router(), &Router::playListRequested, &player, &Player::playList);
    QObject::connect(&window.router(), &Router::queueRequested, &player, &Player::appendToQueue);
    QObject::connect(&player, &Player::loadingChanged, &window, &MainWindow::lockPlayStarters);

    QObject::connect(
        &player, &Player::songChanged, &nowPlaying,
        [&nowPlaying](const QString& title, const QString& artists) { nowPlaying.setTitle(title + " - " + artists); });
    QObject::connect(&player, &Player::coverChanged, &nowPlaying, [&nowPlaying, &bar](const QByteArray& bytes) {
        const QImage cover = coverPicture(bytes);
        bar.showCover(cover);
        nowPlaying.showCover(cover);
    });
    QObject::connect(&player, &Player::lyricsChanged, &nowPlaying, [&nowPlaying, &player] {
        nowPlaying.clearLyrics();
        nowPlaying.setLyrics(player.lyrics().items(), player.lyrics().listHeight());
    });
    QObject::connect(&player, &Player::lyricSelected, &nowPlaying, &NowPlayingView::selectLyric);
    connectLyricFollowing(player, nowPlaying, views.desktopLyrics);

    DesktopLyricsWindow& desktop = views.desktopLyrics;
    QObject::connect(&player, &Player::desktopLyricChanged, &desktop,
                     [&desktop](const QString& text) { desktop.setText(text.toStdString()); });
    QObject::connect(&bar, &PlayBar::desktopLyricsToggled, &desktop, &QWidget::setVisible);

    QObject::connect(&player, &Player::songFailed, &window, [] { MessageBoxWindow::show(kSongFailed); });
}
