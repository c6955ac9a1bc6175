#pragma once
// The program's INI settings file. Section and key names match without regard
// to ASCII case; values are UTF-8 in memory and GBK on disk. Every call reads
// or rewrites the file itself, so the file is always the one source of truth.
#include <string>

class AppSettings {
public:
    // Longest value a read returns, in bytes of the file's GBK text.
    static constexpr size_t kMaxValueBytes = 10239;

    explicit AppSettings(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    // The key's value, or `fallback` when the file, section or key is missing.
    // An empty path, section or key reads as the empty text.
    std::string read(const std::string& section, const std::string& key, const std::string& fallback = {}) const;

    // Sets the key, creating the file, section and key as needed and keeping
    // every other line. The file is replaced atomically and kept private to
    // the user. Returns false when nothing could be written.
    bool write(const std::string& section, const std::string& key, const std::string& value) const;

    // Writes the eight keys a first start begins with, in their fixed order.
    void writeDefaults() const;

    // Removes the scratch files of writes that never finished (the process
    // ended between writing one and renaming it over the file), leaving
    // those younger than a minute to writers that may still be at work.
    void removeAbandonedScratchFiles() const;

private:
    std::string path_;
};
