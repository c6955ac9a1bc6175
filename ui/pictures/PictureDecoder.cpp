#include "ui/pictures/PictureDecoder.h"

#include <png.h>
#include <turbojpeg.h>

#include <cstring>
#include <memory>

namespace {

// Pictures above this many pixels are refused rather than allocated; the
// largest covers the service sends are a few megapixels.
constexpr long long kMaxPixels = 50'000'000;

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() && std::memcmp(bytes.data(), prefix.data(), prefix.size()) == 0;
}

bool tooLarge(long long width, long long height) { return width <= 0 || height <= 0 || width * height > kMaxPixels; }

QImage decodePng(std::string_view bytes) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return {};
    if (tooLarge(image.width, image.height)) {
        png_image_free(&image);
        return {};
    }
    image.format = PNG_FORMAT_RGBA;
    QImage result(int(image.width), int(image.height), QImage::Format_RGBA8888);
    if (result.isNull()) {
        png_image_free(&image);
        return {};
    }
    // finish_read releases the decoder whether it succeeds or not.
    if (!png_image_finish_read(&image, nullptr, result.bits(), result.bytesPerLine(), nullptr)) return {};
    return result;
}

struct JpegHandleCloser {
    void operator()(void* handle) const { tjDestroy(handle); }
};

// The smallest of the decoder's scales whose result still covers `target`.
tjscalingfactor reducedScale(int width, int height, QSize target) {
    tjscalingfactor best{1, 1};
    if (target.isEmpty()) return best;
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    for (int i = 0; factors && i < count; ++i) {
        const tjscalingfactor f = factors[i];
        const int w = TJSCALED(width, f), h = TJSCALED(height, f);
        if (w >= target.width() && h >= target.height() && w < TJSCALED(width, best)) best = f;
    }
    return best;
}

QImage decodeJpeg(std::string_view bytes, QSize target) {
    std::unique_ptr<void, JpegHandleCloser> handle(tjInitDecompress());
    if (!handle) return {};
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handle.get(), data, bytes.size(), &width, &height, &subsampling, &colorspace) != 0)
        return {};
    if (tooLarge(width, height)) return {};
    const tjscalingfactor scale = reducedScale(width, height, target);
    QImage result(TJSCALED(width, scale), TJSCALED(height, scale), QImage::Format_RGBX8888);
    if (result.isNull()) return {};
    // A cut-off or slightly damaged file still gives a picture (the decoder
    // reports a warning and draws what arrived). Where a later error stops
    // it early, the rows it did not reach show grey, not stale memory.
    result.fill(QColor(0xEE, 0xEE, 0xEE));
    if (tjDecompress2(handle.get(), data, bytes.size(), result.bits(), result.width(), result.bytesPerLine(),
                      result.height(), TJPF_RGBX, 0) != 0 &&
        tjGetErrorCode(handle.get()) != TJERR_WARNING) {
        return {};
    }
    return result;
}

}  // namespace

QImage decodePicture(std::string_view bytes, QSize targetPixels) {
    if (startsWith(bytes, "\x89PNG\r\n\x1a\n")) return decodePng(bytes);
    if (startsWith(bytes, "\xff\xd8\xff")) return decodeJpeg(bytes, targetPixels);
    return {};
}
