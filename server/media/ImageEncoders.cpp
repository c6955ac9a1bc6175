#include "server/media/ImageEncoders.h"

#include <png.h>
#include <turbojpeg.h>

#include <stdexcept>

namespace {

void appendToString(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), length);
}

void flushNothing(png_structp) {}

// Runs the libpng calls; returns false when libpng reported an error. Kept
// free of objects with destructors because libpng leaves it by longjmp.
bool writePng(png_structp png, png_infop info, const Canvas& canvas, std::string* out) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, appendToString, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(canvas.width()), static_cast<png_uint_32>(canvas.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::uint8_t* rows = canvas.pixels().data();
    const std::size_t stride = static_cast<std::size_t>(canvas.width()) * 3;
    for (int y = 0; y < canvas.height(); ++y) {
        png_write_row(png, const_cast<png_bytep>(rows + stride * y));
    }
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

std::string encodePng(const Canvas& canvas) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) throw std::runtime_error("libpng: cannot create a writer");
    png_infop info = png_create_info_struct(png);
    std::string out;
    const bool written = info && writePng(png, info, canvas, &out);
    png_destroy_write_struct(&png, &info);
    if (!written) throw std::runtime_error("libpng: encoding failed");
    return out;
}

std::string encodeJpeg(const Canvas& canvas, int quality) {
    tjhandle handle = tjInitCompress();
    if (!handle) throw std::runtime_error("turbojpeg: cannot create a compressor");
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int failed = tjCompress2(handle, canvas.pixels().data(), canvas.width(), 0, canvas.height(), TJPF_RGB, &jpeg,
                                   &size, TJSAMP_420, quality, 0);
    std::string out;
    if (!failed) out.assign(reinterpret_cast<const char*>(jpeg), size);
    tjFree(jpeg);
    tjDestroy(handle);
    if (failed) throw std::runtime_error("turbojpeg: encoding failed");
    return out;
}
