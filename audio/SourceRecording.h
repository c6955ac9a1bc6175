#pragma once
// The bytes of one network source, kept as a stream reads them: each piece is
// written at its place in a scratch file of a disk cache's folder, and the
// pieces written so far are remembered, so a seek back reads them from the
// file instead of the network. Once every byte of the source is in (its
// size must be known), the file is handed to the cache as the entry of its
// key. A recording dropped before that removes its scratch file, so a song
// cut short is never kept, and a crash leaves only a scratch file that no
// reader takes for an entry.
//
// Threads: used by one decode thread at a time (a stream's reopenings share
// the recording, one after another); nothing inside locks.
#include <cstdint>
#include <map>
#include <memory>
#include <string>

class DiskCache;

class SourceRecording {
public:
    // Scratch files of recordings end in this, so a cache cleaning its
    // folder can tell them.
    static constexpr const char* kScratchSuffix = ".part";

    SourceRecording(std::shared_ptr<DiskCache> cache, std::string key);
    ~SourceRecording();
    SourceRecording(const SourceRecording&) = delete;
    SourceRecording& operator=(const SourceRecording&) = delete;

    // The source's whole size in bytes, once known (needed before anything is kept).
    void setSize(int64_t bytes);
    int64_t size() const { return size_; }

    // How many bytes from `position` on are in the file without a break (0 when none).
    int64_t keptFrom(int64_t position) const;
    // Where the next kept piece after `position` starts; -1 when none does.
    int64_t nextKeptAfter(int64_t position) const;
    // Reads `count` kept bytes at `position`; false when the file fails.
    bool read(int64_t position, uint8_t* out, int64_t count) const;
    // Keeps the bytes the source gave at `position`. A write that fails
    // (a full disk) ends the recording: nothing is kept then.
    void write(int64_t position, const uint8_t* bytes, int64_t count);
    // Every byte is in and the cache holds the entry.
    bool complete() const { return adopted_; }

private:
    // Hands the file to the cache once the pieces cover the whole source.
    void adoptWhenWhole();

    const std::shared_ptr<DiskCache> cache_;
    const std::string key_;
    std::string scratchPath_;
    int fd_ = -1;          // open for the recording's whole life, also after adoption
    bool failed_ = false;  // nothing more is written or kept
    bool adopted_ = false;
    int64_t size_ = -1;
    std::map<int64_t, int64_t> pieces_;  // kept byte ranges, start -> end, none touching another
};
