#pragma once
// The player: turns song ids into sound and owns everything about what plays.
// It holds the current stream, the queue, the play mode, the progress, the
// volume, the lyric timeline and the timers that follow a song, decides what
// plays next, and counts songs that failed in a row. Windows are views of
// it: they draw what its signals say and call its intents; none of them
// keeps a copy of its state or talks to the audio engine.
//
// A play runs as three tasks side by side: the stream (its address, then the
// stream opened at once), the details and cover, and the lyrics. What they
// find is shown as soon as the address is known to exist, and the sound
// starts once the stream is open and the lyrics are loaded or have failed.
// A newer play supersedes an older one: the older one's tasks are asked to
// stop (their HTTP transfers and stream open give up) and whatever they still
// hand over is dropped, so at most one song ever sounds.
//
// Songs follow each other without a gap: when the engine says a song is
// about to end, the song the play mode picks next (the same one, the next
// queued or a random one) is fetched and its stream opened to follow the
// song playing in the same output. When the engine says the song has ended,
// that song already sounds and is shown at once. The count of progress
// ticks still ends a song whose stream does not end by itself.
//
// Lyrics follow the audio clock: the lyric timer is set for the moment the
// audio position reaches the next change (a line, or a frame of the words
// filling where the service times each word), moved by the song's lyric
// offset, which the user shifts in half seconds and which is kept per song.
//
// Personal FM is a mode of its own: the service's FM stream is played a
// few songs ahead (its next song opened ahead to follow without a gap, as
// the play mode's pick is otherwise), next plays its next song, previous
// does nothing, and any play the user starts otherwise leaves it.
//
// Songs played are kept in the played-audio cache when one is given: a song
// found there plays from its file (also when the service gives no address,
// as without a network), and a song that is not is recorded as it streams.
//
// Threads: every public call, every signal and the timers run on the UI
// thread; all fields below are the UI thread's. Tasks only fetch and open,
// and hand their results to the UI thread in order.
#include "api/CloudApiClient.h"
#include "audio/AudioEngine.h"
#include "audio/PlayedAudioCache.h"
#include "base/AppSettings.h"
#include "base/BackgroundTask.h"
#include "player/LoudnessLevelling.h"
#include "player/LyricOffsets.h"
#include "player/LyricTimeline.h"
#include "player/PlayBarState.h"
#include "player/PlayMode.h"
#include "player/PlayQueue.h"
#include "player/ResumePoint.h"
#include "player/SongLookup.h"
#include "player/WordLyrics.h"

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Player : public QObject {
    Q_OBJECT
public:
    static constexpr int kPlayTickMs = 1000;
    static constexpr int kLyricTickMs = 500;
    static constexpr int kRestartLyricTickMs = 400;
    static constexpr int kEndCheckMs = 1000;

    // `serviceCookie` goes with every availability check; a chosen mode is
    // written to `settings` at once.
    Player(const CloudApiClient& api, AudioEngine& engine, std::string serviceCookie, AppSettings settings,
           QObject* parent = nullptr);
    // Stops every task and frees the current stream.
    ~Player() override;

    // Where measured loudness is kept between plays and runs (nothing is
    // kept before this is called).
    void keepLoudnessIn(std::shared_ptr<DiskCache> cache) { loudness_ = LoudnessMemory(std::move(cache)); }
    // Where the audio of songs played is kept and looked for (nothing is
    // kept before this is called).
    void keepPlayedAudioIn(std::shared_ptr<PlayedAudioCache> cache) { playedAudio_ = std::move(cache); }
    const std::shared_ptr<PlayedAudioCache>& playedAudio() const { return playedAudio_; }

    // Where the songs' lyric offsets are kept between runs (none are kept
    // before this is called).
    void keepLyricOffsetsIn(const std::string& path) { lyricOffsets_ = LyricOffsets(path); }

    // The user's own songs (ids from localSongId) are played from their
    // files, found in the local index at `indexPath`, as service songs are.
    void playLocalSongsFrom(std::string indexPath) { songs_.setLocalIndex(std::move(indexPath)); }

    // Start-up: the stored volume and mode, applied without writing them.
    // An empty volume keeps the designed one; a text naming no mode chooses none.
    void applyStored(std::optional<int> volume, const std::string& modeText);

    // Where listening stands: the queue, the song on show and its position,
    // the volume and the mode.
    ResumePoint resumePoint() const;
    // Start-up: the queue, volume and mode of `point` come back, and its song
    // is loaded and shown paused at its position; the play button plays on.
    // A song of the personal FM comes back in FM for the account of
    // `accountCookie`; without one (logged out) it comes back as a song alone.
    void resume(const ResumePoint& point, const std::string& accountCookie = {});

    // Intents.
    // Starts playing `songId`, superseding any play still loading (and
    // leaving personal FM); an empty id does nothing. Once the song is
    // known to play it is the queue's current song (appended if new).
    void play(const std::string& songId);
    // A page's list: the queue becomes `songIds` in their order and the song
    // at `index` (from 0) plays, so next and previous walk the list from
    // there. An index outside the list does nothing.
    void playList(const std::vector<std::string>& songIds, int index);
    // Personal FM for the account of `accountCookie`: its first song plays
    // as soon as the stream gives one.
    void startFm(const std::string& accountCookie);
    // Tells the service the FM song playing is not wanted and plays the next.
    void trashFm();
    bool inFm() const { return fm_.has_value(); }
    // Shows the lyrics `steps` half seconds earlier (negative: later) for
    // the song on show, and keeps that for the song.
    void shiftLyrics(int steps);
    int lyricOffsetMs() const { return lyricOffsetMs_; }
    // The play button: pause a playing song, or resume it.
    void togglePlay();
    // The progress slider is held (the sound pauses) and let go (it goes on).
    void holdForSeek();
    void releaseSeek();
    // The user moved the progress slider to `seconds`: the stream seeks there
    // and the lyrics follow at once.
    void seek(int seconds);
    // In FM the stream's next song. Otherwise the next queued song by the play mode, skipping songs the service
    // reports unavailable; after every queued song has been tried once in
    // vain nothing plays, and a song that had ended stays paused.
    void next();
    // The previous queued song (no availability check); nothing in FM.
    void previous();
    void setMode(PlayMode mode);
    // Adds songs to the end of the queue in order; a song already queued
    // keeps its place and is not added again. Nothing starts playing.
    void appendToQueue(const std::vector<std::string>& songIds);
    // The volume (as the mute button leaves it too) is written to the
    // settings once it has not changed for kVolumeSettleMs.
    static constexpr int kVolumeSettleMs = 800;
    void setVolume(int volume);
    void toggleMute();
    QTimer& volumeWriteTimer() { return volumeWrite_; }
    // Writes a volume still waiting for its timer now (as the program ends).
    void writePendingVolume();
    // Sleep timer: the sound pauses after `minutes` (from now), or at the
    // end of the song playing, where nothing follows it; a new choice
    // replaces the one before, and cancelSleep() drops it.
    void sleepAfter(int minutes);
    void sleepAtSongEnd();
    void cancelSleep();
    // What the timer runs when it is due: the sound pauses.
    void sleepNow();
    bool sleepsAtSongEnd() const { return sleepAtSongEnd_; }
    QTimer& sleepTimer() { return sleepTimer_; }

    // State.
    const std::string& songId() const { return songId_; }
    const std::string& title() const { return title_; }
    const std::string& artists() const { return artists_; }
    // The album of the song shown (set together with its title).
    const std::string& album() const { return album_; }
    int lengthSeconds() const { return lengthSeconds_; }
    // Progress ticks count the play timer's ticks; the song has ended when
    // they reach the maximum, its length plus one.
    int progressTicks() const { return progressTicks_; }
    int progressMaximum() const { return lengthSeconds_ + 1; }
    int elapsedSeconds() const { return elapsedSeconds_; }
    bool isPlaying() const { return playing_; }
    bool isLoading() const { return loading_; }
    std::optional<PlayMode> mode() const { return mode_; }
    int volume() const { return volume_.position(); }
    bool isMuted() const { return volume_.muted(); }
    const std::string& mvId() const { return mvId_; }
    const LyricTimeline& lyrics() const { return *lyrics_; }
    // The song's word-timed lyrics; empty where the service has none.
    const WordLyrics& wordLyrics() const { return *words_; }
    const std::string& desktopLyric() const { return desktopLyric_; }
    AudioEngine::Handle currentStream() const { return stream_; }
    // The frequency content of the sound being heard, as the audio engine
    // gives it; zeros without a stream or when the engine has none for it.
    void spectrum(std::array<float, kSpectrumBins>& magnitudes) const;
    PlayQueue& queue() { return queue_; }
    // Tasks of this player still running (plays, availability checks).
    int runningTasks() const { return tasks_.runningCount(); }

    // The queue as the play-list window shows and changes it.
    // The id of the song whose title and artists are shown; empty before
    // the first song and after the queue is cleared.
    const std::string& currentSongId() const { return shownSongId_; }
    // Plays the queued song at `position` (from 1), which becomes the
    // position next and previous move from; a position outside the queue
    // does nothing.
    void playQueued(int position);
    // Calls off a play still loading, stops and frees the stream, forgets
    // the song shown and empties the queue, whose position goes back to 1.
    void clearQueue();
    // Edits of the queue at positions from 1; the song playing plays on.
    // Each tells queueChanged, and does nothing for a position outside.
    void removeQueued(int position);
    void moveQueued(int from, int to);
    // The song at `position` comes right after the current one.
    void playQueuedNext(int position);

    QTimer& playTimer() { return playTimer_; }
    QTimer& lyricTimer() { return lyricTimer_; }
    QTimer& endCheckTimer() { return endCheckTimer_; }

    // One tick of each timer, also run by hand. The lyric tick shows the
    // lyrics at the audio position and sets its timer for the next change.
    void tickProgress();
    void checkSongEnd();
    void tickLyrics();
    // The song the play mode picks to follow the current one, ready to
    // sound (empty until the current song is about to end).
    std::optional<std::string> followingSongId() const;

signals:
    // A play is loading (true) or has started or failed (false); the
    // controls that start a play disable themselves meanwhile.
    void loadingChanged(bool loading);
    void songChanged(const QString& title, const QString& artists);
    // The cover's bytes as the service sent them (empty when it failed).
    void coverChanged(const QByteArray& bytes);
    void lengthChanged(int seconds);
    void progressChanged(int ticks, int elapsedSeconds);
    // The stream was moved to `seconds` by a seek (not by playing on).
    void seeked(int seconds);
    void playingChanged(bool playing);
    void modeChanged(std::optional<PlayMode> mode);
    void volumeChanged(int volume, bool muted);
    void mvAvailableChanged(bool available);
    // A new song's lyric lines are in `lyrics()`.
    void lyricsChanged();
    void desktopLyricChanged(const QString& text);
    // The lyric item (from 0) to select and scroll to.
    void lyricSelected(int item);
    // With word-timed lyrics: line `line` of wordLyrics() is sung, `fill`
    // of it (0 to 1) so far.
    void wordFillChanged(int line, double fill);
    void lyricOffsetChanged(int offsetMs);
    void fmChanged(bool on);
    // A song's play has run to its end and the song sounds.
    void songStarted(const std::string& songId);
    // The service had no stream for the song, or its stream could not be opened.
    void songFailed(const std::string& songId);
    // The queue gained, lost or reordered songs, or was emptied.
    void queueChanged();
    // The queue was cleared: nothing plays and no song is shown.
    void songCleared();
    // The sleep timer paused the sound.
    void sleepStarted();

private:
    // What the tasks of the newest play have handed over so far. Each part
    // is shown once the service is known to have a stream for the song.
    struct Arrivals {
        std::string songId;
        bool addressKnown = false;  // the service has a stream for the song
        bool started = false;
        std::optional<SongDetail> detail;
        std::optional<std::string> coverBytes;
        std::optional<std::string> rawLyric;
        std::optional<SongLyrics> lyric;
        std::optional<AudioEngine::Handle> stream;  // until started
        SongStream address;                         // with the service's loudness gain
        bool detailShown = false, coverShown = false;
        std::optional<int> resumeAtSeconds;  // a resumed song starts paused there
        std::vector<BackgroundTask::Handle> tasks;
    };

    // A song opened ahead of time to follow the current one.
    struct Follower {
        std::string songId;
        std::optional<int> queuePosition;  // List mode: where the queue stands once it sounds
        AudioEngine::Handle stream = 0;
        SongStream address;
        SongDetail detail;
        std::string coverBytes;
        std::string rawLyric;
        SongLyrics lyric;
    };

    // The personal FM stream being played.
    struct FmStream {
        std::string cookie;
        std::deque<std::string> ahead;  // the stream's songs not played yet
        bool fetching = false;
        bool playWhenFetched = false;
    };
    static constexpr std::size_t kFmSongsAhead = 2;

    inline static const std::string kNoMv = "0";  // the MV id of a song without one

    // A play of the player's own choosing (FM included): play() without
    // leaving FM.
    void startPlay(const std::string& songId);
    void startPlayTasks(std::uint64_t request, const std::string& songId);
    void leaveFm();
    // Personal FM for the account of `accountCookie`, with no song yet.
    void enterFm(const std::string& accountCookie);
    // Plays the FM stream's next song, fetching more first when none is left.
    void playNextFm();
    // The FM stream's next song, when one has come.
    std::optional<std::string> nextFmSong() const;
    void endFmSong();
    void fetchFm();
    // Milliseconds of the song the lyrics stand at; nothing without a position.
    std::optional<int> lyricPositionMs() const;
    void onStreamEvent(AudioEngine::Handle stream, StreamEvent event);
    // The song has ended: the follower sounds, or the mode's rule runs.
    void endSong();
    void prepareFollower();
    void promoteFollower();
    void discardFollower();
    // The stream a play opens: the song's kept audio, else `address`, recorded
    // as it streams. It ends at its end, and measures its loudness where
    // nothing else tells it. Its file path and URL are both empty when there
    // is nothing to play.
    StreamSource streamSource(const SongStream& address, const std::string& songId) const;
    // Sets the stream's gain that evens out loudness.
    void levelLoudness(AudioEngine::Handle stream, const SongStream& address, const std::string& songId,
                       const std::string& album);
    // Keeps what the stream measured of the song's loudness.
    void rememberLoudness(AudioEngine::Handle stream, const std::string& songId, const std::string& album);
    // Runs `arrive` on the UI thread when `request` is still the newest play.
    void handOver(std::uint64_t request, std::function<void(Arrivals&)> arrive);
    void onAddress(bool known);
    void showWhatArrived();
    void startWhenReady();
    void failSong(const std::string& songId);
    // A new play puts the song playing aside, paused, instead of freeing it
    // at once: a play that fails brings it back, still playable, and a play
    // that starts frees it.
    void parkStream();
    void unparkStream();
    void freeParked();
    // The queue changed under a song opened ahead from it: that one goes.
    void afterQueueEdit(bool changed);
    void writeVolume();
    void supersedePlay();
    void freeStream();
    void setLoading(bool loading);
    void setPlaying(bool playing);
    void setProgress(int ticks, int elapsedSeconds);

    // Fixed at construction.
    const CloudApiClient& api_;  // the personal FM's requests; safe on any thread
    SongLookup songs_;           // safe on any thread
    AudioEngine& engine_;
    const AppSettings settings_;

    PlayQueue queue_;  // thread-safe on its own; availability checks step it on a task

    std::uint64_t newestPlay_ = 0;  // bumped by every play
    Arrivals arrivals_;             // the newest play's
    bool loading_ = false;

    std::string songId_;       // the song asked for last (`songIdToPlay`)
    std::string shownSongId_;  // the song of title_ and artists_
    std::string title_, artists_, album_;
    std::string mvId_ = "0";
    int lengthSeconds_ = 0;
    int progressTicks_ = 0;
    int elapsedSeconds_ = 0;
    bool playing_ = false;
    std::optional<PlayMode> mode_;
    VolumeMemory volume_;
    int failuresInARow_ = 0;  // songs without a stream since the last one that played
    AudioEngine::Handle stream_ = 0;
    std::shared_ptr<const LyricTimeline> lyrics_ = std::make_shared<LyricTimeline>();
    std::shared_ptr<const WordLyrics> words_ = std::make_shared<WordLyrics>();
    std::pair<int, double> wordFill_{-1, 0.0};  // the last line and fill sent
    LyricOffsets lyricOffsets_{""};
    int lyricOffsetMs_ = 0;  // the song on show's
    std::string desktopLyric_;
    std::optional<FmStream> fm_;
    std::uint64_t fmGeneration_ = 0;                 // bumped whenever FM starts or ends
    LoudnessMemory loudness_{nullptr};               // its cache is safe on any thread
    std::shared_ptr<PlayedAudioCache> playedAudio_;  // safe on any thread; set before the first play
    std::optional<Follower> follower_;               // opened to follow stream_
    // The song that was playing when the newest play began, paused, with
    // what the bar showed of it; until that play starts or fails.
    struct Parked {
        AudioEngine::Handle stream = 0;
        std::string songId, title, artists, album, mvId, coverBytes;
        int lengthSeconds = 0, progressTicks = 0, elapsedSeconds = 0;
    };
    std::optional<Parked> parked_;
    std::string coverBytes_;               // the cover of the song shown
    std::uint64_t newestPreparation_ = 0;  // bumped by every preparation and every discard
    BackgroundTask::Handle preparation_;   // the preparation in flight, if any

    bool sleepAtSongEnd_ = false;

    QTimer playTimer_;
    QTimer sleepTimer_;  // single shot while a sleep after minutes is set
    QTimer lyricTimer_;
    QTimer endCheckTimer_;
    QTimer volumeWrite_;  // single shot after the volume changes
    TaskOwner tasks_;     // last: its tasks stop before anything they use goes
};
