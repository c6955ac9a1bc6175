#include "TestAudio.h"

#include "TempDir.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <sstream>
#include <stdexcept>

namespace TestAudio {

std::string sine(double hertz) {
    std::ostringstream expression;
    expression.precision(12);
    expression << "sin(2*PI*" << hertz << "*t)";
    return expression.str();
}

std::string make(const std::string& name, const std::string& channelExpressions, int sampleRate, double seconds,
                 const std::string& codec) {
    static TempDir folder;
    static std::map<std::string, std::string> made;
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    if (const auto found = made.find(name); found != made.end()) return found->second;

    const std::string path = folder.file(name);
    std::ostringstream command;
    command << "ffmpeg -nostdin -loglevel error -y -f lavfi -i \"aevalsrc=exprs='" << channelExpressions
            << "':s=" << sampleRate << ":d=" << seconds << "\" " << codec << " '" << path << "'";
    if (std::system(command.str().c_str()) != 0) throw std::runtime_error("ffmpeg failed: " + command.str());
    made.emplace(name, path);
    return path;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace TestAudio
