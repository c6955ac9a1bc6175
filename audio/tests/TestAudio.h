#pragma once
// Test audio made with the ffmpeg command, once per test process, in a
// temporary folder removed at exit.
#include <string>

namespace TestAudio {

// The lavfi expression of a full-scale sine at `hertz`.
std::string sine(double hertz);

// Encodes `seconds` of audio at `sampleRate` whose channels follow the lavfi
// expressions `channelExpressions` ('|' between channels), with the ffmpeg
// arguments `codec` (for example "-c:a flac"), into a file named `name`
// (whose extension picks the container). Returns the file's path; a second
// call with the same name returns the same file.
std::string make(const std::string& name, const std::string& channelExpressions, int sampleRate, double seconds,
                 const std::string& codec);

std::string readFile(const std::string& path);

}  // namespace TestAudio
