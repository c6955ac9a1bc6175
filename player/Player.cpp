#include "player/Player.h"

#include "audio/StreamActivity.h"
#include "base/TaskStop.h"
#include "local/LocalSong.h"

namespace {

// Whole seconds of a byte count of `stream`; a failed call counts as 0.
int wholeSeconds(const AudioEngine& engine, AudioEngine::Handle stream, int64_t bytes) {
    const double seconds = engine.bytesToSeconds(stream, bytes);
    return seconds > 0 ? static_cast<int>(seconds) : 0;
}

}  // namespace

Player::Player(const CloudApiClient& api, AudioEngine& engine, std::string serviceCookie, AppSettings settings,
               QObject* parent)
    : QObject(parent),
      api_(api),
      songs_(api, std::move(serviceCookie)),
      engine_(engine),
      settings_(std::move(settings)) {
    playTimer_.setObjectName("时钟_播放");
    lyricTimer_.setObjectName("时钟_歌词");
    endCheckTimer_.setObjectName("时钟_判断");
    connect(&playTimer_, &QTimer::timeout, this, &Player::tickProgress);
    connect(&lyricTimer_, &QTimer::timeout, this, &Player::tickLyrics);
    connect(&endCheckTimer_, &QTimer::timeout, this, &Player::checkSongEnd);
    sleepTimer_.setSingleShot(true);
    connect(&sleepTimer_, &QTimer::timeout, this, &Player::sleepNow);
    volumeWrite_.setSingleShot(true);
    volumeWrite_.setInterval(kVolumeSettleMs);
    connect(&volumeWrite_, &QTimer::timeout, this, &Player::writeVolume);
    engine_.setEventListener([this](AudioEngine::Handle stream, StreamEvent event) {
        runOnUiThread(this, [this, stream, event] { onStreamEvent(stream, event); });
    });
}

Player::~Player() {
    engine_.setEventListener({});  // no event is handed to this player any more
    tasks_.requestStopAll();
    if (arrivals_.stream) engine_.freeStream(*arrivals_.stream);
    discardFollower();
    freeParked();
    freeStream();
}

void Player::applyStored(std::optional<int> volume, const std::string& modeText) {
    if (volume) {
        volume_.move(*volume);
        emit volumeChanged(volume_.position(), volume_.muted());
    }
    mode_ = parsePlayMode(modeText);
    emit modeChanged(mode_);
}

void Player::appendToQueue(const std::vector<std::string>& songIds) {
    const int before = queue_.size();
    queue_.appendAll(songIds);
    // An open play-list window follows the queue.
    if (queue_.size() != before) emit queueChanged();
}

void Player::play(const std::string& songId) {
    if (songId.empty()) return;
    leaveFm();
    startPlay(songId);
}

// A play silences the song playing now at once, then fetches the new one's
// address, details, cover and lyrics side by side.
void Player::startPlay(const std::string& songId) {
    if (songId.empty()) return;
    songId_ = songId;
    supersedePlay();
    discardFollower();
    parkStream();
    arrivals_ = Arrivals{};
    arrivals_.songId = songId;
    setLoading(true);
    startPlayTasks(++newestPlay_, songId);
}

void Player::startPlayTasks(std::uint64_t request, const std::string& songId) {
    std::vector<BackgroundTask::Handle>& tasks = arrivals_.tasks;
    // The address, and the stream opened from it at once.
    tasks.push_back(tasks_.start([this, request, songId] {
        const SongStream address = songs_.stream(songId);
        const StreamSource source = streamSource(address, songId);
        const bool known = !source.filePath.empty() || !source.url.empty();
        handOver(request, [this, known, address](Arrivals& arrived) {
            arrived.address = address;
            onAddress(known);
        });
        if (!known || TaskStop::requested()) return;
        const AudioEngine::Handle stream = engine_.createStream(source);
        if (TaskStop::requested()) {
            engine_.freeStream(stream);
            return;
        }
        // A stream that reaches a play superseded meanwhile is freed there.
        runOnUiThread(this, [this, request, stream] {
            if (request != newestPlay_) {
                engine_.freeStream(stream);
                return;
            }
            if (stream == 0) {
                // The address led to nothing playable (the server reset,
                // stalled or trickled): the play fails as one without a
                // stream does, with its notice.
                supersedePlay();
                failSong(arrivals_.songId);
                return;
            }
            arrivals_.stream = stream;
            startWhenReady();
        });
    }));
    tasks.push_back(tasks_.start([this, request, songId] {
        SongDetail detail = songs_.detail(songId);
        const SongDetail forCover = detail;
        handOver(request, [this, detail = std::move(detail)](Arrivals& arrived) {
            arrived.detail = detail;
            showWhatArrived();
            startWhenReady();
        });
        if (TaskStop::requested()) return;
        handOver(request, [this, bytes = songs_.cover(songId, forCover)](Arrivals& arrived) {
            arrived.coverBytes = bytes;
            showWhatArrived();
        });
    }));
    tasks.push_back(tasks_.start([this, request, songId] {
        handOver(request, [this, raw = songs_.rawLyric(songId)](Arrivals& arrived) {
            arrived.rawLyric = raw;
            startWhenReady();
        });
    }));
    tasks.push_back(tasks_.start([this, request, songId] {
        handOver(request, [this, lyric = songs_.lyric(songId)](Arrivals& arrived) {
            arrived.lyric = lyric;
            startWhenReady();
        });
    }));
}

void Player::handOver(std::uint64_t request, std::function<void(Arrivals&)> arrive) {
    runOnUiThread(this, [this, request, arrive = std::move(arrive)] {
        if (request == newestPlay_) arrive(arrivals_);
    });
}

void Player::onAddress(bool known) {
    if (!known) {
        supersedePlay();  // nothing more of a song that cannot play is wanted
        failSong(arrivals_.songId);
        return;
    }
    arrivals_.addressKnown = true;
    if (queue_.makeCurrent(arrivals_.songId)) emit queueChanged();
    showWhatArrived();
    startWhenReady();
}

// Title and cover go up as soon as they are in, but never for a song the
// service has no stream for: then the last song stays on show.
void Player::showWhatArrived() {
    Arrivals& arrived = arrivals_;
    if (!arrived.addressKnown) return;
    if (arrived.detail && !arrived.detailShown) {
        arrived.detailShown = true;
        shownSongId_ = arrived.songId;
        title_ = arrived.detail->name;
        artists_ = arrived.detail->artists;
        album_ = arrived.detail->album;
        emit songChanged(QString::fromStdString(title_), QString::fromStdString(artists_));
    }
    if (arrived.coverBytes && !arrived.coverShown) {
        arrived.coverShown = true;
        coverBytes_ = *arrived.coverBytes;
        emit coverChanged(QByteArray::fromStdString(*arrived.coverBytes));
    }
}

// The sound starts once the stream is open, the lyrics are in (or have
// failed) and the details say whether there is an MV.
void Player::startWhenReady() {
    Arrivals& arrived = arrivals_;
    if (arrived.started || !arrived.addressKnown || !arrived.stream || !arrived.detail || !arrived.rawLyric ||
        !arrived.lyric)
        return;
    arrived.started = true;
    freeParked();
    stream_ = *std::exchange(arrived.stream, std::nullopt);

    lengthSeconds_ = wholeSeconds(engine_, stream_, engine_.getLength(stream_));
    emit lengthChanged(lengthSeconds_);
    setProgress(0, 0);
    lyrics_ = std::make_shared<LyricTimeline>(*arrived.rawLyric, arrived.lyric->lyric, arrived.lyric->translation);
    words_ = std::make_shared<WordLyrics>(WordLyrics::parse(arrived.lyric->wordLyric));
    wordFill_ = {-1, 0.0};
    lyricOffsetMs_ = lyricOffsets_.offsetOf(arrived.songId);
    emit lyricOffsetChanged(lyricOffsetMs_);
    emit lyricsChanged();
    desktopLyric_.clear();
    emit desktopLyricChanged({});

    endCheckTimer_.start(kEndCheckMs);
    if (arrived.resumeAtSeconds) {
        // Resumed at start-up: shown where it stood, paused.
        engine_.setPosition(stream_, engine_.secondsToBytes(stream_, *arrived.resumeAtSeconds));
        setProgress(*arrived.resumeAtSeconds, *arrived.resumeAtSeconds);
        setPlaying(false);
    } else {
        playTimer_.start(kPlayTickMs);
        setPlaying(true);
        engine_.play(stream_, false);  // a follower that took over the output plays already
    }
    lyricTimer_.start(kLyricTickMs);
    tickLyrics();
    engine_.setVolume(stream_, volume_.position());
    levelLoudness(stream_, arrived.address, arrived.songId, arrived.detail->album);
    // A failed details request gives no MV id: no MV to offer then.
    mvId_ = arrived.detail->mvId.empty() ? kNoMv : arrived.detail->mvId;
    emit mvAvailableChanged(mvId_ != kNoMv);
    failuresInARow_ = 0;
    setLoading(false);
    emit songStarted(arrived.songId);
}

// The service has no stream for the song, or it could not be opened: in
// List mode the next song is tried. Once more songs have failed in a row
// than the queue holds, every queued song has failed once and trying on
// would only go round in circles. Where nothing else is tried, the song
// that was playing comes back, paused, so the play button plays it on.
void Player::failSong(const std::string& songId) {
    setLoading(false);
    ++failuresInARow_;
    // In FM the stream goes on, unless song after song fails.
    if (fm_ && failuresInARow_ <= static_cast<int>(3 * kFmSongsAhead))
        playNextFm();
    else if (!fm_ && mode_ == PlayMode::List && failuresInARow_ <= queue_.size())
        next();
    else
        unparkStream();
    emit songFailed(songId);
}

// The play in flight gives up: its tasks are asked to stop, and a stream it
// opened but had not started yet is freed.
void Player::supersedePlay() {
    for (const BackgroundTask::Handle& task : arrivals_.tasks) task->requestStop();
    if (arrivals_.stream) engine_.freeStream(*arrivals_.stream);
    arrivals_.stream.reset();
}

void Player::freeStream() {
    rememberLoudness(stream_, shownSongId_, album_);
    engine_.stop(stream_);
    engine_.freeStream(std::exchange(stream_, 0));
    mvId_ = kNoMv;
    emit mvAvailableChanged(false);
}

void Player::togglePlay() {
    if (!playing_) {
        engine_.play(stream_, false);
        setPlaying(true);
        playTimer_.start(kPlayTickMs);
        lyricTimer_.start(kLyricTickMs);
        tickLyrics();
    } else {
        setPlaying(false);
        engine_.pause(stream_);
        playTimer_.stop();
    }
}

// A paused song stays paused through a seek.
void Player::holdForSeek() {
    if (playing_) engine_.pause(stream_);
}

void Player::releaseSeek() {
    if (playing_) engine_.play(stream_, false);
}

void Player::seek(int seconds) {
    engine_.setPosition(stream_, engine_.secondsToBytes(stream_, seconds));
    setProgress(seconds, elapsedSeconds_);
    tickLyrics();
    emit seeked(seconds);
}

void Player::next() {
    if (fm_) {
        playNextFm();
        return;
    }
    tasks_.start([this, mode = mode_] {
        auto isAvailable = [this](const std::string& id) { return songs_.isAvailable(id); };
        std::optional<std::string> nextSong = queue_.next(mode, isAvailable);
        runOnUiThread(this, [this, nextSong] {
            if (nextSong) play(*nextSong);
            // Nothing left after a failed song: the one before it comes back.
            else if (stream_ == 0 && parked_)
                unparkStream();
            // Nothing left to play: a song whose end led here stays paused,
            // and the bar says so instead of counting on.
            else if (engine_.isActive(stream_) != StreamActivity::kPlaying) {
                setPlaying(false);
                playTimer_.stop();
            }
        });
    });
}

void Player::previous() {
    if (fm_) return;
    if (std::optional<std::string> song = queue_.previous(mode_)) play(*song);
}

void Player::setMode(PlayMode mode) {
    if (mode_ == mode) return;
    mode_ = mode;
    if (!fm_) discardFollower();  // it was picked by the mode before; FM's by the stream
    settings_.write("Music", "Mode", playModeName(mode));
    emit modeChanged(mode_);
}

void Player::setVolume(int volume) {
    volume_.move(volume);
    engine_.setVolume(stream_, volume_.position());
    if (follower_) engine_.setVolume(follower_->stream, volume_.position());
    emit volumeChanged(volume_.position(), volume_.muted());
    volumeWrite_.start();
}

void Player::toggleMute() {
    volume_.toggleMute();
    engine_.setVolume(stream_, volume_.position());
    if (follower_) engine_.setVolume(follower_->stream, volume_.position());
    emit volumeChanged(volume_.position(), volume_.muted());
    volumeWrite_.start();
}

void Player::writeVolume() {
    volumeWrite_.stop();
    settings_.write("Music", "Volume", std::to_string(volume_.position()));
}

void Player::writePendingVolume() {
    if (volumeWrite_.isActive()) writeVolume();
}

void Player::sleepAfter(int minutes) {
    cancelSleep();
    sleepTimer_.start(std::max(1, minutes) * 60 * 1000);
}

// Nothing may follow the song then: a song opened to follow it goes.
void Player::sleepAtSongEnd() {
    cancelSleep();
    sleepAtSongEnd_ = true;
    discardFollower();
}

void Player::cancelSleep() {
    sleepTimer_.stop();
    sleepAtSongEnd_ = false;
}

void Player::sleepNow() {
    cancelSleep();
    engine_.pause(stream_);
    playTimer_.stop();
    setPlaying(false);
    emit sleepStarted();
}

void Player::tickProgress() {
    const int activity = engine_.isActive(stream_);
    if (activity == StreamActivity::kPlaying) setPlaying(true);
    setProgress(progressTicks_ + 1, wholeSeconds(engine_, stream_, engine_.getPosition(stream_)));
    if (activity == StreamActivity::kStopped) {
        engine_.stop(stream_);
        playTimer_.stop();
        setProgress(0, 0);
        setPlaying(false);
    }
}

// When the progress has counted to its end, the song restarts, the next one
// plays or a random one, by mode.
void Player::checkSongEnd() {
    if (progressTicks_ != progressMaximum()) return;
    endSong();
}

void Player::endSong() {
    if (sleepAtSongEnd_) {
        sleepNow();
        setProgress(0, elapsedSeconds_);
        return;
    }
    if (fm_) {
        endFmSong();
        return;
    }
    if (follower_) {
        promoteFollower();
        return;
    }
    engine_.pause(stream_);
    setProgress(0, elapsedSeconds_);
    if (!mode_) return;
    switch (*mode_) {
        case PlayMode::Circulate:
            engine_.play(stream_, true);
            playTimer_.start(kPlayTickMs);
            lyricTimer_.start(kRestartLyricTickMs);
            return;
        case PlayMode::List: next(); return;
        case PlayMode::Random:
            if (std::optional<std::string> song = queue_.randomSong()) play(*song);
            return;
    }
}

void Player::onStreamEvent(AudioEngine::Handle stream, StreamEvent event) {
    if (stream == 0 || stream != stream_) return;  // a song gone meanwhile
    switch (event) {
        case StreamEvent::kAboutToEnd: prepareFollower(); return;
        case StreamEvent::kEnded: endSong(); return;
    }
}

// Opens the song the mode picks (in FM, the stream's next song) to follow the
// current one, on a task: its address, its stream (following the current
// one's), details, cover and lyrics. A song still loading will replace the
// current one: nothing then.
void Player::prepareFollower() {
    if (sleepAtSongEnd_ || loading_ || follower_ || (preparation_ && !preparation_->isFinished())) return;
    std::optional<std::string> chosen;
    if (fm_) {
        chosen = nextFmSong();
        if (!chosen) return;
    } else {
        if (!mode_) return;
        if (*mode_ == PlayMode::Circulate) chosen = songId_;
        if (*mode_ == PlayMode::Random) {
            chosen = queue_.randomSong();
            if (!chosen) return;
        }
    }
    const std::uint64_t request = ++newestPreparation_;
    const AudioEngine::Handle leader = stream_;
    preparation_ = tasks_.start([this, request, leader, chosen] {
        Follower next;
        if (chosen) {
            next.songId = *chosen;
        } else {
            const auto step = queue_.following([this](const std::string& id) { return songs_.isAvailable(id); });
            if (!step) return;
            next.songId = step->id;
            next.queuePosition = step->position;
        }
        next.address = songs_.stream(next.songId);
        const StreamSource source = streamSource(next.address, next.songId);
        if ((source.filePath.empty() && source.url.empty()) || TaskStop::requested()) return;
        next.stream = engine_.createFollower(leader, source);
        if (next.stream == 0) return;
        if (TaskStop::requested()) {
            engine_.freeStream(next.stream);
            return;
        }
        next.detail = songs_.detail(next.songId);
        next.coverBytes = songs_.cover(next.songId, next.detail);
        next.rawLyric = songs_.rawLyric(next.songId);
        next.lyric = songs_.lyric(next.songId);
        runOnUiThread(this, [this, request, leader, next = std::move(next)]() mutable {
            if (request != newestPreparation_ || leader != stream_) {
                engine_.freeStream(next.stream);
                return;
            }
            engine_.setVolume(next.stream, volume_.position());
            levelLoudness(next.stream, next.address, next.songId, next.detail.album);
            follower_ = std::move(next);
        });
    });
}

// The follower took over the output as the song before gave its last frame
// (or takes it over now, when that song is cut short by the tick count): it
// becomes the current song, shown as a play shows one.
void Player::promoteFollower() {
    Follower next = std::move(*follower_);
    follower_.reset();
    engine_.play(next.stream, false);
    rememberLoudness(stream_, shownSongId_, album_);
    engine_.freeStream(std::exchange(stream_, 0));
    if (next.queuePosition) queue_.setPosition(*next.queuePosition);
    songId_ = next.songId;
    supersedePlay();
    ++newestPlay_;
    arrivals_ = Arrivals{};
    arrivals_.songId = next.songId;
    arrivals_.addressKnown = true;
    arrivals_.detail = std::move(next.detail);
    arrivals_.coverBytes = std::move(next.coverBytes);
    arrivals_.rawLyric = std::move(next.rawLyric);
    arrivals_.lyric = std::move(next.lyric);
    arrivals_.stream = next.stream;
    arrivals_.address = std::move(next.address);
    if (queue_.makeCurrent(arrivals_.songId)) emit queueChanged();
    showWhatArrived();
    startWhenReady();
}

StreamSource Player::streamSource(const SongStream& address, const std::string& songId) const {
    // The user's own songs play from their files ("null": the file is gone);
    // only the service's are kept.
    const bool local = isLocalSongId(songId);
    StreamSource source = local && address.url != "null" ? SongLookup::source(songId, address) : StreamSource();
    if (!local) {
        const std::string key = playedAudio_ ? playedAudio_->keyOf(songId) : std::string();
        if (playedAudio_) source.filePath = playedAudio_->find(key).value_or("");
        if (address.url != "null") {
            // Also the way when the kept file goes before the stream opens.
            source.url = address.url;
            if (playedAudio_ && source.filePath.empty()) source.recording = playedAudio_->record(key);
        }
    }
    source.playOnce = true;
    source.measureLoudness = address.gainDb == 0.0 && LoudnessSettings::read(settings_).mode != LoudnessMode::Off &&
                             !loudness_.track(songId);
    return source;
}

void Player::levelLoudness(AudioEngine::Handle stream, const SongStream& address, const std::string& songId,
                           const std::string& album) {
    const LoudnessSettings settings = LoudnessSettings::read(settings_);
    engine_.setLoudnessGain(stream,
                            levellingGainDb(settings, address, loudness_.forMode(settings.mode, songId, album)));
}

void Player::rememberLoudness(AudioEngine::Handle stream, const std::string& songId, const std::string& album) {
    if (const auto measured = engine_.measuredLoudness(stream)) loudness_.remember(songId, album, *measured);
}

void Player::discardFollower() {
    ++newestPreparation_;
    if (preparation_) preparation_->requestStop();
    if (follower_) engine_.freeStream(follower_->stream);
    follower_.reset();
}

std::optional<std::string> Player::followingSongId() const {
    if (!follower_) return std::nullopt;
    return follower_->songId;
}

void Player::setLoading(bool loading) {
    if (loading_ == loading) return;
    loading_ = loading;
    emit loadingChanged(loading);
}

void Player::setPlaying(bool playing) {
    if (playing_ == playing) return;
    playing_ = playing;
    emit playingChanged(playing);
}

void Player::setProgress(int ticks, int elapsedSeconds) {
    progressTicks_ = ticks;
    elapsedSeconds_ = elapsedSeconds;
    emit progressChanged(ticks, elapsedSeconds);
}

void Player::playQueued(int position) {
    const std::vector<std::string> ids = queue_.ids();
    if (position < 1 || position > static_cast<int>(ids.size())) return;
    queue_.setPosition(position);
    play(ids[static_cast<size_t>(position) - 1]);
}

// Whatever a play still loading hands over afterwards is dropped, as a newer
// play's would be; the bar shows its designed texts again.
void Player::clearQueue() {
    leaveFm();
    supersedePlay();
    ++newestPlay_;
    arrivals_ = Arrivals{};
    setLoading(false);
    discardFollower();
    freeParked();
    freeStream();
    playTimer_.stop();
    lyricTimer_.stop();
    endCheckTimer_.stop();
    setPlaying(false);
    lengthSeconds_ = 0;
    emit lengthChanged(0);
    setProgress(0, 0);
    failuresInARow_ = 0;
    songId_.clear();
    shownSongId_.clear();
    title_.clear();
    artists_.clear();
    album_.clear();
    coverBytes_.clear();
    queue_.clear();
    emit songCleared();
    emit queueChanged();
}

void Player::spectrum(std::array<float, kSpectrumBins>& magnitudes) const {
    if (engine_.getFftData(stream_, magnitudes) < 0) magnitudes.fill(0.0f);
}
