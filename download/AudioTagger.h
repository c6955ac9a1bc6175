#pragma once
// Writes a song's tags into a downloaded MP3 or FLAC file with FFmpeg's
// muxers, copying the audio packet by packet without re-encoding, so the
// saved song shows its title, artists, album and cover in any other player.
#include <string>

struct SongTags {
    std::string title;
    std::string artist;
    std::string album;
    std::string picture;  // JPEG or PNG bytes; empty (or anything else): no picture
};

// Copies the audio of the file at `source` into a new file at `target` with
// `tags` in place of whatever tags it had: ID3v2 with an attached picture for
// MP3, Vorbis comments and a picture block for FLAC. False when `source`
// holds neither or anything fails; `target` may then hold a part, which the
// caller discards. Safe on any thread; one call uses only its own state.
bool writeTaggedCopy(const std::string& source, const std::string& target, const SongTags& tags);
