#include "SongFiles.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

// Single quotes around a shell word, the quotes inside escaped.
std::string quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string codecFor(const std::string& name) {
    if (name.ends_with(".flac")) return "-c:a flac";
    if (name.ends_with(".ogg")) return "-c:a libvorbis";
    return "-c:a libmp3lame -b:a 64k -id3v2_version 3";
}

}  // namespace

void makeSongFiles(const std::string& folder, const std::vector<SongFileSpec>& songs) {
    std::ostringstream command;
    command << "ffmpeg -nostdin -loglevel error -y -f lavfi -i 'sine=frequency=440:sample_rate=22050:duration=30'"
            << " -f lavfi -i 'color=c=red:s=8x8:d=1'";
    for (const SongFileSpec& song : songs) {
        command << " -map 0:a -t " << song.seconds;
        if (song.withCover) command << " -map 1:v -frames:v 1 -c:v png -disposition:v attached_pic";
        command << " " << codecFor(song.name);
        if (!song.title.empty()) command << " -metadata title=" << quoted(song.title);
        if (!song.artist.empty()) command << " -metadata artist=" << quoted(song.artist);
        if (!song.album.empty()) command << " -metadata album=" << quoted(song.album);
        command << " " << quoted(folder + "/" + song.name);
    }
    command << " </dev/null";
    if (std::system(command.str().c_str()) != 0) throw std::runtime_error("ffmpeg failed: " + command.str());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}
