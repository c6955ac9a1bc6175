#include "server/media/Canvas.h"

#include <algorithm>
#include <cmath>

Rgb colourFromHsv(double hue, double saturation, double value) {
    hue -= std::floor(hue);
    const double h = hue * 6.0;
    const int sector = static_cast<int>(h) % 6;
    const double f = h - std::floor(h);
    const double p = value * (1.0 - saturation);
    const double q = value * (1.0 - saturation * f);
    const double t = value * (1.0 - saturation * (1.0 - f));
    double r = value, g = t, b = p;
    switch (sector) {
        case 0:
            r = value;
            g = t;
            b = p;
            break;
        case 1:
            r = q;
            g = value;
            b = p;
            break;
        case 2:
            r = p;
            g = value;
            b = t;
            break;
        case 3:
            r = p;
            g = q;
            b = value;
            break;
        case 4:
            r = t;
            g = p;
            b = value;
            break;
        default:
            r = value;
            g = p;
            b = q;
            break;
    }
    auto byte = [](double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 1.0) * 255.0 + 0.5); };
    return {byte(r), byte(g), byte(b)};
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      pixels_(static_cast<std::size_t>(width_) * height_ * 3) {
    fillRect(0, 0, width_, height_, fill);
}

Rgb Canvas::pixel(int x, int y) const {
    const std::size_t at = (static_cast<std::size_t>(y) * width_ + x) * 3;
    return {pixels_[at], pixels_[at + 1], pixels_[at + 2]};
}

void Canvas::fillRect(int left, int top, int width, int height, Rgb colour) {
    const int x0 = std::max(left, 0), y0 = std::max(top, 0);
    const int x1 = std::min(left + width, width_), y1 = std::min(top + height, height_);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const std::size_t at = (static_cast<std::size_t>(y) * width_ + x) * 3;
            pixels_[at] = colour.r;
            pixels_[at + 1] = colour.g;
            pixels_[at + 2] = colour.b;
        }
    }
}

void Canvas::fillVerticalGradient(Rgb top, Rgb bottom) {
    for (int y = 0; y < height_; ++y) {
        const double t = height_ > 1 ? static_cast<double>(y) / (height_ - 1) : 0.0;
        auto mix = [t](std::uint8_t a, std::uint8_t b) { return static_cast<std::uint8_t>(a + (b - a) * t + 0.5); };
        fillRect(0, y, width_, 1, {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b)});
    }
}

void Canvas::blendDisc(double centreX, double centreY, double radius, Rgb colour, double opacity) {
    const int x0 = static_cast<int>(std::floor(centreX - radius));
    const int x1 = static_cast<int>(std::ceil(centreX + radius));
    const int y0 = static_cast<int>(std::floor(centreY - radius));
    const int y1 = static_cast<int>(std::ceil(centreY + radius));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const double dx = x + 0.5 - centreX, dy = y + 0.5 - centreY;
            // One pixel of soft edge keeps the circle from looking jagged.
            const double coverage = std::clamp(radius - std::sqrt(dx * dx + dy * dy) + 0.5, 0.0, 1.0);
            if (coverage > 0.0) blendPixel(x, y, colour, opacity * coverage);
        }
    }
}

void Canvas::blendPixel(int x, int y, Rgb colour, double opacity) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const std::size_t at = (static_cast<std::size_t>(y) * width_ + x) * 3;
    auto mix = [opacity](std::uint8_t under, std::uint8_t over) {
        return static_cast<std::uint8_t>(under + (over - under) * opacity + 0.5);
    };
    pixels_[at] = mix(pixels_[at], colour.r);
    pixels_[at + 1] = mix(pixels_[at + 1], colour.g);
    pixels_[at + 2] = mix(pixels_[at + 2], colour.b);
}
