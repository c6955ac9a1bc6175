#include "DemoTones.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace DemoTones {

namespace {

// The folder the songs go to, removed when the bench ends.
struct Folder {
    std::filesystem::path path;
    Folder() {
        char pattern[] = "/tmp/mivra-playback-bench-XXXXXX";
        if (!mkdtemp(pattern)) std::exit(1);
        path = pattern;
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

// Runs ffmpeg with `arguments` (inputs, filters, codec) writing `name`; returns its path.
std::string encode(const std::string& name, const std::string& arguments) {
    static Folder folder;
    const std::string path = (folder.path / name).string();
    if (std::filesystem::exists(path)) return path;
    const std::string command = "ffmpeg -nostdin -loglevel error -y " + arguments + " '" + path + "'";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "ffmpeg failed: %s\n", command.c_str());
        std::exit(1);
    }
    return path;
}

}  // namespace

std::string make(const std::string& name, double from, double seconds, int sampleRate, const std::string& codec) {
    std::ostringstream tone;
    tone.precision(12);
    tone << "0.5*sin(2*PI*" << kHertz << "*(t+" << from << "))";
    std::ostringstream arguments;
    arguments << "-f lavfi -i \"aevalsrc=exprs='" << tone.str() << "|" << tone.str() << "':s=" << sampleRate
              << ":d=" << seconds << "\" " << codec;
    return encode(name, arguments.str());
}

std::string makeMusic(const std::string& name, double seconds, double gainDb) {
    std::ostringstream arguments;
    arguments << "-f lavfi -i anoisesrc=color=pink:amplitude=0.3:duration=" << seconds << ":sample_rate=44100"
              << " -f lavfi -i sine=frequency=440:duration=" << seconds << ":sample_rate=44100"
              << " -filter_complex \"[0][1]amix=inputs=2,volume=" << gainDb << "dB,pan=stereo|c0=c0|c1=c0\""
              << " -c:a libmp3lame -b:a 192k";
    return encode(name, arguments.str());
}

}  // namespace DemoTones
