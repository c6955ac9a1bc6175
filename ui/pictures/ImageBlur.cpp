#include "ui/pictures/ImageBlur.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr int kPasses = 3;

// One box pass over `count` pixels that lie `stride` pixels apart, starting
// at `first`; `scratch` holds a copy of the line being read.
void boxLine(QRgb* first, int count, int stride, int radius, std::vector<QRgb>& scratch) {
    scratch.resize(size_t(count));
    for (int i = 0; i < count; ++i) scratch[size_t(i)] = first[i * stride];
    auto at = [&](int i) { return scratch[size_t(std::clamp(i, 0, count - 1))]; };

    const int window = 2 * radius + 1;
    std::int64_t a = 0, r = 0, g = 0, b = 0;
    for (int i = -radius; i <= radius; ++i) {
        QRgb p = at(i);
        a += qAlpha(p), r += qRed(p), g += qGreen(p), b += qBlue(p);
    }
    // Rounded, not cut off: six passes of cutting off would darken the picture.
    auto mean = [window](std::int64_t sum) { return int((sum + window / 2) / window); };
    for (int i = 0; i < count; ++i) {
        first[i * stride] = qRgba(mean(r), mean(g), mean(b), mean(a));
        QRgb leaving = at(i - radius), entering = at(i + radius + 1);
        a += qAlpha(entering) - qAlpha(leaving);
        r += qRed(entering) - qRed(leaving);
        g += qGreen(entering) - qGreen(leaving);
        b += qBlue(entering) - qBlue(leaving);
    }
}

}  // namespace

QImage blurredImage(const QImage& image, int radius) {
    if (image.isNull() || radius < 1) return image;
    QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = out.width(), height = out.height();
    std::vector<QRgb> scratch;
    for (int pass = 0; pass < kPasses; ++pass) {
        for (int y = 0; y < height; ++y) boxLine(reinterpret_cast<QRgb*>(out.scanLine(y)), width, 1, radius, scratch);
        // Rows of a QImage are 4-byte aligned, so a 32-bit image's rows are
        // exactly `bytesPerLine / 4` pixels apart.
        const int stride = int(out.bytesPerLine() / sizeof(QRgb));
        QRgb* top = reinterpret_cast<QRgb*>(out.bits());
        for (int x = 0; x < width; ++x) boxLine(top + x, height, stride, radius, scratch);
    }
    return out;
}
