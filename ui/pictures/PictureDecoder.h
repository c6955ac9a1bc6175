#pragma once
// Decodes the PNG and JPEG pictures the service and the QR-image host deliver.
#include <QImage>
#include <QSize>
#include <string_view>

// The picture in `bytes`, or a null image for empty, unknown, damaged or
// absurdly large pictures. A JPEG much larger than `targetPixels` (device
// pixels; empty: full size) is decoded at a reduced scale that still covers
// the target. Safe on any thread.
QImage decodePicture(std::string_view bytes, QSize targetPixels = {});
