#pragma once
// Turns song ids into sound. Every way of playing a song (a page's song list,
// next and previous, the end of a song) ends in `play`, which runs the play
// flow on a task of its own: stop the current song, fetch the new one's
// stream address, details, cover and lyrics, start the stream, and show it
// all in the play bar, the now-playing view and the desktop lyrics. It also
// decides what plays next (the queue and the play modes) and runs the lyric
// and end-of-song timers.
//
// Play requests are serialised: play tasks run one after another, and a task
// that a newer request has superseded stops at its next step, freeing any
// stream it made, so at most one song ever sounds. The controls that start a
// play are disabled while a song loads.
//
// Threads: the public calls, the timers and every control update run on the
// UI thread. Play tasks and availability checks run on their own threads and
// hand each control update to the UI thread, in order.
#include "api/CloudApiClient.h"
#include "base/BackgroundTask.h"
#include "player/LyricTimeline.h"
#include "audio/AudioEngine.h"
#include "player/PlayQueue.h"

#include <QImage>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

class DesktopLyricsWindow;
class NowPlayingView;
class PlayBar;

class PlayerController : public QObject {
    Q_OBJECT
public:
    static constexpr int kLyricTickMs = 500;
    static constexpr int kRestartLyricTickMs = 400;
    static constexpr int kEndCheckMs = 1000;

    // The windows a song is shown in; all must outlive the controller.
    struct Views {
        QWidget& window;  // holds the controls locked while a song loads
        PlayBar& bar;
        NowPlayingView& nowPlaying;
        DesktopLyricsWindow& desktopLyrics;
    };

    // `serviceCookie` goes with every availability check.
    PlayerController(const CloudApiClient& api, AudioEngine& engine, std::string serviceCookie, Views views);
    // Supersedes every running play and waits until no task of this
    // controller runs any more.
    ~PlayerController() override;

    // Starts playing `songId` (it becomes `songIdToPlay`) and returns the
    // play task; an empty id starts nothing.
    BackgroundTask::Handle play(const std::string& songId);
    // The next queued song by the play mode, skipping songs the service
    // reports unavailable; after every queued song has been tried once in
    // vain nothing plays. Returns the task that picks and starts the song.
    BackgroundTask::Handle playNext();
    // The previous queued song (no availability check), waited for while
    // the window keeps pumping events.
    void playPrevious();

    // One tick of `时钟_判断`: when the progress slider has counted to its
    // end, the song restarts, the next one plays or a random one, by mode.
    void checkSongEnd();
    // One tick of `时钟_歌词`, and what a seek runs at once: the current
    // second's line on the desktop and selected in the lyric list.
    void tickLyrics();

    const std::string& songIdToPlay() const { return songIdToPlay_; }
    AudioEngine::Handle currentStream() const { return currentStream_.load(); }
    const std::string& currentMvId() const { return currentMvId_; }
    int songSeconds() const { return songSeconds_; }
    PlayQueue& queue() { return queue_; }
    QTimer& lyricTimer() { return lyricTimer_; }
    QTimer& endCheckTimer() { return endCheckTimer_; }

signals:
    // A song's play flow has run to its end and the song plays.
    void songStarted(const std::string& songId);
    // The service had no stream for the song; the failure notice is up.
    void songFailed(const std::string& songId);

private:
    // What the play task gathers before the song is shown and started.
    struct LoadedSong {
        std::string id;
        SongDetail detail;
        QImage cover;
        AudioEngine::Handle stream = 0;
        int seconds = 0;
        std::shared_ptr<const LyricTimeline> lyrics;
    };

    // The play flow, run on a play task.
    void playSong(const std::string& songId, std::uint64_t request);
    bool superseded(std::uint64_t request) const { return latestRequest_.load() != request; }
    void freeCurrentStream();
    void failSong(const std::string& songId);
    std::optional<LoadedSong> loadSong(const std::string& songId, const std::string& streamUrl, std::uint64_t request);
    void showSong(const LoadedSong& song);
    void startSong(const LoadedSong& song);
    void lockPlayControls(bool locked);
    void onUi(std::function<void()> update);
    BackgroundTask::Handle startTask(std::function<void()> routine);

    // Fixed at construction.
    const CloudApiClient& api_;
    AudioEngine& engine_;
    const std::string serviceCookie_;
    Views views_;

    PlayQueue queue_;  // thread-safe on its own

    // UI thread only.
    std::string songIdToPlay_;
    std::string currentMvId_ = "0";
    int songSeconds_ = 0;
    int failuresInARow_ = 0;  // songs without a stream since the last one that played
    std::shared_ptr<const LyricTimeline> lyrics_ = std::make_shared<LyricTimeline>();
    QTimer lyricTimer_;
    QTimer endCheckTimer_;

    // Play tasks hold `playSerial_` for their whole run, so they run one
    // after another; `currentStream_` is written only while holding it.
    std::mutex playSerial_;
    std::atomic<AudioEngine::Handle> currentStream_{0};
    std::atomic<std::uint64_t> latestRequest_{0};  // bumped by every play request

    TaskOwner tasks_;  // last: its tasks stop before anything they use goes
};
