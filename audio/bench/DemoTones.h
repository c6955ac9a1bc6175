#pragma once
// Demo songs for the playback bench, made with the ffmpeg command in a
// temporary folder removed at exit: stretches of one long half-scale stereo
// tone, so songs cut from it join without a step when played in order.
#include <string>

namespace DemoTones {

inline constexpr double kHertz = 441.7;  // not a whole number of cycles per second: cuts fall mid-cycle

// `seconds` of the tone from `from` seconds into it at `sampleRate`, scaled
// by `gainDb`, encoded with the ffmpeg arguments `codec` into `name` (whose
// extension picks the container). Returns the file's path.
std::string make(const std::string& name, double from, double seconds, int sampleRate, const std::string& codec,
                 double gainDb = 0);

}  // namespace DemoTones
