#pragma once
// A QR code drawn here rather than fetched: used when the QR image host
// cannot be reached or answers with something that is not a picture.
#include <QImage>
#include <string>

// The QR code of `text` (UTF-8, byte mode, medium error correction) as a
// black-on-white square of `size` pixels with a quiet zone around it; a
// null image when the text cannot be encoded.
QImage drawQrCode(const std::string& text, int size);
