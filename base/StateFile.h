#pragma once
// Small files of the program's own state (what was played, where playing
// stopped, lyric offsets), kept in the data folder beside the settings: read
// whole, and replaced atomically (a scratch file renamed over the old one,
// so a crash leaves the old file or the new one, never a torn one), private
// to the user. Callable from any thread; two writers of one file must not
// overlap.
#include <string>

namespace StateFile {

// The file's bytes; empty when it is missing or cannot be read.
std::string read(const std::string& path);

// Replaces the file with `bytes`, creating its folder; false when nothing
// could be written (the old file then stays as it was).
bool write(const std::string& path, const std::string& bytes);

}  // namespace StateFile
