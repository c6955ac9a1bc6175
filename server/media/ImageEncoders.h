#pragma once
// Encodes a canvas as PNG (libpng) or JPEG (libjpeg-turbo) file bytes.
#include <string>

#include "server/media/Canvas.h"

std::string encodePng(const Canvas& canvas);
std::string encodeJpeg(const Canvas& canvas, int quality = 88);
