#pragma once
// Blurring pictures for backdrops: three box-blur passes along each axis,
// which together come very close to a Gaussian blur at a fraction of its cost.
#include <QImage>

// A blurred copy of `image` (premultiplied ARGB); each pass averages
// 2 × `radius` + 1 pixels, edges repeating their last pixel. A radius below
// 1 or a null image gives the image back unchanged.
QImage blurredImage(const QImage& image, int radius);
