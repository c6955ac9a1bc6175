#pragma once
// The play bar inside the main window's play-bar strip: cover, title and
// artists, previous, play/pause and next, the MV button, the three play-mode
// buttons, volume and mute, the desktop-lyrics and spectrum switches, the
// version label, and the progress slider along its top edge with the elapsed
// and total times shown above it while the mouse is over it.
//
// The bar drives the one audio engine on the stream the play flow hands it.
// The progress slider counts the ticks of the play timer `时钟_播放`, once a
// second while a song plays; a song has ended when the count reaches the
// slider's maximum, the song's length plus one. Everything here runs on the
// UI thread.
#include "base/AppSettings.h"
#include "base/StoredSettings.h"
#include "audio/AudioEngine.h"
#include "player/PlayBarState.h"

#include <QTimer>
#include <QWidget>
#include <array>
#include <optional>

class PictureBox;
class PlayBarButton;
class QLabel;
class QMenu;
class QSlider;

class PlayBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPlayTickMs = 1000;
    static constexpr int kTipShowMs = 3000;

    // Fills `strip`; the two time boxes go into the strip's parent (the main
    // window). A chosen play mode is written to `settings` at once.
    PlayBar(AudioEngine& engine, AppSettings settings, QWidget* strip);

    // The view a click on the cover slides up and down.
    void setNowPlayingView(QWidget* view) { nowPlayingView_ = view; }
    // The cover's pop-up menu "打开播放列表", "下载此歌曲", owned by the
    // main window; what its items do is connected by their owners.
    QMenu* coverMenu() const { return coverMenu_; }

    // The stream every control acts on; 0 before the first song.
    void setCurrentStream(AudioEngine::Handle stream) { stream_ = stream; }
    AudioEngine::Handle currentStream() const { return stream_; }

    // Start-up: the stored volume and mode. An empty volume keeps the
    // slider's designed position; an empty mode highlights no mode button.
    void applyStoredSettings(const StoredSettings& stored);

    // What a song's start shows.
    void showSong(const QString& title, const QString& artists);
    void showCover(const QImage& cover);
    // Total time "mm:ss", slider maximum = seconds + 1, slider at 0.
    void setSongLength(int seconds);
    void setMvAvailable(bool available);

    // The mode whose button is highlighted, if any.
    std::optional<PlayMode> playMode() const;
    // Highlights the mode's button and writes the mode when it was not
    // already chosen; the other two buttons go back to normal.
    void chooseMode(PlayMode mode);

    // The play button's click: play or pause the current stream and start or
    // stop the play timer.
    void togglePlay();
    // Makes the play button show the pause icon (a song has started).
    void showPlaying();
    // Makes the play button show the play icon and stops the play timer, as
    // a pause does, without touching the stream (it is paused already).
    void showPaused();
    bool showsPauseIcon() const;

    // One tick of the play timer: the elapsed time, one more slider step, and
    // the stopped state when the stream is found stopped.
    void tickPlayTimer();
    QTimer& playTimer() { return playTimer_; }
    // The end-of-song check's test: the slider has counted to its maximum.
    bool songEnded() const;
    // Sets the progress slider without seeking (the end-of-song check's reset).
    void setProgress(int position);

    // The volume slider's position, which a new song gets.
    int volume() const { return volume_.position(); }
    bool showsMutedIcon() const;
    // The mute button's click.
    void toggleMute();

    // The text the hover tip of `button` shows now; empty for buttons without one.
    QString hoverTip(const QWidget* button) const;

signals:
    void previousClicked();
    void nextClicked();
    void mvClicked();
    // The user moved the progress slider and the stream was sought there.
    void seeked(int seconds);
    void desktopLyricsToggled(bool shown);
    void spectrumToggled(bool shown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createSongControls(QWidget* window);
    void createTransportButtons();
    void createModeButtons();
    void createVolumeControls();
    void createSwitches();
    void createProgress(QWidget* window);
    QWidget* createTimeBox(QWidget* window, const char* boxName, const char* labelName, int left, QLabel*& label);

    void onProgressMovedByUser(int position);
    void onVolumeMovedByUser(int volume);
    void showVolume();
    void showElapsed(const std::string& text);

    AudioEngine& engine_;
    const AppSettings settings_;
    AudioEngine::Handle stream_ = 0;
    VolumeMemory volume_;
    QTimer playTimer_;

    QWidget* nowPlayingView_ = nullptr;
    QMenu* coverMenu_ = nullptr;
    PictureBox* cover_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* artists_ = nullptr;
    PlayBarButton* previous_ = nullptr;
    PlayBarButton* play_ = nullptr;  // second picture: pause
    PlayBarButton* next_ = nullptr;
    PlayBarButton* mv_ = nullptr;
    std::array<PlayBarButton*, 3> modeButtons_{};  // in PlayMode order; second picture: highlighted
    PlayBarButton* mute_ = nullptr;                 // second picture: muted
    QSlider* volumeSlider_ = nullptr;
    PlayBarButton* lyrics_ = nullptr;    // second picture: lyrics shown
    PlayBarButton* spectrum_ = nullptr;  // second picture: spectrum on
    QSlider* progress_ = nullptr;
    QWidget* elapsedBox_ = nullptr;
    QWidget* totalBox_ = nullptr;
    QLabel* elapsed_ = nullptr;
    QLabel* total_ = nullptr;
};
