#include "app/PlayerController.h"

#include "ui/MessageBoxWindow.h"
#include "ui/DesktopLyricsWindow.h"
#include "ui/PlayBar.h"
#include "audio/StreamActivity.h"
#include "ui/Artwork.h"
#include "ui/NowPlayingView.h"
#include "ui/PictureDecoder.h"

#include <QWidget>

namespace {

constexpr const char* kFailureTitle = "播放失败啦";
constexpr const char* kFailureButton = "接受事实";
constexpr const char* kFailureContent =
    "Mivra酱无法为您播放这首音乐，可能是因为这首歌在网易云音乐已经没有了版权，或者是这首歌已下架...可惜呢...";

// The controls that would start another play while a song loads.
constexpr const char* kPlayStarters[] = {
    "播放栏_播放_上一首", "播放栏_播放_下一首", "播放栏_海报", "图标列表框搜索歌曲", "图标列表框歌单详情",
};

// Covers are shown at most 320 pixels wide (twice that on dense screens).
constexpr QSize kCoverPixels(640, 640);

// Whole seconds of a byte count of `stream`; a failed call counts as 0.
int wholeSeconds(const AudioEngine& engine, AudioEngine::Handle stream, int64_t bytes) {
    const double seconds = engine.bytesToSeconds(stream, bytes);
    return seconds > 0 ? static_cast<int>(seconds) : 0;
}

}  // namespace

PlayerController::PlayerController(const CloudApiClient& api, AudioEngine& engine, std::string serviceCookie,
                                   Views views)
    : api_(api), engine_(engine), serviceCookie_(std::move(serviceCookie)), views_(views) {
    lyricTimer_.setObjectName("时钟_歌词");
    endCheckTimer_.setObjectName("时钟_判断");
    connect(&lyricTimer_, &QTimer::timeout, this, &PlayerController::tickLyrics);
    connect(&endCheckTimer_, &QTimer::timeout, this, &PlayerController::checkSongEnd);
}

PlayerController::~PlayerController() { ++latestRequest_; }

BackgroundTask::Handle PlayerController::startTask(std::function<void()> routine) {
    return tasks_.start(std::move(routine));
}

void PlayerController::onUi(std::function<void()> update) { runOnUiThread(this, std::move(update)); }

BackgroundTask::Handle PlayerController::play(const std::string& songId) {
    if (songId.empty()) return nullptr;
    songIdToPlay_ = songId;
    const std::uint64_t request = ++latestRequest_;
    return startTask([this, songId, request] { playSong(songId, request); });
}

// The play flow. Every step after the stream address checks whether a newer
// request has come in; a superseded task leaves the rest to the newer one.
void PlayerController::playSong(const std::string& songId, std::uint64_t request) {
    std::lock_guard serial(playSerial_);
    if (superseded(request)) return;
    freeCurrentStream();

    const std::string streamUrl = api_.fetchSongUrl(songId);
    if (superseded(request)) return;
    if (streamUrl == "null") {
        failSong(songId);
        return;
    }

    onUi([this] { lockPlayControls(true); });
    std::optional<LoadedSong> song = loadSong(songId, streamUrl, request);
    if (song) currentStream_.store(song->stream);
    onUi([this, song = std::move(song)] {
        if (song) {
            showSong(*song);
            startSong(*song);
        }
        lockPlayControls(false);
        if (song) emit songStarted(song->id);
    });
}

// Stops the song playing now; the play bar forgets its stream.
void PlayerController::freeCurrentStream() {
    const AudioEngine::Handle old = currentStream_.exchange(0);
    engine_.stop(old);
    engine_.freeStream(old);
    onUi([this] {
        views_.bar.setCurrentStream(0);
        views_.bar.setMvAvailable(false);
    });
}

// The service has no stream for the song: in List mode the next song is
// tried, and the user is told. The play bar keeps showing the last song.
// Once more songs have failed in a row than the queue holds, every queued
// song has failed once and trying on would only go round in circles.
void PlayerController::failSong(const std::string& songId) {
    onUi([this, songId] {
        ++failuresInARow_;
        if (views_.bar.playMode() == PlayMode::List && failuresInARow_ <= queue_.size()) playNext();
        MessageBoxWindow::show({.title = kFailureTitle, .content = kFailureContent, .confirmCaption = kFailureButton});
        emit songFailed(songId);
    });
}

// Runs on the play task: the details, cover and lyrics, then the stream,
// made last so that a newer request arriving meanwhile finds no stream to
// free but the one made here. A stream that could not be made (0) still
// gives a song to show, which the play bar's next tick shows stopped.
std::optional<PlayerController::LoadedSong> PlayerController::loadSong(const std::string& songId,
                                                                       const std::string& streamUrl,
                                                                       std::uint64_t request) {
    LoadedSong song;
    song.id = songId;
    queue_.append(songId);
    song.detail = api_.fetchSongDetail(songId);
    onUi([this, title = song.detail.name, artists = song.detail.artists] {
        views_.bar.showSong(QString::fromStdString(title), QString::fromStdString(artists));
    });
    song.cover = decodePicture(api_.fetchPicture(song.detail.coverUrl), kCoverPixels);
    if (song.cover.isNull()) song.cover = Artwork::render(Artwork::Picture::SongNote, kCoverPixels);
    song.lyrics = std::make_shared<LyricTimeline>(LyricTimeline::load(api_, songId));
    if (superseded(request)) return std::nullopt;

    song.stream = engine_.createStream(StreamSource::fromUrl(streamUrl));
    if (superseded(request)) {
        engine_.freeStream(song.stream);
        return std::nullopt;
    }
    song.seconds = wholeSeconds(engine_, song.stream, engine_.getLength(song.stream));
    return song;
}

// The new song in the play bar, the now-playing view and the lyric list.
void PlayerController::showSong(const LoadedSong& song) {
    views_.bar.setCurrentStream(song.stream);
    views_.bar.showCover(song.cover);
    songSeconds_ = song.seconds;
    views_.bar.setSongLength(song.seconds);
    views_.desktopLyrics.setText("");

    lyrics_ = song.lyrics;
    views_.nowPlaying.clearLyrics();
    views_.nowPlaying.setTitle(QString::fromStdString(song.detail.name + " - " + song.detail.artists));
    views_.nowPlaying.showCover(song.cover);
    views_.nowPlaying.setLyrics(lyrics_->items(), lyrics_->listHeight());
}

// The timers, the sound at the volume slider's level, and the MV button.
void PlayerController::startSong(const LoadedSong& song) {
    views_.bar.playTimer().start(PlayBar::kPlayTickMs);
    lyricTimer_.start(kLyricTickMs);
    endCheckTimer_.start(kEndCheckMs);
    views_.bar.showPlaying();
    engine_.play(song.stream, false);
    engine_.setVolume(song.stream, views_.bar.volume());
    // A failed details request gives no MV id: no MV to offer then.
    currentMvId_ = song.detail.mvId.empty() ? "0" : song.detail.mvId;
    views_.bar.setMvAvailable(currentMvId_ != "0");
    failuresInARow_ = 0;
}

void PlayerController::lockPlayControls(bool locked) {
    for (const char* name : kPlayStarters) {
        if (auto* control = views_.window.findChild<QWidget*>(QString::fromUtf8(name))) control->setEnabled(!locked);
    }
}

BackgroundTask::Handle PlayerController::playNext() {
    const std::optional<PlayMode> mode = views_.bar.playMode();
    return startTask([this, mode, current = songIdToPlay_] {
        auto isAvailable = [this](const std::string& id) { return api_.checkSong(id, serviceCookie_); };
        std::optional<std::string> next = queue_.next(mode, current, isAvailable);
        onUi([this, next] {
            if (next) play(*next);
            // Nothing left to play: a song the end of which led here stays
            // paused, and the bar says so instead of counting on.
            else if (engine_.isActive(currentStream_.load()) != StreamActivity::kPlaying) views_.bar.showPaused();
        });
    });
}

void PlayerController::playPrevious() {
    if (std::optional<std::string> previous = queue_.previous(views_.bar.playMode()))
        BackgroundTask::waitPumping(play(*previous));
}

void PlayerController::checkSongEnd() {
    if (!views_.bar.songEnded()) return;
    const AudioEngine::Handle stream = currentStream_.load();
    engine_.pause(stream);
    views_.bar.setProgress(0);
    const std::optional<PlayMode> mode = views_.bar.playMode();
    if (!mode) return;
    switch (*mode) {
    case PlayMode::Circulate:
        engine_.play(stream, true);
        views_.bar.playTimer().start(PlayBar::kPlayTickMs);
        lyricTimer_.start(kRestartLyricTickMs);
        return;
    case PlayMode::List:
        playNext();
        return;
    case PlayMode::Random:
        if (std::optional<std::string> song = queue_.randomSong()) play(*song);
        return;
    }
}

void PlayerController::tickLyrics() {
    const AudioEngine::Handle stream = currentStream_.load();
    // Without a stream position there is no current line to show.
    const int64_t position = engine_.getPosition(stream);
    if (position >= 0) {
        const LyricTick tick = lyrics_->tick(wholeSeconds(engine_, stream, position));
        // The same line comes at every tick while it lasts; drawing it again
        // would only redraw a screen-wide window for nothing.
        if (tick.desktopText && *tick.desktopText != views_.desktopLyrics.text())
            views_.desktopLyrics.setText(*tick.desktopText);
        if (tick.selectedItem) views_.nowPlaying.selectLyric(*tick.selectedItem);
    }
    if (engine_.isActive(stream) == StreamActivity::kStopped) lyricTimer_.stop();
}
