#pragma once
// One song's download from start to end, run on a background task: the
// stream URL, the transfer into a scratch file in the download folder, the
// tags, and the rename to the song's own name once everything is complete.
// A quit, a crash or a failure part-way therefore never leaves a truncated
// song under a song's name; scratch files are hidden ".part" files. A song
// whose audio was kept when it was played is copied from there instead of
// fetched again, and a song of the user's own is a copy of its file.
#include <atomic>
#include <string>

class CloudApiClient;
class PlayedAudioCache;

// What the user asked to download: the song shown when the download was
// asked for, with its title and artists as the play bar showed them.
struct DownloadRequest {
    std::string songId;
    std::string artist;
    std::string title;
};

struct DownloadResult {
    bool complete = false;
    std::string filePath;  // where the song was saved, when complete
};

// Downloads `song` into `folder` (created when missing) on the calling
// thread. `percentage` goes up from 0 to 99 as bytes arrive and is 100 once
// the song is in place. Fails, leaving nothing behind, when the service names
// no stream, the answer is an HTTP error, the transfer breaks off, a file
// cannot be written, or the task running the job is asked to stop. Tags that
// cannot be written leave the song as it was sent. With `played`, a song
// kept there in the quality asked for now is copied from it.
DownloadResult downloadSong(const CloudApiClient& api, const DownloadRequest& song, const std::string& folder,
                            std::atomic<int>& percentage, const PlayedAudioCache* played = nullptr);

// Copies the user's own song `song` (its id from localSongId), found in the
// local index at `indexPath`, into `folder` (created when missing) under the
// name localSongFileName gives, as it is, with its `.lrc` file beside it
// where it has one. `percentage` as downloadSong's. Fails, leaving nothing
// behind, when the index has no such song, its file cannot be read, the copy
// cannot be written or the task is asked to stop; lyrics that cannot be
// copied leave the song without them.
DownloadResult copyLocalSong(const DownloadRequest& song, const std::string& indexPath, const std::string& folder,
                             std::atomic<int>& percentage);
