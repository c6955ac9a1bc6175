#pragma once
// Pictures made on the spot for the picture, list and view tests.
#include <QColor>
#include <QImage>
#include <string>

// An image of one colour (premultiplied ARGB).
QImage imageOf(QSize size, QColor colour);

// A PNG of one colour, alpha included.
std::string pngOf(int width, int height, QColor colour);
// A JPEG of one colour (quality 90, no subsampling).
std::string jpegOf(int width, int height, QColor colour);
// The same PNG with its header claiming another size (checksum fixed).
std::string pngClaimingSize(const std::string& png, unsigned width, unsigned height);
// The same JPEG with its frame header claiming another size.
std::string jpegClaimingSize(const std::string& jpeg, unsigned width, unsigned height);
