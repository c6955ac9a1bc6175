#include "TestPictures.h"

#include <png.h>
#include <turbojpeg.h>

#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

void putBigEndian(std::string& bytes, size_t at, unsigned value, int length) {
    for (int i = 0; i < length; ++i) bytes[at + size_t(i)] = char((value >> (8 * (length - 1 - i))) & 0xFF);
}

unsigned crc32Of(const std::string& bytes, size_t from, size_t length) {
    unsigned crc = 0xFFFFFFFFu;
    for (size_t i = from; i < from + length; ++i) {
        crc ^= static_cast<unsigned char>(bytes[i]);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// `count` pixels of `colour`, red, green and blue bytes, then alpha when asked for.
std::vector<unsigned char> pixelsOf(int count, QColor colour, bool withAlpha) {
    std::vector<unsigned char> pixels;
    for (int i = 0; i < count; ++i) {
        pixels.insert(pixels.end(),
                      {static_cast<unsigned char>(colour.red()), static_cast<unsigned char>(colour.green()),
                       static_cast<unsigned char>(colour.blue())});
        if (withAlpha) pixels.push_back(static_cast<unsigned char>(colour.alpha()));
    }
    return pixels;
}

}  // namespace

QImage imageOf(QSize size, QColor colour) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

std::string pngOf(int width, int height, QColor colour) {
    std::vector<unsigned char> pixels = pixelsOf(width * height, colour, /*withAlpha=*/true);
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(width);
    image.height = png_uint_32(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr))
        throw std::runtime_error("png size");
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels.data(), 0, nullptr))
        throw std::runtime_error("png write");
    bytes.resize(size);
    return bytes;
}

std::string jpegOf(int width, int height, QColor colour) {
    std::vector<unsigned char> pixels = pixelsOf(width * height, colour, /*withAlpha=*/false);
    tjhandle handle = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (tjCompress2(handle, pixels.data(), width, 0, height, TJPF_RGB, &out, &size, TJSAMP_444, 90, 0) != 0)
        throw std::runtime_error("jpeg write");
    std::string bytes(reinterpret_cast<char*>(out), size);
    tjFree(out);
    tjDestroy(handle);
    return bytes;
}

std::string pngClaimingSize(const std::string& png, unsigned width, unsigned height) {
    std::string bytes = png;
    // Signature (8), IHDR length (4), "IHDR" at 12, width at 16, height at 20, CRC after 13 data bytes.
    putBigEndian(bytes, 16, width, 4);
    putBigEndian(bytes, 20, height, 4);
    putBigEndian(bytes, 29, crc32Of(bytes, 12, 17), 4);
    return bytes;
}

std::string jpegClaimingSize(const std::string& jpeg, unsigned width, unsigned height) {
    std::string bytes = jpeg;
    const size_t frame = bytes.find("\xff\xc0");
    if (frame == std::string::npos) throw std::runtime_error("no baseline frame header");
    // Marker (2), length (2), precision (1), then height and width.
    putBigEndian(bytes, frame + 5, height, 2);
    putBigEndian(bytes, frame + 7, width, 2);
    return bytes;
}
