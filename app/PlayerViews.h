#pragma once
// Shows the player in the windows that draw it: the now-playing view, the
// desktop lyrics, the page lists that start a play, and the notice for a song
// that cannot be played. The play bar follows the player by itself.
class DesktopLyricsWindow;
class MainWindow;
class NowPlayingView;
class PlayBar;
class Player;

struct PlayerViews {
    MainWindow& window;
    PlayBar& bar;
    NowPlayingView& nowPlaying;
    DesktopLyricsWindow& desktopLyrics;
};

// Connects the views to `player` and the window's play and queue requests
// to it. All of them must outlive the connections or be destroyed with them.
void connectPlayerViews(Player& player, const PlayerViews& views);
