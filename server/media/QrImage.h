#pragma once
// A QR code of a text as a square PNG picture (libqrencode for the symbol).
#include <optional>
#include <string>

// The PNG bytes of a `size` x `size` picture of `text`'s QR code with its
// quiet zone; nothing when the text is too long for a QR code.
std::optional<std::string> renderQrPng(const std::string& text, int size);
