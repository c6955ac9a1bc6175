#include "player/SongLookup.h"

#include "data/JsonDocument.h"
#include "local/LocalLibrary.h"
#include "local/LrcLyrics.h"
#include "local/SongTags.h"

#include <filesystem>

void SongLookup::setLocalIndex(std::string indexPath) {
    std::lock_guard lock(mutex_);
    localIndex_ = std::move(indexPath);
}

std::string SongLookup::localIndex() const {
    std::lock_guard lock(mutex_);
    return localIndex_;
}

std::string SongLookup::localPath(const std::string& songId) const {
    const std::string index = localIndex();
    if (index.empty()) return {};
    const std::optional<LocalSong> song = findLocalSong(index, songId);
    std::error_code error;
    if (!song || !std::filesystem::is_regular_file(song->path, error)) return {};
    return song->path;
}

SongStream SongLookup::stream(const std::string& songId) const {
    if (!isLocalSongId(songId)) return api_.fetchSongStream(songId);
    const std::string path = localPath(songId);
    return {path.empty() ? "null" : path};
}

StreamSource SongLookup::source(const std::string& songId, const SongStream& address) {
    return isLocalSongId(songId) ? StreamSource::fromFile(address.url) : StreamSource::fromUrl(address.url);
}

SongDetail SongLookup::detail(const std::string& songId) const {
    if (!isLocalSongId(songId)) return api_.fetchSongDetail(songId);
    const std::string index = localIndex();
    const std::optional<LocalSong> song = index.empty() ? std::nullopt : findLocalSong(index, songId);
    if (!song) return {};
    return {song->title, song->artists, {}, "0", song->album};
}

std::string SongLookup::cover(const std::string& songId, const SongDetail& detail) const {
    if (!isLocalSongId(songId)) return api_.fetchPicture(detail.coverUrl);
    const std::string path = localPath(songId);
    return path.empty() ? std::string() : readEmbeddedCover(path);
}

std::string SongLookup::rawLyric(const std::string& songId) const {
    if (!isLocalSongId(songId)) return api_.fetchRawLyric(songId);
    return lyric(songId).lyric;
}

SongLyrics SongLookup::lyric(const std::string& songId) const {
    if (!isLocalSongId(songId)) return api_.fetchSongLyrics(songId);
    const std::string path = localPath(songId);
    if (path.empty()) return {};
    LrcLyrics lyrics = lyricsBeside(path);
    return {std::move(lyrics.lyric), std::move(lyrics.translation), {}};
}

bool SongLookup::isAvailable(const std::string& songId) const {
    if (!isLocalSongId(songId)) return api_.checkSong(songId, serviceCookie_);
    return !localPath(songId).empty();
}
