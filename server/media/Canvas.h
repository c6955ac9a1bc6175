#pragma once
// An RGB picture in memory with the few drawing operations the generated
// covers, avatars, banners and QR codes need.
#include <cstdint>
#include <vector>

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

// A colour from hue (0..1, wraps), saturation and value (0..1).
Rgb colourFromHsv(double hue, double saturation, double value);

class Canvas {
public:
    Canvas(int width, int height, Rgb fill = {255, 255, 255});

    int width() const { return width_; }
    int height() const { return height_; }
    // Rows top to bottom, three bytes per pixel.
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }
    Rgb pixel(int x, int y) const;

    void fillRect(int left, int top, int width, int height, Rgb colour);
    void fillVerticalGradient(Rgb top, Rgb bottom);
    // Mixes `colour` over the pixels inside the circle with the given opacity.
    void blendDisc(double centreX, double centreY, double radius, Rgb colour, double opacity);

private:
    void blendPixel(int x, int y, Rgb colour, double opacity);

    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};
