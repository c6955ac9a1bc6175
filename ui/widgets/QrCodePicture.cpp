#include "ui/widgets/QrCodePicture.h"

#include <qrencode.h>
#include <QPainter>
#include <memory>

namespace {

constexpr int kQuietModules = 4;  // the white border the code's readers expect

}  // namespace

QImage drawQrCode(const std::string& text, int size) {
    if (text.empty() || size <= 0) return {};
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeData(int(text.size()), reinterpret_cast<const unsigned char*>(text.data()), 0, QR_ECLEVEL_M),
        &QRcode_free);
    if (!code) return {};
    const int modules = code->width;
    const int span = modules + 2 * kQuietModules;
    if (span > size) return {};
    // Whole pixels per module keep the edges sharp; what is left over is
    // shared out as extra border.
    const int modulePixels = size / span;
    const int offset = (size - modulePixels * modules) / 2;
    QImage picture(size, size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    for (int y = 0; y < modules; ++y) {
        for (int x = 0; x < modules; ++x) {
            // The lowest bit of each module says whether it is dark.
            if (code->data[y * modules + x] & 1)
                painter.fillRect(offset + x * modulePixels, offset + y * modulePixels, modulePixels, modulePixels,
                                 Qt::black);
        }
    }
    return picture;
}
