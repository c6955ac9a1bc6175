#pragma once
// Listens waiting to be sent, per service, kept on disk so they survive a
// restart and a time offline. Every change replaces the file atomically
// (a process ending midway leaves the file before or after the change, not
// half of it), and entries leave it only once their service took them, so
// they go out in order and none goes twice.
//
// Threads: not thread-safe; the scrobbler uses it from one thread at a time
// (its UI thread; a send task gets copies and hands back what was sent).
#include "scrobble/Listen.h"

#include <cstdint>
#include <string>
#include <vector>

class ScrobbleQueue {
public:
    struct Entry {
        std::uint64_t id = 0;  // unique within the file
        ScrobbleService service = ScrobbleService::ListenBrainz;
        Listen listen;
    };

    // Loads the queue kept at `path`; a missing or unreadable file is an
    // empty queue (an unreadable one is kept aside as "<path>.broken").
    explicit ScrobbleQueue(std::string path);

    // Appends and writes the file; false when it could not be written (the
    // entry is kept in memory and written with the next change).
    bool push(ScrobbleService service, const Listen& listen);
    // The oldest entries of `service`, at most `count`, oldest first.
    std::vector<Entry> front(ScrobbleService service, size_t count) const;
    // Removes the entries with these ids and writes the file.
    bool remove(const std::vector<std::uint64_t>& ids);
    // Drops every entry of `service` (it was switched off) and writes the file.
    bool clear(ScrobbleService service);

    size_t size() const { return entries_.size(); }
    size_t size(ScrobbleService service) const;

private:
    bool save() const;

    std::string path_;
    std::vector<Entry> entries_;
    std::uint64_t nextId_ = 1;
};
