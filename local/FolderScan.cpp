#include "local/FolderScan.h"

#include "base/TaskStop.h"
#include "local/LocalIndex.h"
#include "local/SongTags.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <set>
#include <unordered_map>

namespace fs = std::filesystem;

namespace {

// Files looked at between commits and progress reports: small enough that a kill loses little, large
// enough that commits cost little.
constexpr int kBatchFiles = 64;

struct FoundFile {
    std::string path;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
};

std::string lowerExtension(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) return {};
    std::string extension = fileName.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

struct FoundFiles {
    std::vector<FoundFile> files;          // in path order
    std::vector<std::string> opened;       // the folders that could be entered, each ending in '/'
    std::vector<std::string> directories;  // every folder walked
};

std::string folderPrefix(const std::string& folder) {
    std::string prefix = fs::absolute(folder).lexically_normal().string();
    if (prefix.empty() || prefix.back() != '/') prefix += '/';
    return prefix;
}

// Every song file below the folders, each once. Folders that cannot be
// entered (a disk not mounted) are passed over.
FoundFiles findSongFiles(const std::vector<std::string>& folders) {
    std::set<std::string> seen;
    FoundFiles found;
    std::vector<FoundFile>& files = found.files;
    for (const std::string& folder : folders) {
        std::error_code error;
        fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
        if (!error) {
            found.opened.push_back(folderPrefix(folder));
            found.directories.push_back(fs::absolute(folder).lexically_normal().string());
        }
        for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            if (TaskStop::requested()) return found;
            std::error_code statError;
            if (it->is_directory(statError)) found.directories.push_back(it->path().string());
            if (!it->is_regular_file(statError) || !isSongFileName(it->path().filename().string())) continue;
            const std::string path = fs::absolute(it->path()).lexically_normal().string();
            if (!seen.insert(path).second) continue;
            const auto size = static_cast<std::int64_t>(it->file_size(statError));
            const auto modified = it->last_write_time(statError);
            if (statError) continue;
            files.push_back(
                {path, size,
                 std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count()});
        }
    }
    std::sort(files.begin(), files.end(), [](const FoundFile& a, const FoundFile& b) { return a.path < b.path; });
    return found;
}

bool isBelowAny(const std::string& path, const std::vector<std::string>& prefixes) {
    return std::any_of(prefixes.begin(), prefixes.end(), [&](const std::string& p) { return path.starts_with(p); });
}

LocalSong songOf(const FoundFile& file, SongTags tags) {
    LocalSong song;
    song.path = file.path;
    song.title = tags.title.empty() ? fs::path(file.path).stem().string() : std::move(tags.title);
    song.artists = std::move(tags.artists);
    song.album = std::move(tags.album);
    song.durationMs = tags.durationMs;
    song.size = file.size;
    song.modifiedNs = file.modifiedNs;
    return song;
}

}  // namespace

bool isSongFileName(const std::string& fileName) {
    static const std::array<std::string, 10> kExtensions = {"mp3", "flac", "ogg", "opus", "m4a",
                                                            "aac", "wav",  "wma", "ape",  "wv"};
    const std::string extension = lowerExtension(fileName);
    return std::find(kExtensions.begin(), kExtensions.end(), extension) != kExtensions.end();
}

ScanResult scanFolders(const std::vector<std::string>& folders, const std::string& indexPath,
                       const std::function<void(const ScanProgress&)>& progress) {
    ScanResult result;
    LocalIndex index(indexPath);
    if (!index.isOpen()) return result;

    const FoundFiles found = findSongFiles(folders);
    const std::vector<FoundFile>& files = found.files;
    if (TaskStop::requested()) return result;
    result.total = static_cast<int>(files.size());
    result.directories = found.directories;
    std::unordered_map<std::string, LocalIndex::Seen> indexed;
    for (auto& [path, seen] : index.allSeen()) indexed.emplace(std::move(path), seen);

    int done = 0;
    bool inTransaction = false;
    for (const FoundFile& file : files) {
        if (TaskStop::requested()) break;
        if (done > 0 && done % kBatchFiles == 0) {
            if (inTransaction) index.commit();
            inTransaction = false;
            if (progress) progress({done, result.total});
        }
        ++done;
        const auto seen = indexed.find(file.path);
        if (seen != indexed.end() && seen->second.size == file.size && seen->second.modifiedNs == file.modifiedNs) {
            ++result.unchanged;
            if (!seen->second.readable) result.unreadable.push_back(file.path);
            continue;
        }
        if (!inTransaction) inTransaction = index.begin();
        ++result.read;
        if (std::optional<SongTags> tags = readSongTags(file.path)) {
            index.putSong(songOf(file, std::move(*tags)));
        } else {
            index.putUnreadable(file.path, file.size, file.modifiedNs);
            result.unreadable.push_back(file.path);
        }
    }
    if (inTransaction) index.commit();
    if (TaskStop::requested()) {
        if (progress) progress({done, result.total});
        return result;
    }

    // Files gone from the folders, and those of folders no longer watched,
    // leave the index; those of a watched folder that could not be entered
    // stay until it can be.
    std::set<std::string> present;
    for (const FoundFile& file : files) present.insert(file.path);
    std::vector<std::string> watched;
    for (const std::string& folder : folders) watched.push_back(folderPrefix(folder));
    index.begin();
    for (const auto& [path, seen] : indexed) {
        if (present.count(path) || (isBelowAny(path, watched) && !isBelowAny(path, found.opened))) continue;
        index.remove(path);
        ++result.removed;
    }
    index.commit();
    result.finished = true;
    if (progress) progress({done, result.total});
    return result;
}
