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

}  // namespace

std::string make(const std::string& name, double from, double seconds, int sampleRate, const std::string& codec,
                 double gainDb) {
    static Folder folder;
    const std::string path = (folder.path / name).string();
    if (std::filesystem::exists(path)) return path;
    std::ostringstream tone;
    tone.precision(12);
    tone << 0.5 * std::pow(10.0, gainDb / 20.0) << "*sin(2*PI*" << kHertz << "*(t+" << from << "))";
    std::ostringstream command;
    command << "ffmpeg -nostdin -loglevel error -y -f lavfi -i \"aevalsrc=exprs='" << tone.str() << "|" << tone.str()
            << "':s=" << sampleRate << ":d=" << seconds << "\" " << codec << " '" << path << "'";
    if (std::system(command.str().c_str()) != 0) {
        std::fprintf(stderr, "ffmpeg failed: %s\n", command.str().c_str());
        std::exit(1);
    }
    return path;
}

}  // namespace DemoTones
