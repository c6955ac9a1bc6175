#pragma once
// The play bar inside the main window's play-bar strip: cover, title and
// artists, previous, play/pause and next, the MV button, the three play-mode
// buttons, volume and mute, the desktop-lyrics and spectrum switches, the
// version label, and the progress slider along its top edge with the elapsed
// and total times shown above it while the mouse is over it, and below the
// play button as "elapsed / total". A click on the progress slider seeks
// there (a drag shows the time it would seek to and seeks on release); a
// click on the volume slider sets the volume there, and the wheel over it
// turns it up or down.
//
// A view of the player: it draws what the player says and sends what the
// user does; it keeps no player state of its own. UI thread only.
#include "player/Player.h"

#include <QWidget>
#include <array>
#include <optional>

enum class PlayBarIcon;
class JumpSlider;
class PictureBox;
class PlayBarButton;
class LikedSongs;
class QAction;
class QLabel;
class QMenu;
class QSlider;

class PlayBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTipShowMs = 3000;
    // The volume one notch of the mouse wheel moves.
    static constexpr int kVolumeWheelStep = 5;

    // Fills `strip`; the two time boxes go into the strip's parent (the main
    // window).
    PlayBar(Player& player, QWidget* strip);

    // The view a click on the cover slides up and down.
    void setNowPlayingView(QWidget* view) { nowPlayingView_ = view; }
    // The cover's pop-up menu "打开播放列表", "下载此歌曲", owned by the
    // main window; what its items do is connected by their owners.
    QMenu* coverMenu() const { return coverMenu_; }
    QAction* playListAction() const { return playListAction_; }
    QAction* downloadAction() const { return downloadAction_; }
    // The download item tells the running download's percentage; without
    // one it reads "下载此歌曲" again.
    void showDownloadProgress(std::optional<int> percentage);
    // The current song's cover, decoded.
    void showCover(const QImage& cover);

    // The heart of the song shown (filled when liked; a click likes or
    // unlikes it, or tells a logged-out user to log in first, sending
    // nothing) and the personal FM look: the bin ("不喜欢") in place of
    // "previous" and "私人FM" in place of the mode buttons.
    void showListening(LikedSongs& liked);
    QWidget* heartButton() const;
    QWidget* trashButton() const;
    QWidget* fmBadge() const;

    bool showsPauseIcon() const;
    bool showsMutedIcon() const;
    // The text the hover tip of `button` shows now; empty for buttons without one.
    QString hoverTip(const QWidget* button) const;

signals:
    void mvClicked();
    void desktopLyricsToggled(bool shown);
    void spectrumToggled(bool shown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followStripWidth(QWidget* strip);
    void createSongControls(QWidget* window);
    void createTransportButtons();
    void createModeButtons();
    void createVolumeControls();
    void createSwitches();
    PlayBarButton* createSwitch(const char* name, PlayBarIcon icon, QPoint topLeft, void (PlayBar::*toggled)(bool));
    void createProgress(QWidget* window);
    void createTimeLine();
    // Keeps the time line centred under the play button.
    void placeTimeLine();
    void showTimeLine();
    // The slider is dragged to `ticks`: the times show where it would seek.
    void previewSeek(int ticks);
    void seekWhereReleased();
    // Mouse and wheel on the sliders and the play button; true when used up.
    bool filterSliderEvent(QObject* watched, QEvent* event);
    QWidget* createTimeBox(QWidget* window, const char* boxName, const char* labelName, int left, QLabel*& label);
    void showPlayer();

    void showSong(const QString& title, const QString& artists);
    void showLength(int seconds);
    void showProgress(int ticks, int elapsedSeconds);
    void showMode(std::optional<PlayMode> mode);
    void showVolume(int volume, bool muted);
    void lockPlayStarters(bool locked);
    void showCleared();
    void showHeart();
    void showFm(bool on);

    Player& player_;
    QWidget* nowPlayingView_ = nullptr;
    QMenu* coverMenu_ = nullptr;
    QAction* playListAction_ = nullptr;
    QAction* downloadAction_ = nullptr;
    PictureBox* cover_ = nullptr;
    QImage designedCover_;  // shown again when the queue is cleared
    QLabel* title_ = nullptr;
    QLabel* artists_ = nullptr;
    PlayBarButton* previous_ = nullptr;
    PlayBarButton* play_ = nullptr;  // second picture: pause
    PlayBarButton* next_ = nullptr;
    PlayBarButton* mv_ = nullptr;
    std::array<PlayBarButton*, 3> modeButtons_{};  // in PlayMode order; second picture: highlighted
    PlayBarButton* mute_ = nullptr;                // second picture: muted
    JumpSlider* volumeSlider_ = nullptr;
    PlayBarButton* lyrics_ = nullptr;    // second picture: lyrics shown
    PlayBarButton* spectrum_ = nullptr;  // second picture: spectrum on
    JumpSlider* progress_ = nullptr;
    QLabel* timeLine_ = nullptr;  // "elapsed / total" under the play button
    QWidget* elapsedBox_ = nullptr;
    QWidget* totalBox_ = nullptr;
    QLabel* elapsed_ = nullptr;
    QLabel* total_ = nullptr;
    LikedSongs* liked_ = nullptr;
    PlayBarButton* heart_ = nullptr;  // second picture: liked
    PlayBarButton* trash_ = nullptr;
    QLabel* fmBadge_ = nullptr;
};
