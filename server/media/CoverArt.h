#pragma once
// Draws the generated artwork of a catalogue picture: a gradient in the
// picture's own hue, a few soft circles and its caption in large letters, so
// that every cover, avatar and banner is told apart at a glance.
#include <string>

#include "server/media/Canvas.h"

struct CoverArtStyle {
    std::string title;     // first caption line, such as "ALBUM"
    std::string subtitle;  // second caption line, such as "7"
    double hue = 0.0;      // 0..1
    unsigned seed = 0;     // places the circles
};

Canvas drawCoverArt(const CoverArtStyle& style, int width, int height);
