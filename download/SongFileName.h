#pragma once
// The name a downloaded song is saved under: "artist-title" with the
// extension its stream URL suggests (or a song file of the user's own has), made safe as one file name in the
// download folder, whatever the service's texts hold and wherever the folder
// lives (a shared drive included).
#include <string>
#include <string_view>

// Longest file name most file systems take, in bytes.
inline constexpr size_t kMaxFileNameBytes = 255;

// ".flac" when the stream URL contains "flac" (exact case), ".mp3" otherwise,
// whatever the stream really holds.
std::string songFileExtension(std::string_view streamUrl);

// artist + "-" + title + the extension `streamUrl` suggests, made safe.
std::string songFileName(const std::string& artist, const std::string& title, std::string_view streamUrl);

// The name a copy of the user's own song file at `songPath` is saved under:
// artist + "-" + title as a download's, with the file's own extension in
// lower case (none where it has no plain one), made safe.
std::string localSongFileName(const std::string& artist, const std::string& title, std::string_view songPath);

// `stem` + `extension` as a name that stays inside its folder: "/", "\",
// NUL, control characters and <>:"|?* in the stem become "_"; its leading and
// trailing dots and spaces go; a stem left empty becomes "_"; and the stem is
// cut at a UTF-8 character boundary so that the whole name fits
// kMaxFileNameBytes. The extension is kept as it is.
std::string safeFileName(std::string_view stem, std::string_view extension);
