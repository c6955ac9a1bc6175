#include "local/LocalIndex.h"

#include <sqlite3.h>

#include <filesystem>

namespace {

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

Statement prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) return nullptr;
    return Statement(statement);
}

void bindText(sqlite3_stmt* statement, int index, const std::string& text) {
    sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

std::string columnText(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, column))) : std::string();
}

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS files (
  path TEXT PRIMARY KEY,
  song_id TEXT NOT NULL,
  size INTEGER NOT NULL,
  modified_ns INTEGER NOT NULL,
  readable INTEGER NOT NULL,
  title TEXT NOT NULL DEFAULT '',
  artists TEXT NOT NULL DEFAULT '',
  album TEXT NOT NULL DEFAULT '',
  duration_ms INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS files_song_id ON files(song_id);
)";

constexpr const char* kSongColumns = "song_id, path, title, artists, album, duration_ms, size, modified_ns";

LocalSong songOf(sqlite3_stmt* row) {
    LocalSong song;
    song.songId = columnText(row, 0);
    song.path = columnText(row, 1);
    song.title = columnText(row, 2);
    song.artists = columnText(row, 3);
    song.album = columnText(row, 4);
    song.durationMs = sqlite3_column_int64(row, 5);
    song.size = sqlite3_column_int64(row, 6);
    song.modifiedNs = sqlite3_column_int64(row, 7);
    return song;
}

}  // namespace

LocalIndex::LocalIndex(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        return;
    }
    // A scan and the window read at once; a writer waits a while for the other.
    sqlite3_busy_timeout(db_, 5000);
    if (!exec("PRAGMA journal_mode=WAL;") || !exec("PRAGMA synchronous=NORMAL;") || !exec(kSchema)) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

LocalIndex::~LocalIndex() { sqlite3_close(db_); }

bool LocalIndex::exec(const char* sql) const {
    return db_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool LocalIndex::begin() { return exec("BEGIN IMMEDIATE;"); }

bool LocalIndex::commit() { return exec("COMMIT;"); }

std::vector<std::pair<std::string, LocalIndex::Seen>> LocalIndex::allSeen() const {
    std::vector<std::pair<std::string, Seen>> all;
    Statement statement = prepare(db_, "SELECT path, size, modified_ns, readable FROM files");
    while (statement && sqlite3_step(statement.get()) == SQLITE_ROW)
        all.emplace_back(columnText(statement.get(), 0),
                         Seen{sqlite3_column_int64(statement.get(), 1), sqlite3_column_int64(statement.get(), 2),
                              sqlite3_column_int(statement.get(), 3) != 0});
    return all;
}

bool LocalIndex::putSong(const LocalSong& song) {
    Statement statement = prepare(db_,
                                  "INSERT OR REPLACE INTO files (path, song_id, size, modified_ns, readable, title, "
                                  "artists, album, duration_ms) VALUES (?, ?, ?, ?, 1, ?, ?, ?, ?)");
    if (!statement) return false;
    bindText(statement.get(), 1, song.path);
    bindText(statement.get(), 2, localSongId(song.path));
    sqlite3_bind_int64(statement.get(), 3, song.size);
    sqlite3_bind_int64(statement.get(), 4, song.modifiedNs);
    bindText(statement.get(), 5, song.title);
    bindText(statement.get(), 6, song.artists);
    bindText(statement.get(), 7, song.album);
    sqlite3_bind_int64(statement.get(), 8, song.durationMs);
    return sqlite3_step(statement.get()) == SQLITE_DONE;
}

bool LocalIndex::putUnreadable(const std::string& path, std::int64_t size, std::int64_t modifiedNs) {
    Statement statement = prepare(
        db_, "INSERT OR REPLACE INTO files (path, song_id, size, modified_ns, readable) VALUES (?, ?, ?, ?, 0)");
    if (!statement) return false;
    bindText(statement.get(), 1, path);
    bindText(statement.get(), 2, localSongId(path));
    sqlite3_bind_int64(statement.get(), 3, size);
    sqlite3_bind_int64(statement.get(), 4, modifiedNs);
    return sqlite3_step(statement.get()) == SQLITE_DONE;
}

bool LocalIndex::remove(const std::string& path) {
    Statement statement = prepare(db_, "DELETE FROM files WHERE path = ?");
    if (!statement) return false;
    bindText(statement.get(), 1, path);
    return sqlite3_step(statement.get()) == SQLITE_DONE;
}

std::vector<LocalSong> LocalIndex::querySongs(const char* sql, const std::string& parameter) const {
    std::vector<LocalSong> songs;
    Statement statement = prepare(db_, sql);
    if (!statement) return songs;
    if (sqlite3_bind_parameter_count(statement.get()) > 0) bindText(statement.get(), 1, parameter);
    while (sqlite3_step(statement.get()) == SQLITE_ROW) songs.push_back(songOf(statement.get()));
    return songs;
}

std::vector<LocalSong> LocalIndex::songs() const {
    static const std::string sql =
        std::string("SELECT ") + kSongColumns + " FROM files WHERE readable = 1 ORDER BY title COLLATE NOCASE, path";
    return querySongs(sql.c_str(), {});
}

std::vector<LocalSong> LocalIndex::search(const std::string& keyword) const {
    if (keyword.empty()) return {};
    // The keyword is matched as plain text: LIKE's wildcards in it are escaped.
    std::string pattern = "%";
    for (char c : keyword) {
        if (c == '%' || c == '_' || c == '\\') pattern += '\\';
        pattern += c;
    }
    pattern += '%';
    static const std::string sql = std::string("SELECT ") + kSongColumns +
                                   " FROM files WHERE readable = 1 AND (title LIKE ?1 ESCAPE '\\' OR artists LIKE ?1 "
                                   "ESCAPE '\\' OR album LIKE ?1 ESCAPE '\\') ORDER BY title COLLATE NOCASE, path";
    return querySongs(sql.c_str(), pattern);
}

std::optional<LocalSong> LocalIndex::song(const std::string& songId) const {
    static const std::string sql =
        std::string("SELECT ") + kSongColumns + " FROM files WHERE readable = 1 AND song_id = ? LIMIT 1";
    std::vector<LocalSong> found = querySongs(sql.c_str(), songId);
    if (found.empty()) return std::nullopt;
    return found.front();
}

std::vector<std::string> LocalIndex::unreadable() const {
    std::vector<std::string> paths;
    Statement statement = prepare(db_, "SELECT path FROM files WHERE readable = 0 ORDER BY path");
    while (statement && sqlite3_step(statement.get()) == SQLITE_ROW) paths.push_back(columnText(statement.get(), 0));
    return paths;
}

std::string LocalIndex::integrityCheck() const {
    Statement statement = prepare(db_, "PRAGMA integrity_check");
    if (!statement || sqlite3_step(statement.get()) != SQLITE_ROW) return "not open";
    return columnText(statement.get(), 0);
}
