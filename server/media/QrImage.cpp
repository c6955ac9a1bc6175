#include "server/media/QrImage.h"

#include <qrencode.h>

#include <algorithm>
#include <memory>

#include "server/media/Canvas.h"
#include "server/media/ImageEncoders.h"

std::optional<std::string> renderQrPng(const std::string& text, int size) {
    std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(text.c_str(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), QRcode_free);
    if (!code) return std::nullopt;

    const int modules = code->width;
    constexpr int kQuietZone = 4;  // modules of white around the symbol
    const int span = modules + 2 * kQuietZone;
    // Whole pixels per module keep the modules crisp; the rest is margin.
    const int modulePixels = std::max(1, size / span);
    const int canvasSize = std::max(size, modulePixels * span);
    const int origin = (canvasSize - modulePixels * modules) / 2;

    Canvas canvas(canvasSize, canvasSize, {255, 255, 255});
    for (int y = 0; y < modules; ++y) {
        for (int x = 0; x < modules; ++x) {
            if (code->data[y * modules + x] & 1) {
                canvas.fillRect(origin + x * modulePixels, origin + y * modulePixels, modulePixels, modulePixels,
                                {0, 0, 0});
            }
        }
    }
    return encodePng(canvas);
}
