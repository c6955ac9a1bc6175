#pragma once
// The index of the user's song files: an SQLite database file holding, per
// file, its size and modification time as last seen and what its tags say,
// or that it could not be read. Writes go in transactions the caller
// brackets (begin/commit), so a process killed mid-scan keeps every batch
// committed before; the database runs in write-ahead-log mode, so one
// connection may read while another writes.
//
// Threads: one connection is used by one thread at a time; open one per
// thread (the scan task has its own, the UI thread another).
#include "local/LocalSong.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

class LocalIndex {
public:
    // What the index knew of a file when it was last seen.
    struct Seen {
        std::int64_t size = 0;
        std::int64_t modifiedNs = 0;
        bool readable = true;
    };

    // Opens (creating when missing, with its folder) the index at `path`;
    // isOpen() is false when that failed.
    explicit LocalIndex(const std::string& path);
    ~LocalIndex();
    LocalIndex(const LocalIndex&) = delete;
    LocalIndex& operator=(const LocalIndex&) = delete;

    bool isOpen() const { return db_ != nullptr; }

    bool begin();
    bool commit();

    // Every indexed path with what was seen of it.
    std::vector<std::pair<std::string, Seen>> allSeen() const;
    // Records a readable song (its id is made from its path).
    bool putSong(const LocalSong& song);
    // Records a file that could not be read, so it is not read again while unchanged.
    bool putUnreadable(const std::string& path, std::int64_t size, std::int64_t modifiedNs);
    bool remove(const std::string& path);

    // Readable songs, by title then path.
    std::vector<LocalSong> songs() const;
    // Songs whose title, artists or album hold `keyword` (ignoring case).
    std::vector<LocalSong> search(const std::string& keyword) const;
    std::optional<LocalSong> song(const std::string& songId) const;
    // Paths of the files indexed as unreadable.
    std::vector<std::string> unreadable() const;

    // SQLite's own check of the file ("ok" when sound).
    std::string integrityCheck() const;

private:
    bool exec(const char* sql) const;
    std::vector<LocalSong> querySongs(const char* sql, const std::string& parameter) const;

    sqlite3* db_ = nullptr;
};
