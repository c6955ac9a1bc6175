#pragma once
// The service's song records: the detail form (song/detail, playlist tracks),
// the play privileges that go with it, the song-search form and the member
// of a song-URL answer.
#include "server/json/JsonContext.h"
#include "server/media/MediaLibrary.h"

Json songJson(const JsonContext& context, const Song& song);
Json privilegeJson(const Song& song);
Json songSearchJson(const JsonContext& context, const Song& song);

// The stream a song-URL request gets: MP3 unless a lossless level is asked
// for, or the song is FLAC by default and no level is asked for.
struct StreamChoice {
    AudioFormat format;
    std::string level;      // the level the answer reports
    std::string extension;  // "mp3" or "flac"
};
StreamChoice chooseStream(const Song& song, const std::string& requestedLevel);

// A member of the song-URL answer's "data"; url null when the song has no
// stream or its file is missing.
Json songUrlJson(const JsonContext& context, const Song& song, const StreamChoice& choice, const MediaFile* file);
