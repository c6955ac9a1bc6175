#pragma once
// Demo songs for the playback bench, made with the ffmpeg command in a
// temporary folder removed at exit: stretches of one long half-scale stereo
// tone, so songs cut from it join without a step when played in order, and
// music-like noise at a chosen level.
#include <string>

namespace DemoTones {

inline constexpr double kHertz = 441.7;  // not a whole number of cycles per second: cuts fall mid-cycle

// `seconds` of the tone from `from` seconds into it at `sampleRate`,
// encoded with the ffmpeg arguments `codec` into `name` (whose extension
// picks the container). Returns the file's path.
std::string make(const std::string& name, double from, double seconds, int sampleRate, const std::string& codec);

// `seconds` of pink noise with a tone on top at 44.1 kHz (as busy as music
// for a codec and a loudness meter), `gainDb` from its designed level, as a
// 192 kbps MP3 named `name`.
std::string makeMusic(const std::string& name, double seconds, double gainDb);

}  // namespace DemoTones
