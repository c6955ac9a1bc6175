#include "download/SongDownloadJob.h"

#include "api/CloudApiClient.h"
#include "audio/PlayedAudioCache.h"
#include "base/TaskStop.h"
#include "download/AudioTagger.h"
#include "download/DownloadProgress.h"
#include "download/SongFileName.h"
#include "local/LocalLibrary.h"
#include "local/LrcLyrics.h"
#include "net/HttpClient.h"

#include <QFile>
#include <QTemporaryFile>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A hidden, uniquely named file in `folder`, removed when the object goes
// unless it has been renamed into place.
std::unique_ptr<QTemporaryFile> scratchFile(const std::string& folder) {
    const fs::path pattern = fs::path(folder) / ".download-XXXXXX.part";
    auto file = std::make_unique<QTemporaryFile>(QString::fromStdString(pattern.string()));
    return file->open() ? std::move(file) : nullptr;
}

std::string pathOf(const QTemporaryFile& file) { return file.fileName().toStdString(); }

// The stream's bytes into `file`; true when the whole answer arrived with a
// success status, held something and every byte was written.
bool transfer(const std::string& url, QTemporaryFile& file, std::atomic<int>& percentage) {
    DownloadReceiver receiver{[&file](std::string_view bytes) {
                                  return file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
                              },
                              [&percentage](std::int64_t received, std::int64_t total) {
                                  percentage.store(downloadPercent(received, total, percentage.load()));
                              }};
    const int status = HttpClient::download(url, receiver).statusCode;
    return status >= 200 && status < 300 && file.size() > 0 && file.flush();
}

// The file at `path` into `file`, as transfer() does with the network.
bool copyKept(const std::string& path, QTemporaryFile& file, std::atomic<int>& percentage) {
    constexpr qint64 kChunkBytes = 256 * 1024;
    QFile kept(QString::fromStdString(path));
    if (!kept.open(QIODevice::ReadOnly)) return false;
    const qint64 total = kept.size();
    QByteArray chunk;
    for (qint64 copied = 0; copied < total;) {
        if (TaskStop::requested()) return false;
        chunk = kept.read(kChunkBytes);
        if (chunk.isEmpty() || file.write(chunk) != chunk.size()) return false;
        copied += chunk.size();
        percentage.store(downloadPercent(copied, total, percentage.load()));
    }
    return total > 0 && file.flush();
}

SongTags tagsOf(const CloudApiClient& api, const DownloadRequest& song) {
    const SongDetail detail = api.fetchSongDetail(song.songId);
    return {song.title, song.artist, detail.album, detail.coverUrl.empty() ? "" : api.fetchPicture(detail.coverUrl)};
}

// Moves `file` to `target`, replacing an older download of the same name;
// readable by others like any file the user saves.
bool moveIntoPlace(QTemporaryFile& file, const std::string& target) {
    std::error_code error;
    fs::rename(pathOf(file), target, error);
    if (error) return false;
    file.setAutoRemove(false);
    fs::permissions(
        target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read, error);
    return true;
}

}  // namespace

DownloadResult downloadSong(const CloudApiClient& api, const DownloadRequest& song, const std::string& folder,
                            std::atomic<int>& percentage, const PlayedAudioCache* played) {
    std::error_code error;
    fs::create_directories(folder, error);
    // The address also names the file's extension, so it is asked for even
    // when the song's audio is kept.
    const std::string url = api.fetchSongUrl(song.songId);
    if (url == "null" || TaskStop::requested()) return {};

    std::unique_ptr<QTemporaryFile> received = scratchFile(folder);
    if (!received) return {};
    const std::optional<std::string> kept = played ? played->find(played->keyOf(song.songId)) : std::nullopt;
    if (!(kept ? copyKept(*kept, *received, percentage) : transfer(url, *received, percentage))) return {};
    received->close();

    // The song as sent is kept when its tags cannot be written.
    QTemporaryFile* finished = received.get();
    std::unique_ptr<QTemporaryFile> tagged = scratchFile(folder);
    if (tagged && !TaskStop::requested()) {
        tagged->close();
        if (writeTaggedCopy(pathOf(*received), pathOf(*tagged), tagsOf(api, song))) finished = tagged.get();
    }

    const std::string target = (fs::path(folder) / songFileName(song.artist, song.title, url)).string();
    if (TaskStop::requested() || !moveIntoPlace(*finished, target)) return {};
    percentage.store(100);
    return {true, target};
}

DownloadResult copyLocalSong(const DownloadRequest& song, const std::string& indexPath, const std::string& folder,
                             std::atomic<int>& percentage) {
    const std::optional<LocalSong> found = findLocalSong(indexPath, song.songId);
    if (!found) return {};
    std::error_code error;
    fs::create_directories(folder, error);
    std::unique_ptr<QTemporaryFile> copied = scratchFile(folder);
    if (!copied || !copyKept(found->path, *copied, percentage)) return {};
    copied->close();
    const std::string target = (fs::path(folder) / localSongFileName(song.artist, song.title, found->path)).string();
    if (TaskStop::requested() || !moveIntoPlace(*copied, target)) return {};

    // The lyrics go where the program looks for a song file's lyrics.
    const std::string lyrics = lrcPathBeside(found->path);
    std::atomic<int> ignored{0};
    std::unique_ptr<QTemporaryFile> copiedLyrics = fs::exists(lyrics, error) ? scratchFile(folder) : nullptr;
    if (copiedLyrics && copyKept(lyrics, *copiedLyrics, ignored)) {
        copiedLyrics->close();
        moveIntoPlace(*copiedLyrics, lrcPathBeside(target));
    }
    percentage.store(100);
    return {true, target};
}
