#include "server/media/FileResponse.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <memory>

namespace {

// A range the file can serve: a suffix of at least one byte, or a start
// inside the file.
bool satisfiable(const httplib::Range& range, std::uintmax_t size) {
    const auto [first, last] = range;
    if (first < 0) return last > 0 && size > 0;
    return static_cast<std::uintmax_t>(first) < size && (last < 0 || last >= first);
}

}  // namespace

void sendFile(const httplib::Request& request, httplib::Response& response, const MediaFile& file,
              const std::string& contentType) {
    for (const httplib::Range& range : request.ranges) {
        if (!satisfiable(range, file.size)) {
            response.status = 416;
            response.set_header("Content-Range", "bytes */" + std::to_string(file.size));
            return;
        }
    }
    auto stream = std::make_shared<std::ifstream>(file.path, std::ios::binary);
    if (!*stream) {
        response.status = 500;
        return;
    }
    response.set_header("Accept-Ranges", "bytes");
    response.set_content_provider(static_cast<std::size_t>(file.size), contentType,
                                  [stream](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                      std::array<char, 64 * 1024> buffer;
                                      stream->clear();
                                      stream->seekg(static_cast<std::streamoff>(offset));
                                      stream->read(buffer.data(),
                                                   static_cast<std::streamsize>(std::min(length, buffer.size())));
                                      const std::streamsize read = stream->gcount();
                                      if (read <= 0) return false;
                                      return sink.write(buffer.data(), static_cast<std::size_t>(read));
                                  });
}
