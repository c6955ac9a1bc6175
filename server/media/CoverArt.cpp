#include "server/media/CoverArt.h"

#include <algorithm>

#include "server/media/BitmapFont.h"

namespace {

// A small deterministic generator, so the same picture always looks the same.
class Lcg {
public:
    explicit Lcg(unsigned seed) : state_(seed * 2654435761u + 1u) {}
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) / static_cast<double>(1u << 24);
    }

private:
    unsigned state_;
};

// The largest whole scale at which `text` fits into `maxWidth` and `maxGlyphHeight`.
int fittingScale(const std::string& text, double maxWidth, double maxGlyphHeight) {
    const int unitWidth = std::max(BitmapFont::textWidth(text, 1), 1);
    const int byWidth = static_cast<int>(maxWidth / unitWidth);
    const int byHeight = static_cast<int>(maxGlyphHeight / BitmapFont::kGlyphHeight);
    return std::max(1, std::min(byWidth, byHeight));
}

void drawShadowedLine(Canvas& canvas, const std::string& text, int top, int scale, Rgb shadow) {
    const int left = (canvas.width() - BitmapFont::textWidth(text, scale)) / 2;
    const int offset = std::max(1, scale / 2);
    BitmapFont::drawText(canvas, text, left + offset, top + offset, scale, shadow);
    BitmapFont::drawText(canvas, text, left, top, scale, {255, 255, 255});
}

}  // namespace

Canvas drawCoverArt(const CoverArtStyle& style, int width, int height) {
    Canvas canvas(width, height);
    canvas.fillVerticalGradient(colourFromHsv(style.hue, 0.50, 0.95), colourFromHsv(style.hue + 0.07, 0.80, 0.50));

    Lcg random(style.seed);
    const double shortSide = std::min(width, height);
    for (int i = 0; i < 3; ++i) {
        const double x = random.next() * width, y = random.next() * height;
        const double radius = shortSide * (0.2 + 0.25 * random.next());
        canvas.blendDisc(x, y, radius, {255, 255, 255}, 0.12 + 0.08 * random.next());
    }

    const int titleScale = fittingScale(style.title, width * 0.84, height * 0.18);
    const int subtitleScale = style.subtitle.empty() ? 0 : fittingScale(style.subtitle, width * 0.6, height * 0.36);
    const int gap = subtitleScale ? 3 * titleScale : 0;
    const int blockHeight = BitmapFont::kGlyphHeight * (titleScale + subtitleScale) + gap;
    const int top = (height - blockHeight) / 2;
    const Rgb shadow = colourFromHsv(style.hue, 0.8, 0.25);
    drawShadowedLine(canvas, style.title, top, titleScale, shadow);
    if (subtitleScale) {
        drawShadowedLine(canvas, style.subtitle, top + BitmapFont::kGlyphHeight * titleScale + gap, subtitleScale,
                         shadow);
    }
    return canvas;
}
